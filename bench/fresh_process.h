#pragma once

// What the benchmarks that time a first run in a fresh process share: the program starts itself as the child
// (with arguments of its own), the child times one run and prints the microseconds as the first number on
// its output, and the parent takes medians. The child's instructions in the timed part are counted by
// running it once under callgrind, collecting only inside one named function.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
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

// Runs program (looked up on PATH) with argv and answers its standard output, or nothing when it could not
// run or did not exit with 0. Its error output is dropped.
inline std::optional<std::string> RunForOutput(std::vector<std::string> argv) {
    int out[2];
    if (pipe(out) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> pointers;
    for (std::string& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv.front().c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[128];
    for (ssize_t got; spawned == 0 && (got = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(got));
    close(out[0]);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

// Starts the program with arguments and answers the child's first printed number in milliseconds (it
// prints microseconds), or nothing when it failed.
inline std::optional<double> RunChild(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), SelfPath());
    // A relative program path is the program's, not one to look up on PATH.
    if (arguments.front().find('/') == std::string::npos)
        arguments.front().insert(0, "./");
    const std::optional<std::string> text = RunForOutput(std::move(arguments));
    if (!text || text->empty())
        return std::nullopt;
    return std::strtod(text->c_str(), nullptr) / 1000.0;
}

// The instructions the child executes inside the function whose name contains function (it must not be
// inlined), counted by callgrind in outFolder; nothing when valgrind is not installed or the run failed.
inline std::optional<double> CountChildInstructions(std::vector<std::string> arguments,
                                                    const std::string& function,
                                                    const std::string& outFolder) {
    const std::string outFile = outFolder + "/callgrind.out";
    std::vector<std::string> argv{"valgrind",
                                  "--tool=callgrind",
                                  "--callgrind-out-file=" + outFile,
                                  "--collect-atstart=no",
                                  "--toggle-collect=*" + function + "*",
                                  SelfPath()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    if (!RunForOutput(std::move(argv)))
        return std::nullopt;
    std::ifstream out(outFile);
    std::optional<double> total;
    for (std::string line; std::getline(out, line);)
        if (line.rfind("totals:", 0) == 0 || line.rfind("summary:", 0) == 0)
            total = std::strtod(line.c_str() + line.find(':') + 1, nullptr);
    std::remove(outFile.c_str());
    return total;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace freshprocess
