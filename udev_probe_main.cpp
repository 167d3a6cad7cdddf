// Run by the udev rule for each hidraw node with the reader's ids: prints
// the properties that say whether the node is the reader's settings
// interface, which alone the rule hands to the user at the seat.

#include <cstdio>
#include <string>

#include "device/HidrawPaths.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SYSFS-DIRECTORY-OF-A-HIDRAW-NODE\n", argv[0]);
        return 2;
    }
    std::fputs(dev::UdevProperties(argv[1]).c_str(), stdout);
    return 0;
}
