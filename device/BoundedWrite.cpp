#include "device/BoundedWrite.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace dev {

WriteGate::Result WriteGate::Run(std::function<bool()> write, int timeoutMs) {
    if (Busy()) return Result::Busy;
    auto call = std::make_shared<Call>();
    std::thread([call, write = std::move(write)] {
        const bool ok = write();
        const std::lock_guard lock(call->mutex);
        call->ok = ok;
        call->finished = true;
        call->done.notify_all();
    }).detach();
    std::unique_lock lock(call->mutex);
    if (!call->done.wait_for(lock, std::chrono::milliseconds(std::max(0, timeoutMs)),
                             [&] { return call->finished; })) {
        m_running = call;
        return Result::TimedOut;
    }
    return call->ok ? Result::Written : Result::Failed;
}

bool WriteGate::Busy() const {
    if (!m_running) return false;
    const std::lock_guard lock(m_running->mutex);
    return !m_running->finished;
}

void WriteGate::WaitIdle() const {
    if (!m_running) return;
    std::unique_lock lock(m_running->mutex);
    m_running->done.wait(lock, [&] { return m_running->finished; });
}

}  // namespace dev
