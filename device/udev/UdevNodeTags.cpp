#include "device/udev/UdevNodeTags.h"

#include <libudev.h>
#include <sys/stat.h>

namespace dev {

std::optional<bool> NodeHasCurrentTag(const std::string& devnode, const char* tag) {
    struct stat st {};
    if (::stat(devnode.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return std::nullopt;
    udev* context = udev_new();
    if (!context) return std::nullopt;
    std::optional<bool> result;
    if (udev_device* device = udev_device_new_from_devnum(context, 'c', st.st_rdev)) {
        if (udev_device_get_is_initialized(device) > 0)
            result = udev_device_has_current_tag(device, tag) > 0;
        udev_device_unref(device);
    }
    udev_unref(context);
    return result;
}

}  // namespace dev
