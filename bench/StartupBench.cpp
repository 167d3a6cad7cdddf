#include "bench/StartupBench.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

extern char** environ;

namespace bench {
namespace {

constexpr int RUN_TIMEOUT_MS = 60000;

// The offscreen platform's screen: the laptop screen the window must fit,
// so that it is shown whole, as there.
constexpr const char* SCREEN_CONFIG =
    R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1366, "height": 768,)"
    R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";

struct Report {
    long long shownNs = 0;
    long long cpuNs = 0;
    long residentKb = 0;
    long peakKb = 0;
};

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

}  // namespace

std::string ScreenConfigFile() {
    char path[] = "/tmp/reader-config-bench-screen-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return "";
    const size_t length = std::strlen(SCREEN_CONFIG);
    const bool written = write(fd, SCREEN_CONFIG, length) == static_cast<ssize_t>(length);
    close(fd);
    return written ? path : "";
}

std::vector<std::string> ChildEnvironment(const std::string& screenConfig, bool exitWhenShown) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("QT_QPA_PLATFORM=", 0) == 0) continue;
        if (entry.rfind("READER_CONFIG_", 0) == 0) continue;
        env.push_back(entry);
    }
    env.push_back(screenConfig.empty() ? "QT_QPA_PLATFORM=offscreen"
                                       : "QT_QPA_PLATFORM=offscreen:configfile=" + screenConfig);
    if (exitWhenShown) env.push_back("READER_CONFIG_EXIT_WHEN_SHOWN=1");
    return env;
}

bool Capture(const std::string& program, const std::vector<std::string>& args,
             std::vector<std::string> env, int timeoutMs, std::string* output, long long* startNs,
             std::string* error) {
    int out[2];
    if (pipe(out) != 0) {
        *error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);

    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv = Pointers(argStrings);
    std::vector<char*> envp = Pointers(env);

    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    const int spawned =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        *error = "cannot start " + program + ": " + std::strerror(spawned);
        return false;
    }

    bool timedOut = false;
    for (;;) {
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0) {
            timedOut = true;
            break;
        }
        char buf[4096];
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        output->append(buf, static_cast<size_t>(n));
    }
    close(out[0]);
    if (timedOut) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);

    *startNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count();
    if (timedOut) {
        *error = program + " did not finish in time" + (output->empty() ? "" : ":\n" + *output);
        return false;
    }
    return true;
}

namespace {

// One run: returns false with error set when the program did not report.
bool RunOnce(const std::string& program, const std::vector<std::string>& args,
             std::vector<std::string> env, Report* report, double* seconds, std::string* error) {
    std::string output;
    long long startNs = 0;
    if (!Capture(program, args, std::move(env), RUN_TIMEOUT_MS, &output, &startNs, error))
        return false;
    const size_t at = output.find("shown monotonic_ns=");
    if (at == std::string::npos ||
        std::sscanf(output.c_str() + at,
                    "shown monotonic_ns=%lld cpu_ns=%lld vmrss_kb=%ld vmhwm_kb=%ld",
                    &report->shownNs, &report->cpuNs, &report->residentKb, &report->peakKb) != 4) {
        *error = program + " reported nothing" + (output.empty() ? "" : ":\n" + output);
        return false;
    }
    *seconds = static_cast<double>(report->shownNs - startNs) / 1e9;
    return true;
}

}  // namespace

std::vector<StartupRuns> MeasureStartup(const std::vector<Program>& programs, int runs) {
    std::vector<StartupRuns> results(programs.size());
    const std::string screenConfig = ScreenConfigFile();
    const std::vector<std::string> env = ChildEnvironment(screenConfig, true);
    for (int i = 0; i <= runs; ++i) {
        for (size_t p = 0; p < programs.size(); ++p) {
            StartupRuns& result = results[p];
            if (!result.error.empty()) continue;
            double seconds = 0;
            Report report;
            if (!RunOnce(programs[p].path, programs[p].args, env, &report, &seconds, &result.error))
                continue;
            if (i == 0) continue;  // the first round fills the file cache
            result.seconds.push_back(seconds);
            result.cpuSeconds.push_back(static_cast<double>(report.cpuNs) / 1e9);
            result.residentKb.push_back(static_cast<double>(report.residentKb));
            result.peakKb.push_back(static_cast<double>(report.peakKb));
        }
    }
    if (!screenConfig.empty()) unlink(screenConfig.c_str());
    return results;
}

}  // namespace bench
