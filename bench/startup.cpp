// Start-up: from starting the merovan process to its main window being mapped on an X
// display, and the process's peak memory. The display is watched from outside with xev, so
// the application carries no hook for this. Uses $DISPLAY, or starts its own Xvfb.
// With MEROVAN_STARTUP_BASELINE naming another build's merovan (an earlier version), that one
// is measured in the same run, for comparison.
// Needs Xvfb and xev (x11-utils). Run: startup --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// A child process this benchmark started, optionally with its standard output in a pipe.
struct Child {
    pid_t pid = -1;
    int output = -1;
};

Child Spawn(const std::vector<std::string> &args, const std::map<std::string, std::string> &env,
            bool captureOutput, int extraFd = -1) {
    std::map<std::string, std::string> merged;
    for (char **entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const auto equals = text.find('=');
        if (equals != std::string::npos)
            merged[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto &[key, value] : env)
        merged[key] = value;
    std::vector<std::string> envText;
    for (const auto &[key, value] : merged)
        envText.push_back(key + "=" + value);
    std::vector<char *> envp;
    for (std::string &text : envText)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    std::vector<std::string> argText = args;
    std::vector<char *> argv;
    for (std::string &text : argText)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (captureOutput) {
        if (pipe(pipeFds) != 0)
            throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (extraFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, extraFd, 3);

    Child child;
    const int failed =
        posix_spawnp(&child.pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (captureOutput) {
        close(pipeFds[1]);
        child.output = pipeFds[0];
    }
    if (failed)
        throw std::runtime_error("cannot start " + args[0]);
    return child;
}

// Ends a child this benchmark started; the peak resident memory it reached, in KiB.
long Stop(Child &child) {
    if (child.pid <= 0)
        return 0;
    kill(child.pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child.pid, &status, 0, &usage);
    if (child.output >= 0)
        close(child.output);
    child = Child{};
    return usage.ru_maxrss;
}

// Reads `fd` until `needle` appears; false after `timeout`.
bool WaitFor(int fd, std::string &buffer, const std::string &needle,
             std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (const auto found = buffer.find(needle); found != std::string::npos) {
            buffer.erase(0, found + needle.size());
            return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd poller{fd, POLLIN, 0};
        if (poll(&poller, 1, int(left.count())) <= 0)
            continue;
        char chunk[4096];
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got <= 0)
            return false;
        buffer.append(chunk, std::size_t(got));
    }
}

// The X display, a watcher of windows mapped on it, and a private settings folder.
class Stage {
public:
    Stage() {
        application_ =
            (fs::read_symlink("/proc/self/exe").parent_path() / ".." / "src" / "app" / "merovan")
                .lexically_normal()
                .string();
        if (!fs::exists(application_))
            throw std::runtime_error("build the merovan target first: " + application_);
        char pattern[] = "/tmp/merovan-startup-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
        fs::create_directories(folder_ / "config");
        fs::create_directories(folder_ / "runtime");
        fs::permissions(folder_ / "runtime", fs::perms::owner_all, fs::perm_options::replace);

        if (const char *display = std::getenv("DISPLAY"); display && *display)
            display_ = display;
        else
            StartXvfb();
        watcher_ =
            Spawn({"stdbuf", "-oL", "xev", "-display", display_, "-root", "-event", "substructure"},
                  {}, true);
    }
    ~Stage() {
        Stop(watcher_);
        Stop(xvfb_);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    // Starts the application (this build's, or the baseline) and waits until its window is
    // mapped; nothing on a timeout.
    std::optional<Clock::duration> Launch(Child &application, bool baseline = false) {
        const auto start = Clock::now();
        application = Spawn({baseline ? Baseline() : application_},
                            {{"DISPLAY", display_},
                             {"QT_QPA_PLATFORM", "xcb"},
                             {"XDG_CONFIG_HOME", (folder_ / "config").string()},
                             {"XDG_RUNTIME_DIR", (folder_ / "runtime").string()}},
                            false);
        if (!WaitFor(watcher_.output, events_, "MapNotify", std::chrono::seconds(20)))
            return std::nullopt;
        return Clock::now() - start;
    }

    const std::string &Display() const { return display_; }
    static std::string Baseline() {
        const char *baseline = std::getenv("MEROVAN_STARTUP_BASELINE");
        return baseline ? baseline : "";
    }

private:
    void StartXvfb() {
        int fds[2];
        if (pipe(fds) != 0)
            throw std::runtime_error("pipe failed");
        xvfb_ =
            Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                  {}, false, fds[1]);
        close(fds[1]);
        // Xvfb writes the display number once it accepts connections.
        std::string number;
        char chunk[16];
        pollfd poller{fds[0], POLLIN, 0};
        while (number.find('\n') == std::string::npos && poll(&poller, 1, 10000) > 0) {
            const ssize_t got = read(fds[0], chunk, sizeof chunk);
            if (got <= 0)
                break;
            number.append(chunk, std::size_t(got));
        }
        close(fds[0]);
        if (number.empty() || number.find('\n') == std::string::npos)
            throw std::runtime_error("Xvfb did not start");
        display_ = ":" + number.substr(0, number.find('\n'));
    }

    std::string application_;
    fs::path folder_;
    std::string display_;
    Child xvfb_;
    Child watcher_;
    std::string events_;
};

Stage *stage = nullptr;

void BM_StartToMainWindowShown(benchmark::State &state) {
    const bool baseline = state.range(0) == 1;
    if (baseline && Stage::Baseline().empty()) {
        state.SkipWithError("no baseline: MEROVAN_STARTUP_BASELINE names none");
        return;
    }
    for (auto _ : state) {
        Child application;
        const auto elapsed = stage->Launch(application, baseline);
        // Let the window paint before reading the memory peak.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const long peakKiB = Stop(application);
        if (!elapsed) {
            state.SkipWithError("the main window was not shown");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(*elapsed).count());
        state.counters["peak_rss_MiB"] = double(peakKiB) / 1024.0;
    }
}
BENCHMARK(BM_StartToMainWindowShown)
    ->ArgName("baseline")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Repetitions(11)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    try {
        Stage theStage;
        stage = &theStage;
        // One untimed start first: the display watcher settles and the font caches are warm.
        Child warmUp;
        const bool shown = theStage.Launch(warmUp).has_value();
        Stop(warmUp);
        if (!shown) {
            std::fprintf(stderr, "merovan did not show its main window on %s\n",
                         theStage.Display().c_str());
            return 1;
        }
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
