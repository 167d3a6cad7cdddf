#include "sim/SimulationState.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "base/BoundedJson.h"
#include "base/FilePath.h"
#include "base/FileWrite.h"
#include "device/ReportTrace.h"
#include "sim/CardReaderModel.h"
#include "sim/KeypadModel.h"
#include "sim/SimulatedDevices.h"

namespace sim {
namespace {

using nlohmann::json;
constexpr int STATE_VERSION = 1;

std::string Hex(const std::string& bytes) {
    return dev::HexBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::optional<std::string> Unhex(const std::string& hex) {
    const std::optional<std::vector<uint8_t>> bytes = dev::ParseHexBytes(hex);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

template <size_t N>
bool UnhexInto(const json& value, std::array<uint8_t, N>* out) {
    if (!value.is_string()) return false;
    const std::optional<std::string> bytes = Unhex(value.get<std::string>());
    if (!bytes || bytes->size() != N) return false;
    std::copy(bytes->begin(), bytes->end(), out->begin());
    return true;
}

// The reader inside a device's model, if it has one.
CardReaderModel* ReaderOf(ReaderModel& model) {
    if (auto* keypad = dynamic_cast<KeypadModel*>(&model))
        return dynamic_cast<CardReaderModel*>(&keypad->Reader());
    return dynamic_cast<CardReaderModel*>(&model);
}

SimulatedDevice KindOf(ReaderModel& model) {
    if (dynamic_cast<KeypadModel*>(&model)) return SimulatedDevice::Keypad;
    if (CardReaderModel* reader = ReaderOf(model))
        return reader->GetFirmware() == CardReaderModel::Firmware::Old ? SimulatedDevice::OldReader
                                                                       : SimulatedDevice::Reader;
    return SimulatedDevice::Silent;
}

json DeviceToJson(VirtualDevice& d) {
    json j = {{"kind", SimulatedDeviceName(KindOf(d.Model()))}, {"serial", d.serial}};
    if (CardReaderModel* reader = ReaderOf(d.Model())) {
        j["settings"] =
            dev::HexBytes(reader->StoredSettings().data(), reader->StoredSettings().size());
        json texts = json::array();
        for (int i = 1; i <= CardReaderModel::FIELD_COUNT; ++i)
            texts.push_back(Hex(reader->LongText(i)));
        j["texts"] = texts;
    }
    if (auto* keypad = dynamic_cast<KeypadModel*>(&d.Model()))
        j["keys"] = dev::HexBytes(keypad->StoredCodes().data(), keypad->StoredCodes().size());
    return j;
}

struct Restored {
    std::unique_ptr<ReaderModel> model;
    std::string serial;
};

std::optional<Restored> DeviceFromJson(const json& j, std::string* error) {
    SimulatedDevice kind = SimulatedDevice::None;
    if (!j.is_object() || !j.contains("kind") || !j["kind"].is_string() ||
        !ParseSimulatedDevice(j["kind"].get<std::string>(), &kind)) {
        *error = "a device without a known kind";
        return std::nullopt;
    }
    Restored r;
    if (j.contains("serial") && j["serial"].is_string()) r.serial = j["serial"].get<std::string>();
    if (kind == SimulatedDevice::Keypad) {
        KeypadModel::Codes codes{};
        if (!j.contains("keys") || !UnhexInto(j["keys"], &codes)) {
            *error = "a keypad without 20 key codes";
            return std::nullopt;
        }
        r.model = std::make_unique<KeypadModel>(std::make_unique<CardReaderModel>(), codes);
    } else {
        r.model = MakeSimulatedDevice(kind);
    }
    if (CardReaderModel* reader = ReaderOf(*r.model)) {
        CardReaderModel::Settings settings{};
        if (!j.contains("settings") || !UnhexInto(j["settings"], &settings) ||
            !j.contains("texts") || !j["texts"].is_array() ||
            j["texts"].size() != CardReaderModel::FIELD_COUNT) {
            *error = "a reader without its settings and " +
                     std::to_string(CardReaderModel::FIELD_COUNT) + " texts";
            return std::nullopt;
        }
        reader->SetSettings(settings);
        for (int i = 1; i <= CardReaderModel::FIELD_COUNT; ++i) {
            const json& text = j["texts"][static_cast<size_t>(i - 1)];
            const std::optional<std::string> bytes =
                text.is_string() ? Unhex(text.get<std::string>()) : std::nullopt;
            if (!bytes) {
                *error = "a text that is not hexadecimal";
                return std::nullopt;
            }
            reader->SetLongText(i, *bytes);
        }
    }
    return r;
}

}  // namespace

bool LoadSimulationState(const std::string& path, VirtualHidPort& port, std::string* error) {
    errno = 0;
    std::ifstream in(tk::PathFromUtf8(path), std::ios::binary);
    if (!in) {
        const int reason = errno;
        *error = "cannot read " + path + (reason ? std::string(": ") + std::strerror(reason) : "");
        return false;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const tk::BoundedJson parsed = tk::ParseBoundedJson(text);
    const json& state = parsed.value;
    if (!parsed.error.empty()) {
        *error = path + " holds no simulated devices: " + parsed.error;
        return false;
    }
    const bool known = state.is_object() && state.contains("version") &&
                       state["version"].is_number_integer() &&
                       state["version"].get<int64_t>() == STATE_VERSION;
    if (!known || !state.contains("devices") || !state["devices"].is_array()) {
        *error =
            path + " holds no simulated devices (version " + std::to_string(STATE_VERSION) + ")";
        return false;
    }
    if (state["devices"].size() > MAX_STATE_DEVICES) {
        *error = path + " holds " + std::to_string(state["devices"].size()) +
                 " simulated devices; at most " + std::to_string(MAX_STATE_DEVICES) + " are kept";
        return false;
    }
    int nextInstance = 0;
    if (state.contains("nextInstance")) {
        const json& next = state["nextInstance"];
        const bool inRange = next.is_number_integer() && next.get<int64_t>() >= 0 &&
                             next.get<int64_t>() <= MAX_NEXT_INSTANCE;
        if (!inRange) {
            *error = path + ": nextInstance must be a whole number from 0 to " +
                     std::to_string(MAX_NEXT_INSTANCE);
            return false;
        }
        nextInstance = static_cast<int>(next.get<int64_t>());
    }
    std::vector<Restored> devices;
    for (const json& d : state["devices"]) {
        std::optional<Restored> r = DeviceFromJson(d, error);
        if (!r) {
            *error = path + ": " + *error;
            return false;
        }
        devices.push_back(std::move(*r));
    }
    for (Restored& r : devices) {
        VirtualDevice& d = port.AttachQuietly(std::move(r.model));
        if (!r.serial.empty()) d.serial = r.serial;
    }
    port.SetNextInstance(std::max(port.NextInstance(), nextInstance));
    return true;
}

bool SaveSimulationState(const std::string& path, VirtualHidPort& port, std::string* error) {
    json devices = json::array();
    for (VirtualDevice* d : port.Devices()) devices.push_back(DeviceToJson(*d));
    const json state = {
        {"version", STATE_VERSION}, {"nextInstance", port.NextInstance()}, {"devices", devices}};
    *error = tk::WriteFileWhole(path, state.dump(2) + "\n");
    return error->empty();
}

}  // namespace sim
