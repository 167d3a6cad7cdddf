#pragma once
// The virtual devices a person can try the tool with, by name, for the
// tool's simulation mode and the device program of the end-to-end tests.

#include <memory>
#include <string>

#include "sim/ReaderModel.h"

namespace sim {

enum class SimulatedDevice { None, Reader, Keypad, OldReader, Silent };

// "reader", "keypad", "old-reader", "silent"; false for any other name.
bool ParseSimulatedDevice(const std::string& name, SimulatedDevice* out);
const char* SimulatedDeviceName(SimulatedDevice device);
// A factory-fresh device of that kind; nullptr for None.
std::unique_ptr<ReaderModel> MakeSimulatedDevice(SimulatedDevice device);

}  // namespace sim
