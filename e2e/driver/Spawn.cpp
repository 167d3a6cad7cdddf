#include "e2e/driver/Spawn.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace e2e {
namespace {

void CloseAll(std::initializer_list<int> fds) {
    for (int fd : fds)
        if (fd >= 0) close(fd);
}

}  // namespace

Spawned Spawn(const std::string& program, const std::vector<std::string>& args, bool withInput,
              bool withError) {
    Spawned s;
    int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
    if ((withInput && pipe2(in, O_CLOEXEC) != 0) || pipe2(out, O_CLOEXEC) != 0 ||
        (withError && pipe2(err, O_CLOEXEC) != 0)) {
        s.error = std::string("pipe: ") + std::strerror(errno);
        CloseAll({in[0], in[1], out[0], out[1], err[0], err[1]});
        return s;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int input = withInput ? in[0] : open("/dev/null", O_RDONLY);
        if (input >= 0) dup2(input, STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        if (withError) dup2(err[1], STDERR_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    CloseAll({in[0], out[1], err[1]});
    if (pid < 0) {
        s.error = std::string("fork: ") + std::strerror(errno);
        CloseAll({in[1], out[0], err[0]});
        return s;
    }
    s.pid = pid;
    s.toChild = in[1];
    s.fromChild = out[0];
    s.errFromChild = err[0];
    return s;
}

}  // namespace e2e
