// Runs a program and prints the CPU time and peak resident memory of that
// process alone: "cpu_s=%f maxrss_kb=%ld status=%d". A process's peak counts
// the memory it had before it became the program, so the program is started
// from this small process (forked, then exec'd) rather than from the
// benchmark, whose size would be counted instead.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const pid_t pid = fork();
    if (pid < 0) return 2;
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 1);
            dup2(null, 2);
        }
        execv(argv[1], argv + 1);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return 2;
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("cpu_s=%f maxrss_kb=%ld status=%d\n", cpu, usage.ru_maxrss,
                WIFEXITED(status) ? WEXITSTATUS(status) : 128);
    return 0;
}
