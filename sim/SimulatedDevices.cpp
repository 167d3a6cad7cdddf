#include "sim/SimulatedDevices.h"

#include "sim/CardReaderModel.h"
#include "sim/KeypadModel.h"

namespace sim {
namespace {

struct Entry {
    const char* name;
    SimulatedDevice device;
};
constexpr Entry DEVICES[] = {{"reader", SimulatedDevice::Reader},
                             {"keypad", SimulatedDevice::Keypad},
                             {"old-reader", SimulatedDevice::OldReader},
                             {"silent", SimulatedDevice::Silent}};

}  // namespace

bool ParseSimulatedDevice(const std::string& name, SimulatedDevice* out) {
    for (const Entry& e : DEVICES)
        if (name == e.name) {
            *out = e.device;
            return true;
        }
    return false;
}

const char* SimulatedDeviceName(SimulatedDevice device) {
    for (const Entry& e : DEVICES)
        if (e.device == device) return e.name;
    return "none";
}

std::unique_ptr<ReaderModel> MakeSimulatedDevice(SimulatedDevice device) {
    switch (device) {
        case SimulatedDevice::Reader:
            return std::make_unique<CardReaderModel>();
        case SimulatedDevice::Keypad:
            return std::make_unique<KeypadModel>(std::make_unique<CardReaderModel>());
        case SimulatedDevice::OldReader:
            return std::make_unique<CardReaderModel>(CardReaderModel::Firmware::Old);
        case SimulatedDevice::Silent:
            return std::make_unique<SilentModel>();
        case SimulatedDevice::None:
            break;
    }
    return nullptr;
}

}  // namespace sim
