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

struct Report {
    long long shownNs = 0;
    long residentKb = 0;
};

std::vector<std::string> ChildEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("QT_QPA_PLATFORM=", 0) == 0) continue;
        if (entry.rfind("READER_CONFIG_", 0) == 0) continue;
        env.push_back(entry);
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("READER_CONFIG_EXIT_WHEN_SHOWN=1");
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

// One run: returns false with error set when the program did not report.
bool RunOnce(const std::string& program, const std::vector<std::string>& args,
             std::vector<std::string> env, double* seconds, long* residentKb, std::string* error) {
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

    std::string output;
    bool timedOut = false;
    for (;;) {
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, RUN_TIMEOUT_MS) <= 0) {
            timedOut = true;
            break;
        }
        char buf[4096];
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        output.append(buf, static_cast<size_t>(n));
    }
    close(out[0]);
    if (timedOut) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);

    Report report;
    const size_t at = output.find("shown monotonic_ns=");
    if (timedOut || at == std::string::npos ||
        std::sscanf(output.c_str() + at, "shown monotonic_ns=%lld vmrss_kb=%ld", &report.shownNs,
                    &report.residentKb) != 2) {
        *error = program + (timedOut ? " did not show its window in time" : " reported nothing") +
                 (output.empty() ? std::string() : ":\n" + output);
        return false;
    }
    const long long startNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count();
    *seconds = static_cast<double>(report.shownNs - startNs) / 1e9;
    *residentKb = report.residentKb;
    return true;
}

}  // namespace

std::vector<StartupRuns> MeasureStartup(const std::vector<Program>& programs, int runs) {
    std::vector<StartupRuns> results(programs.size());
    const std::vector<std::string> env = ChildEnvironment();
    for (int i = 0; i <= runs; ++i) {
        for (size_t p = 0; p < programs.size(); ++p) {
            StartupRuns& result = results[p];
            if (!result.error.empty()) continue;
            double seconds = 0;
            long residentKb = 0;
            if (!RunOnce(programs[p].path, programs[p].args, env, &seconds, &residentKb,
                         &result.error))
                continue;
            if (i == 0) continue;  // the first round fills the file cache
            result.seconds.push_back(seconds);
            result.residentKb.push_back(static_cast<double>(residentKb));
        }
    }
    return results;
}

}  // namespace bench
