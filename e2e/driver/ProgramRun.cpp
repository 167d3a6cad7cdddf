#include "e2e/driver/ProgramRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "e2e/driver/Spawn.h"

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      int timeoutMs) {
    ProgramRun run;
    const Clock::time_point start = Clock::now();
    const Spawned child = Spawn(program, args, false, true);
    if (child.pid < 0) {
        run.error = child.error;
        return run;
    }
    const pid_t pid = child.pid;

    // Both pipes are drained together, so a child that fills one while the
    // other is read does not stall.
    pollfd fds[2] = {{child.fromChild, POLLIN, 0}, {child.errFromChild, POLLIN, 0}};
    std::string* text[2] = {&run.out, &run.err};
    int reading = 2;
    std::string stopped;  // why the outputs were not read to their end
    while (reading > 0) {
        const int left = timeoutMs - static_cast<int>(MsSince(start));
        if (left <= 0) {
            stopped = "still running after " + std::to_string(timeoutMs) + " ms: killed";
            break;
        }
        const int n = poll(fds, 2, left);
        if (n < 0 && errno != EINTR) {
            stopped = std::string("poll: ") + std::strerror(errno) + ": killed";
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buf[4096];
            const ssize_t got = read(fds[i].fd, buf, sizeof buf);
            if (got > 0) {
                text[i]->append(buf, static_cast<size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --reading;
            }
        }
    }
    for (pollfd& p : fds)
        if (p.fd >= 0) close(p.fd);
    if (!stopped.empty()) kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.ms = MsSince(start);
    if (!stopped.empty())
        run.error = stopped;
    else if (WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        run.error = std::string("ended by signal ") + std::to_string(WTERMSIG(status));
    else
        run.error = "ended in an unknown way";
    if (run.status == 127 && run.out.empty() && run.err.empty()) {
        run.status = -1;
        run.error = "could not start " + program;
    }
    return run;
}

}  // namespace e2e
