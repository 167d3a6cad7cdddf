#pragma once
// The HID port and device watcher the end-to-end driver runs on. Platform.cpp
// alone decides which concrete ones: the scenarios see only the interfaces.

#include <functional>
#include <memory>
#include <string>

#include "device/DeviceWatcher.h"
#include "device/HidPort.h"

namespace e2e {

struct Platform {
    std::string name;  // shown at the start of the run
    std::unique_ptr<dev::HidPort> port;
    std::unique_ptr<dev::DeviceWatcher> watcher;
    // A descriptor that is readable while device events wait (-1 when the
    // watcher could not listen), and the call that hands them to the
    // registered receiver (or drops them while none is): the tool joins the
    // same pair to its event loop.
    std::function<int()> eventFd;
    std::function<void()> dispatchEvents;
};

Platform MakePlatform();

}  // namespace e2e
