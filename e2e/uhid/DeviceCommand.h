#pragma once
// The device program's commands, one per line on its standard input or
// separated by ";" in a --script argument:
//   plug            create the device (UHID_CREATE2), as plugging it in
//   unplug          destroy it (UHID_DESTROY); answers not yet sent are lost
//   model NAME      answer from now on as the named model
//   delay MS        answer after MS milliseconds; "delay model" restores the model's own
//   send HEX...     send one input report now (up to 64 payload bytes, zero-padded)
//   sleep MS        wait before the next command (still answering meanwhile)
//   frames          say "frames N" first: the output reports received since the start
//   quit            destroy the device and end
// Each command is acknowledged on standard output with "ok <command>" once
// done, or "error <command>: <reason>", <command> being the line as given.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/ReaderModel.h"

namespace e2e {

enum class CommandKind { Plug, Unplug, Model, Delay, Send, Sleep, Frames, Quit };

struct DeviceCommand {
    CommandKind kind = CommandKind::Quit;
    std::string model;   // Model
    int ms = 0;          // Delay (-1: the model's own), Sleep
    sim::Frame frame{};  // Send
};

// Parses one command line. nullopt with the reason in *error for a line that
// is not a command; blank lines are not commands either (error left empty).
std::optional<DeviceCommand> ParseCommand(std::string_view line, std::string* error);

// The commands of a --script argument, in order, trimmed, blanks dropped.
std::vector<std::string> SplitScript(std::string_view script);

}  // namespace e2e
