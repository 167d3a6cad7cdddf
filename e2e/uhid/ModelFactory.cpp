#include "e2e/uhid/ModelFactory.h"

#include <algorithm>
#include <iterator>

#include "sim/CardReaderModel.h"
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

// A reader that answers the read request with a garbled answer cut short
// after "R" ("20 20 52 41 42", then zeros), headed like a settings frame, and
// otherwise answers as a reader: a settings frame written back to it would be
// stored.
class GarbledAnswerModel : public sim::CardReaderModel {
  public:
    std::vector<sim::Frame> OnFrame(const sim::Frame& in) override {
        sim::Frame request{};
        const char text[] = "        RE         ";
        std::copy(text, text + sizeof text - 1, request.begin());
        if (in != request) return CardReaderModel::OnFrame(in);
        sim::Frame garbled{};
        const uint8_t bytes[] = {0x20, 0x20, 0x52, 0x41, 0x42};
        std::copy(std::begin(bytes), std::end(bytes), garbled.begin());
        return {garbled};
    }
};

// Test behaviours of the link itself; the simulated devices follow.
constexpr ModelEntry MODELS[] = {
    {"acking", &Make<sim::AckingModel>},
    {"silent", &Make<sim::SilentModel>},
    {"garbled", &Make<GarbledAnswerModel>},
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
