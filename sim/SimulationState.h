#pragma once
// The virtual devices kept in a file between runs of the command line, so
// that a walk through several commands (list, apply, verify) meets the same
// readers with what they stored: their kind, serial number, settings, long
// texts and key codes.

#include <string>

#include "sim/VirtualHidPort.h"

namespace sim {

// Attaches, quietly and in order, the devices the file holds. False, with
// *error saying why, when the file cannot be read or holds no valid state;
// the port is then as it was.
bool LoadSimulationState(const std::string& path, VirtualHidPort& port, std::string* error);
// Writes the devices attached now (a temporary file renamed into place, so
// an interrupted write keeps the old state). False, with *error, on failure.
bool SaveSimulationState(const std::string& path, VirtualHidPort& port, std::string* error);

}  // namespace sim
