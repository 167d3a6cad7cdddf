#include "app/CommandLine.h"

namespace app {
namespace {

CommandLine Error(std::string message, const std::string& offending) {
    CommandLine c;
    c.action = CommandLine::Action::Error;
    c.error = std::move(message);
    c.offending = offending;
    return c;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-h" || a == "--help") {
            c.action = CommandLine::Action::Help;
            return c;
        }
        if (a == "--version") {
            c.action = CommandLine::Action::Version;
            return c;
        }
        if (a == "--simulate") {
            c.simulate = SimulatedDevice::Reader;
        } else if (a.rfind("--simulate=", 0) == 0) {
            const std::string name = a.substr(11);
            if (!sim::ParseSimulatedDevice(name, &c.simulate))
                return Error("unknown simulated device '" + name +
                                 "' (choose reader, keypad, old-reader or silent)",
                             a);
        } else if (a == "--trace") {
            if (i + 1 >= args.size())
                return Error("--trace needs a file name, or - for standard error", a);
            c.traceFile = args[++i];
        } else if (a.rfind("--trace=", 0) == 0) {
            c.traceFile = a.substr(8);
            if (c.traceFile.empty())
                return Error("--trace needs a file name, or - for standard error", a);
        } else {
            return Error("unknown option '" + a + "'", a);
        }
    }
    return c;
}

std::string HelpText(const std::string& program) {
    return "Usage: " + program +
           " [OPTION]...\n"
           "Configure a USB HID card reader (vendor 016c, product 04f3): ID card number\n"
           "format, magnetic tracks and sentinels, and the keys of its keypad variant.\n"
           "\n"
           "  --simulate[=DEVICE]  use a virtual device instead of real hardware;\n"
           "                       DEVICE is reader (default), keypad, old-reader or silent\n"
           "  --trace FILE         write every HID report sent and received to FILE\n"
           "                       (- for standard error)\n"
           "  -h, --help           show this help and exit\n"
           "      --version        show the version and exit\n"
           "\n"
           "Without options the tool looks for the reader on the USB bus. On Linux the\n"
           "reader's hidraw node needs the udev rule installed with the tool.\n";
}

std::string VersionText() {
    return std::string("reader-config ") + READER_CONFIG_VERSION + "\n";
}

}  // namespace app
