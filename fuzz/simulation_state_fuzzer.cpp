// Simulation state files of arbitrary content: loading refuses with a reason
// and leaves the port empty, or attaches at most MAX_STATE_DEVICES devices,
// never crashes. What loaded is saved and loaded again to the same file, and
// a device plugged in afterwards (as a batch does) still gets a serial.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "Check.h"
#include "sim/SimulatedDevices.h"
#include "sim/SimulationState.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"

namespace {

// A folder of the process's own for one input's files, removed with them
// when the input is done (libFuzzer ends the process without running atexit
// handlers).
struct Folder {
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("simulation-state-fuzzer." + std::to_string(getpid()));
};

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Folder folder;
    const std::filesystem::path input = folder.path / "input.json";
    const std::filesystem::path saved = folder.path / "saved.json";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        FUZZ_CHECK(out.good());
    }
    sim::VirtualClock clock;
    sim::VirtualHidPort port(clock);
    std::string error;
    if (!sim::LoadSimulationState(input.string(), port, &error)) {
        FUZZ_CHECK(!error.empty());
        FUZZ_CHECK(port.Devices().empty());
        return 0;
    }
    const size_t loaded = port.Devices().size();
    FUZZ_CHECK(loaded <= sim::MAX_STATE_DEVICES);

    FUZZ_CHECK(sim::SaveSimulationState(saved.string(), port, &error));
    const std::string first = ReadWhole(saved);
    sim::VirtualHidPort again(clock);
    FUZZ_CHECK(sim::LoadSimulationState(saved.string(), again, &error));
    FUZZ_CHECK(again.Devices().size() == loaded);
    FUZZ_CHECK(sim::SaveSimulationState(saved.string(), again, &error));
    FUZZ_CHECK(ReadWhole(saved) == first);

    port.AttachQuietly(sim::MakeSimulatedDevice(sim::SimulatedDevice::Reader));
    FUZZ_CHECK(port.Devices().size() == loaded + 1);
    FUZZ_CHECK(!port.Devices().back()->serial.empty());
    return 0;
}
