#pragma once

// What the benchmarks that time a first run in a fresh process share: the program starts itself as the child
// (with arguments of its own), the child times one run and prints the microseconds as the first number on
// its output, and the parent takes medians.

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace freshprocess {

// argv[0] of the benchmark program, set by its main before any child is started.
inline std::string& SelfPath() {
    static std::string path;
    return path;
}

// Starts the program with arguments and answers the child's first printed number in milliseconds (it
// prints microseconds), or nothing when it failed.
inline std::optional<double> RunChild(std::vector<std::string> arguments) {
    int out[2];
    if (pipe(out) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string self = SelfPath();
    std::vector<char*> argv{self.data()};
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[128];
    for (ssize_t got; spawned == 0 && (got = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(got));
    close(out[0]);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        text.empty())
        return std::nullopt;
    return std::strtod(text.c_str(), nullptr) / 1000.0;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace freshprocess
