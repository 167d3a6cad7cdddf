#pragma once
// The device behaviours the device program can stand for, chosen by name on
// its command line or by its "model" command.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/ReaderModel.h"

namespace e2e {

// A new model of that name; nullptr for an unknown name.
std::unique_ptr<sim::ReaderModel> MakeModel(std::string_view name);
// Every name MakeModel knows, for usage messages.
std::vector<std::string> ModelNames();

}  // namespace e2e
