#include "e2e/driver/Scenarios.h"

namespace e2e {

namespace {

// The link alone first, then the dialog's operations, the delay sweep last.
constexpr Scenario SCENARIOS[] = {
    {"presence", &Presence},
    {"dialog-startup", &DialogStartup},
    {"port-roundtrip", &PortRoundTrip},
    {"link-exchange", &LinkExchange},
    {"silent-reader", &SilentReader},
    {"lost-report", &LostReport},
    {"plug-cycles", &PlugCycles},
    {"set-read-device", &SetReadDevice},
    {"old-reader", &OldReader},
    {"keypad", &Keypad},
    {"silent-failures", &SilentFailures},
    {"keyboard-first", &KeyboardFirst},
    {"garbled-answer", &GarbledAnswer},
    {"batch", &BatchPlugCycles},
    {"command-line", &CommandLineProcesses},
    {"parallel-batch", &ParallelBatch},
    {"delay-window", &DelayWindow},
};

}  // namespace

std::span<const Scenario> AllScenarios() {
    return SCENARIOS;
}

}  // namespace e2e
