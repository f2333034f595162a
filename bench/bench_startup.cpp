// Start-up time from exec to the first drawn picture of the main window, against a Qt Widgets main window
// with a label as its central widget (the floor) built the same way. Every iteration starts each program
// once, interleaved, so a busy machine weighs on both alike; the counters are medians over the iterations and
// the program's time as a multiple of the floor's. The first start is timed with data and settings folders
// that do not exist yet, each program in folders of its own; the second with the folders a start before it
// left. Needs an X server in DISPLAY (scripts/bench-startup starts one with a window manager). Further
// programs given after the benchmark flags (an older build, say) take part in the same rounds.
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Program {
    std::string name;
    std::string path;
    std::vector<std::string> arguments;
    std::vector<double> ms;
};

std::vector<Program>& Programs() {
    static std::vector<Program> programs;
    return programs;
}

std::int64_t NowUs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
}

// The environment of this process with its own data and settings folders and the X platform.
std::vector<std::string> ChildEnvironment(const QString& home) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (!entry.starts_with("XDG_DATA_HOME=") && !entry.starts_with("XDG_CONFIG_HOME=") &&
            !entry.starts_with("QT_QPA_PLATFORM="))
            env.push_back(entry);
    }
    env.push_back("XDG_DATA_HOME=" + home.toStdString() + "/data");
    env.push_back("XDG_CONFIG_HOME=" + home.toStdString() + "/config");
    env.push_back("QT_QPA_PLATFORM=xcb");
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Milliseconds from the spawn to the program's "exposed <us>" line; nothing when it failed or took 30 s.
std::optional<double> TimeOneStart(const Program& program, const QString& home) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> argv{program.path};
    argv.insert(argv.end(), program.arguments.begin(), program.arguments.end());
    std::vector<std::string> env = ChildEnvironment(home);
    std::vector<char*> argvPointers = Pointers(argv);
    std::vector<char*> envPointers = Pointers(env);
    pid_t pid = 0;
    const std::int64_t started = NowUs();
    const int spawned =
        posix_spawn(&pid, program.path.c_str(), &actions, nullptr, argvPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::optional<double> result;
    if (spawned == 0) {
        std::string text;
        const std::int64_t deadline = started + 30'000'000;
        while (NowUs() < deadline) {
            pollfd waiting{out[0], POLLIN, 0};
            if (poll(&waiting, 1, 100) < 0 && errno != EINTR)
                break;
            char buffer[256];
            const ssize_t count =
                (waiting.revents & (POLLIN | POLLHUP)) ? read(out[0], buffer, sizeof buffer) : 0;
            if (waiting.revents && count <= 0)
                break;
            text.append(buffer, size_t(std::max<ssize_t>(count, 0)));
            const size_t at = text.find("exposed ");
            if (at != std::string::npos && text.find('\n', at) != std::string::npos) {
                result = double(std::strtoll(text.c_str() + at + 8, nullptr, 10) - started) / 1000.0;
                break;
            }
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    close(out[0]);
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0.0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// state.range(0): 0 the first start (fresh folders every time), 1 the second start.
void BmStartupToFirstExpose(benchmark::State& state) {
    const bool second = state.range(0) == 1;
    std::vector<Program>& programs = Programs();
    QTemporaryDir kept;
    // Once untimed: files in the page cache, and for the second start the program's folders made.
    for (const Program& program : programs) {
        if (!TimeOneStart(program, kept.path())) {
            state.SkipWithError(("no first expose from " + program.path).c_str());
            return;
        }
    }
    for (Program& program : programs)
        program.ms.clear();
    for (auto _ : state) {
        for (Program& program : programs) {
            QTemporaryDir fresh;
            const std::optional<double> ms = TimeOneStart(program, second ? kept.path() : fresh.path());
            if (!ms) {
                state.SkipWithError(("no first expose from " + program.path).c_str());
                return;
            }
            program.ms.push_back(*ms);
        }
    }
    const double floor = Median(programs.front().ms);
    for (const Program& program : programs) {
        state.counters[program.name + "_ms"] = Median(program.ms);
        if (&program != &programs.front())
            state.counters[program.name + "_x_floor"] = Median(program.ms) / floor;
    }
    state.SetLabel(second ? "second start" : "first start");
}
BENCHMARK(BmStartupToFirstExpose)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Programs().push_back({"floor", TW_STARTUP_FLOOR, {}, {}});
    Programs().push_back({"tarnwick", TW_STARTUP_PROGRAM, {"--report-expose"}, {}});
    for (int i = 1; i < argc; ++i)
        Programs().push_back({"other" + std::to_string(i), argv[i], {"--report-expose"}, {}});
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
