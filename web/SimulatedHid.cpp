// The virtual readers behind the page's fake navigator.hid (fake_hid.js): the
// same models as the tool's simulation mode and the native tests, compiled in,
// so the page's WebHID port is exercised end to end without a device.

#include <emscripten.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "sim/ReaderModel.h"
#include "sim/SimulatedDevices.h"

namespace {

std::map<int, std::unique_ptr<sim::ReaderModel>>& Models() {
    static std::map<int, std::unique_ptr<sim::ReaderModel>> models;
    return models;
}

}  // namespace

extern "C" {

// A factory-fresh device of the named kind ("reader", "keypad", ...); its
// number, or -1 for a name that is no kind.
EMSCRIPTEN_KEEPALIVE int web_sim_create(const char* kind) {
    sim::SimulatedDevice device = sim::SimulatedDevice::None;
    if (!kind || !sim::ParseSimulatedDevice(kind, &device)) return -1;
    const int number = Models().empty() ? 1 : Models().rbegin()->first + 1;
    Models()[number] = sim::MakeSimulatedDevice(device);
    return number;
}

// The device's answers to one 64-byte frame, written to out (room for
// maxFrames frames of 64 bytes); returns how many there are.
EMSCRIPTEN_KEEPALIVE int web_sim_frame(int number, const uint8_t* in, uint8_t* out, int maxFrames) {
    auto it = Models().find(number);
    if (it == Models().end() || !in || !out) return 0;
    sim::Frame frame{};
    std::memcpy(frame.data(), in, frame.size());
    const std::vector<sim::Frame> answers = it->second->OnFrame(frame);
    const int count = std::min(static_cast<int>(answers.size()), maxFrames);
    for (int i = 0; i < count; ++i)
        std::memcpy(out + i * frame.size(), answers[i].data(), frame.size());
    return count;
}

EMSCRIPTEN_KEEPALIVE int web_sim_delay(int number) {
    auto it = Models().find(number);
    return it == Models().end() ? 0 : it->second->AnswerDelayMs();
}

}  // extern "C"
