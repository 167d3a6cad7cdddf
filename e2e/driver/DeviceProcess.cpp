#include "e2e/driver/DeviceProcess.h"

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

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

DeviceProcess::~DeviceProcess() {
    if (m_pid <= 0) return;
    Command("quit", 2000);
    close(m_in);
    close(m_out);
    int status = 0;
    for (int i = 0; i < 200 && waitpid(m_pid, &status, WNOHANG) == 0; ++i) usleep(10000);
    if (waitpid(m_pid, &status, WNOHANG) == 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &status, 0);
    }
}

bool DeviceProcess::Start(const std::string& program, const std::vector<std::string>& args) {
    const Spawned child = Spawn(program, args, true, false);
    if (child.pid < 0) {
        m_error = child.error;
        return false;
    }
    m_pid = child.pid;
    m_in = child.toChild;
    m_out = child.fromChild;
    // A program that is gone must not end the driver when a command goes to it.
    signal(SIGPIPE, SIG_IGN);
    // A command that changes nothing proves the program runs and listens.
    return Command("delay model");
}

bool DeviceProcess::Command(const std::string& line, int timeoutMs) {
    return Run(line, timeoutMs, nullptr);
}

bool DeviceProcess::Query(const std::string& line, std::string& answer, int timeoutMs) {
    answer.clear();
    return Run(line, timeoutMs, &answer);
}

bool DeviceProcess::Run(const std::string& line, int timeoutMs, std::string* said) {
    const std::string text = line + "\n";
    if (m_in < 0 || write(m_in, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        m_error = "the device program is gone";
        return false;
    }
    const int64_t deadline = NowMs() + timeoutMs;
    std::string reply;
    // Acknowledgements name their command, so a late one for an earlier
    // command that timed out is not taken for this one's.
    const std::string ok = "ok " + line, refused = "error " + line + ": ";
    while (ReadLine(reply, static_cast<int>(std::max<int64_t>(0, deadline - NowMs())))) {
        if (reply == ok) return true;
        if (reply.starts_with(refused)) {
            m_error = reply.substr(refused.size());
            return false;
        }
        // Late acknowledgements of earlier commands are no answer.
        if (said && !reply.starts_with("ok ") && !reply.starts_with("error ")) *said = reply;
    }
    m_error = "no answer from the device program to \"" + line + "\"";
    return false;
}

bool DeviceProcess::ReadLine(std::string& line, int timeoutMs) {
    const int64_t deadline = NowMs() + timeoutMs;
    for (;;) {
        const size_t nl = m_buffer.find('\n');
        if (nl != std::string::npos) {
            line = m_buffer.substr(0, nl);
            m_buffer.erase(0, nl + 1);
            return true;
        }
        pollfd p{m_out, POLLIN, 0};
        const int left = static_cast<int>(deadline - NowMs());
        if (left < 0 || poll(&p, 1, left) <= 0) return false;
        char buf[256];
        const ssize_t n = read(m_out, buf, sizeof buf);
        if (n <= 0) return false;
        m_buffer.append(buf, static_cast<size_t>(n));
    }
}

}  // namespace e2e
