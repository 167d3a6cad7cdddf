#include "e2e/driver/Scenarios.h"

namespace e2e {

namespace {

// Set Device, Read Device, the old reader, the keypad and batch runs join
// this table as their operations land.
constexpr Scenario SCENARIOS[] = {
    {"presence", &Presence},
    {"dialog-startup", &DialogStartup},
    {"port-roundtrip", &PortRoundTrip},
    {"link-exchange", &LinkExchange},
    {"silent-reader", &SilentReader},
    {"lost-report", &LostReport},
    {"plug-cycles", &PlugCycles},
    {"delay-window", &DelayWindow},
};

}  // namespace

std::span<const Scenario> AllScenarios() {
    return SCENARIOS;
}

}  // namespace e2e
