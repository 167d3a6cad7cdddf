#include "cli/linux/StopSignals.h"

#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <thread>

#include "cli/Commands.h"

namespace cli {
namespace {

int g_pipe[2] = {-1, -1};

void WaitForSignals(sigset_t set) {
    int signal = 0;
    if (sigwait(&set, &signal) != 0) return;
    RequestStop();
    const char byte = 1;
    (void)!::write(g_pipe[1], &byte, 1);
    // The second one is the signal as it would have been.
    if (sigwait(&set, &signal) != 0) return;
    std::signal(signal, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signal);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    ::raise(signal);
}

}  // namespace

void StopOnSignals() {
    if (g_pipe[0] >= 0 || ::pipe(g_pipe) != 0) return;
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, s);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(WaitForSignals, set).detach();
}

int StopEventFd() {
    return g_pipe[0];
}

}  // namespace cli
