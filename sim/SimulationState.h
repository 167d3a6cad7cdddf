#pragma once
// The virtual devices kept in a file between runs of the command line, so
// that a walk through several commands (list, apply, verify) meets the same
// readers with what they stored: their kind, serial number, settings, long
// texts and key codes.

#include <string>

#include "sim/VirtualHidPort.h"

namespace sim {

// A state file holds at most this many devices, as many as a fleet a test
// walks through; more is refused rather than read at length.
constexpr size_t MAX_STATE_DEVICES = 256;
// The highest number the file may give for the next device's serial number,
// far from where counting on from it could overflow.
constexpr int MAX_NEXT_INSTANCE = 999'999'999;

// Attaches, quietly and in order, the devices the file holds. False, with
// *error saying why, when the file cannot be read or holds no valid state;
// the port is then as it was.
bool LoadSimulationState(const std::string& path, VirtualHidPort& port, std::string* error);
// Writes the devices attached now (a temporary file renamed into place, so
// an interrupted write keeps the old state). False, with *error, on failure.
bool SaveSimulationState(const std::string& path, VirtualHidPort& port, std::string* error);

}  // namespace sim
