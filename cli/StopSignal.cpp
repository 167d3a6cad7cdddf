#include "cli/StopSignal.h"

#include <atomic>

namespace cli {

namespace {

// Lock-free, so a signal handler may store into it.
std::atomic<int> g_stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

void NoteStopSignal(int signal) noexcept {
    int none = 0;
    g_stopSignal.compare_exchange_strong(none, signal);
}

int StopSignalNoted() noexcept {
    return g_stopSignal.load();
}

void ForgetStopSignal() noexcept {
    g_stopSignal.store(0);
}

}  // namespace cli
