#include "e2e/uhid/ModelFactory.h"

#include "sim/SimulatedDevices.h"

namespace e2e {

namespace {

struct ModelEntry {
    const char* name;
    std::unique_ptr<sim::ReaderModel> (*make)();
};

template <class M>
std::unique_ptr<sim::ReaderModel> Make() {
    return std::make_unique<M>();
}

// Test behaviours of the link itself; the simulated devices follow.
constexpr ModelEntry MODELS[] = {
    {"acking", &Make<sim::AckingModel>},
    {"silent", &Make<sim::SilentModel>},
};

}  // namespace

std::unique_ptr<sim::ReaderModel> MakeModel(std::string_view name) {
    for (const ModelEntry& m : MODELS)
        if (name == m.name) return m.make();
    // The devices a person can try in the tool's simulation mode.
    sim::SimulatedDevice device = sim::SimulatedDevice::None;
    if (sim::ParseSimulatedDevice(std::string(name), &device))
        return sim::MakeSimulatedDevice(device);
    return nullptr;
}

std::vector<std::string> ModelNames() {
    std::vector<std::string> names;
    for (const ModelEntry& m : MODELS) names.emplace_back(m.name);
    for (const char* n : {"reader", "keypad", "old-reader"}) names.emplace_back(n);
    return names;
}

}  // namespace e2e
