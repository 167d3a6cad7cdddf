#include "device/DeviceEvents.h"

#include "device/DeviceWatcher.h"

namespace dev {

std::vector<uint32_t> DeviceEventsFor(std::string_view subsystem, std::string_view action) {
    if (action.empty()) return {};
    if (subsystem == "hidraw") {
        if (action == "add") return {DBT_DEVICEARRIVAL, DBT_DEVNODES_CHANGED};
        if (action == "remove") return {DBT_DEVICEREMOVECOMPLETE, DBT_DEVNODES_CHANGED};
    }
    return {DBT_DEVNODES_CHANGED};
}

}  // namespace dev
