#include "e2e/driver/ScenarioSupport.h"

#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "device/HidLink.h"

namespace e2e {

bool Context::Device(std::string_view scenario, const std::string& command) {
    Stopwatch sw;
    if (device.Command(command)) return true;
    results.Record(scenario, "device " + command, false, sw.Ms(), device.Error());
    return false;
}

bool Context::Prepare(std::string_view scenario, const std::string& model, int delayMs) {
    if (!Device(scenario, "model " + model)) return false;
    if (!Device(scenario, delayMs < 0 ? "delay model" : "delay " + std::to_string(delayMs)))
        return false;
    return Plug(scenario, true);
}

bool Context::Plug(std::string_view scenario, bool wait) {
    if (!m_plugged && !Device(scenario, "plug")) return false;
    m_plugged = true;
    Stopwatch sw;
    if (!wait || WaitForReader(true)) return true;
    return results.Record(scenario, "reader enumerated", false, sw.Ms(), "no hidraw node appeared");
}

bool Context::Unplug(std::string_view scenario, bool wait) {
    if (m_plugged && !Device(scenario, "unplug")) return false;
    m_plugged = false;
    Stopwatch sw;
    if (!wait || WaitForReader(false)) return true;
    return results.Record(scenario, "reader gone", false, sw.Ms(), "the hidraw node stayed");
}

bool Context::WaitForReader(bool present, int timeoutMs) {
    Stopwatch sw;
    for (;;) {
        const auto all = Port().Enumerate();
        const bool found = std::any_of(all.begin(), all.end(), [](const dev::HidInterfaceInfo& i) {
            return i.vendorId == dev::VENDOR_ID && i.productId == dev::PRODUCT_ID;
        });
        if (found == present) return true;
        if (sw.Ms() > timeoutMs) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::vector<dev::HidInterfaceInfo> Context::ReaderInterfaces() {
    std::vector<dev::HidInterfaceInfo> out;
    for (const dev::HidInterfaceInfo& i : Port().Enumerate())
        if (i.vendorId == dev::VENDOR_ID && i.productId == dev::PRODUCT_ID) out.push_back(i);
    return out;
}

bool Context::WaitForReaderInterfaces(size_t count, int timeoutMs) {
    Stopwatch sw;
    while (ReaderInterfaces().size() != count) {
        if (sw.Ms() > timeoutMs) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool Context::PumpEventsUntil(const std::function<bool()>& done, int timeoutMs) {
    Stopwatch sw;
    while (!done()) {
        const int left = timeoutMs - static_cast<int>(sw.Ms());
        if (left <= 0) return false;
        pollfd p{platform.eventFd(), POLLIN, 0};
        if (p.fd < 0) return false;
        if (poll(&p, 1, left) > 0) platform.dispatchEvents();
    }
    return true;
}

void Context::DropPendingEvents() {
    if (platform.eventFd() < 0) return;
    platform.watcher->Unregister();
    platform.dispatchEvents();
}

bool Context::FramesReceived(std::string_view scenario, long& frames) {
    Stopwatch sw;
    std::string answer;
    if (device.Query("frames", answer) && answer.starts_with("frames ")) {
        frames = std::strtol(answer.c_str() + 7, nullptr, 10);
        return true;
    }
    return results.Record(scenario, "device frames", false, sw.Ms(),
                          answer.empty() ? device.Error() : "unexpected answer: " + answer);
}

void Context::Settle(int answerDelayMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::max(0, answerDelayMs) + 150));
}

ExchangeOutcome Exchange(dev::CHidLink& link, const sim::Frame& request, int reads) {
    ExchangeOutcome out;
    sim::Frame buffer = request;
    const Stopwatch total;
    for (int i = 0; i < 2 + reads; ++i) {
        const Stopwatch step;
        if (i < 2)
            link.WriteReport(buffer.data(), static_cast<uint8_t>(buffer.size()));
        else
            link.ReadReport(buffer.data(), static_cast<uint8_t>(buffer.size()));
        out.stepMs.push_back(step.Ms());
    }
    out.totalMs = total.Ms();
    out.acknowledged = IsAckOf(buffer.data(), request);
    out.untouched = buffer == request;
    return out;
}

sim::Frame TestFrame(uint8_t seed) {
    sim::Frame f{};
    for (size_t i = 0; i < f.size(); ++i) f[i] = static_cast<uint8_t>(seed + i);
    f[reader::OFF_LEAD] = reader::REQUEST_LEAD;
    return f;
}

bool IsAckOf(const uint8_t* payload, const sim::Frame& request) {
    sim::Frame expected = request;
    expected[reader::OFF_ACK] = reader::ACK_LETTER;
    return std::equal(expected.begin(), expected.end(), payload);
}

}  // namespace e2e
