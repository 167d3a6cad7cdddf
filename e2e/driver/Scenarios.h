#pragma once
// The end-to-end scenarios, in the order they run. Each records one result
// line per operation and leaves the device program in any state: the next
// scenario prepares its own.

#include <span>

#include "e2e/driver/ScenarioSupport.h"

namespace e2e {

struct Scenario {
    const char* name;
    void (*run)(Context&);
};

std::span<const Scenario> AllScenarios();

// The scenarios, by the file that holds them.
void Presence(Context& c);              // LinkScenarios.cpp
void DialogStartup(Context& c);         // LinkScenarios.cpp
void PortRoundTrip(Context& c);         // LinkScenarios.cpp
void LinkExchange(Context& c);          // LinkScenarios.cpp
void SilentReader(Context& c);          // LinkScenarios.cpp
void LostReport(Context& c);            // LinkScenarios.cpp
void PlugCycles(Context& c);            // PlugScenarios.cpp
void SetReadDevice(Context& c);         // ReaderScenarios.cpp
void OldReader(Context& c);             // ReaderScenarios.cpp
void SilentFailures(Context& c);        // ReaderScenarios.cpp
void KeyboardFirst(Context& c);         // InterfaceScenarios.cpp
void GarbledAnswer(Context& c);         // InterfaceScenarios.cpp
void Keypad(Context& c);                // KeypadScenarios.cpp
void BatchPlugCycles(Context& c);       // BatchScenarios.cpp
void CommandLineProcesses(Context& c);  // CommandLineScenarios.cpp
void ParallelBatch(Context& c);         // CommandLineScenarios.cpp
void DelayWindow(Context& c);           // DelayWindow.cpp

// The answer delay of a reader that takes a realistic time to process a
// request; the tool's exchange must work with it.
constexpr int REALISTIC_DELAY_MS = 100;

// The driver's first argument that makes it the tool's command line (the
// rest are the tool's arguments), for scenarios that run the tool in a
// process of its own.
constexpr const char* COMMAND_MODE = "--command";

}  // namespace e2e
