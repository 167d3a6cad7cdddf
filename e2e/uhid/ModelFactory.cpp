#include "e2e/uhid/ModelFactory.h"

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

// One line per behaviour; the settings reader, its keypad variant and the
// old reader without long texts join here as their models come.
constexpr ModelEntry MODELS[] = {
    {"acking", &Make<sim::AckingModel>},
    {"silent", &Make<sim::SilentModel>},
};

}  // namespace

std::unique_ptr<sim::ReaderModel> MakeModel(std::string_view name) {
    for (const ModelEntry& m : MODELS)
        if (name == m.name) return m.make();
    return nullptr;
}

std::vector<std::string> ModelNames() {
    std::vector<std::string> names;
    for (const ModelEntry& m : MODELS) names.emplace_back(m.name);
    return names;
}

}  // namespace e2e
