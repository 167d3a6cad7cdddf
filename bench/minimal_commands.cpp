// The floor of a command's fixed cost: a C++ program that links hidapi and
// libudev, as the command program does, starts both and prints a version
// through the C++ library, as any program of the language would.

#include <hidapi/hidapi.h>
#include <libudev.h>

#include <iostream>
#include <string>

int main() {
    if (hid_init() != 0) return 1;
    udev* u = udev_new();
    std::cout << std::string("reader-config ") + READER_CONFIG_VERSION << "\n";
    udev_unref(u);
    hid_exit();
    return 0;
}
