#include "cli/CommandLine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace cli {
namespace {

// Enough for a hub full of readers; guards against a runaway list.
constexpr size_t MAX_SIMULATED = 64;

// The help's last paragraph: what the platform asks of the user.
#ifdef _WIN32
constexpr const char* HELP_PLATFORM =
    "Without a command the tool opens its window and looks for the reader on the USB\n"
    "bus. A command writes to the console it was started from, or UTF-8 to the file\n"
    "or pipe its output goes to; at cmd's prompt 'start /wait reader-config ...'\n"
    "waits for it and sets ERRORLEVEL to its exit status.\n";
#else
constexpr const char* HELP_PLATFORM =
    "Without a command the tool opens its window and looks for the reader on the USB\n"
    "bus. On Linux the reader's hidraw node needs the udev rule installed with the\n"
    "tool. See reader-config(1).\n";
#endif

CommandLine Error(std::string message, const std::string& offending) {
    CommandLine c;
    c.action = CommandLine::Action::Error;
    c.error = std::move(message);
    c.offending = offending;
    return c;
}

// The options QApplication takes out of the command line for itself, with one
// dash or two, as "-name value" or "-name=value".
constexpr std::array<std::string_view, 17> QT_OPTIONS_WITH_VALUE = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "style",         "stylesheet", "session",
    "display",     "geometry",           "name",          "title",      "fontengine",
    "dialogs",     "qmljsdebugger"};
constexpr std::array<std::string_view, 5> QT_FLAGS = {"reverse", "widgetcount", "nograb", "dograb",
                                                      "sync"};

// Number of arguments a toolkit option at args[i] takes up (1 or 2); 0 when
// it is none.
size_t ToolkitOptionLength(const std::vector<std::string>& args, size_t i) {
    std::string_view a = args[i];
    if (a.size() < 2 || a[0] != '-') return 0;
    a.remove_prefix(a[1] == '-' ? 2 : 1);
    const size_t eq = a.find('=');
    const std::string_view name = a.substr(0, eq);
    const auto has = [name](const auto& list) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    if (has(QT_FLAGS) && eq == std::string_view::npos) return 1;
    if (!has(QT_OPTIONS_WITH_VALUE)) return 0;
    if (eq != std::string_view::npos) return 1;
    return i + 1 < args.size() ? 2 : 0;
}

bool ParseCommandName(const std::string& word, CommandLine::Command* out) {
    static constexpr std::pair<std::string_view, CommandLine::Command> names[] = {
        {"read", CommandLine::Command::Read},     {"apply", CommandLine::Command::Apply},
        {"verify", CommandLine::Command::Verify}, {"batch", CommandLine::Command::Batch},
        {"list", CommandLine::Command::List},
    };
    for (const auto& [name, command] : names)
        if (word == name) {
            *out = command;
            return true;
        }
    return false;
}

bool ParseCount(const std::string& text, uint32_t* out) {
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value == 0) return false;
    *out = value;
    return true;
}

// Checks what the command was given once every argument has been read.
CommandLine Finish(CommandLine c, const std::vector<std::string>& positionals, bool toolkitOptions,
                   bool countGiven) {
    using Command = CommandLine::Command;
    if (c.command == Command::None) {
        if (c.json || countGiven || !c.logFile.empty() || c.parallel)
            return Error(
                "--json, --count, --log and --parallel need a command (read, list or batch)", "");
        if (!c.device.empty() || !c.serial.empty())
            return Error("--device and --serial need a command", "");
        if (!c.simulateState.empty())
            return Error("--simulate-state needs a command", "--simulate-state");
        return c;
    }
    const std::string name = CommandName(c.command);
    if (toolkitOptions) return Error("window options do not apply to '" + name + "'", name);
    const size_t wanted = c.command == Command::Read || c.command == Command::List ? 0 : 1;
    if (positionals.size() < wanted) return Error("'" + name + "' needs a PROFILE file", name);
    if (positionals.size() > wanted)
        return Error("unexpected argument '" + positionals[wanted] + "'", positionals[wanted]);
    if (wanted) c.profile = positionals[0];
    if (!c.simulateState.empty() && c.simulate == SimulatedDevice::None)
        return Error("--simulate-state needs --simulate", "--simulate-state");
    if (c.json && c.command != Command::Read && c.command != Command::List)
        return Error("--json belongs to 'read' and 'list'", "--json");
    if (!c.device.empty() && !c.serial.empty())
        return Error("choose the device by --device or by --serial, not both", "--serial");
    if (c.command == Command::List && (!c.device.empty() || !c.serial.empty()))
        return Error("'list' shows every device; --device and --serial do not apply", "list");
    if ((countGiven || !c.logFile.empty() || c.parallel) && c.command != Command::Batch)
        return Error("--count, --log and --parallel belong to 'batch'", countGiven   ? "--count"
                                                                        : c.parallel ? "--parallel"
                                                                                     : "--log");
    return c;
}

}  // namespace

const char* CommandName(CommandLine::Command c) {
    switch (c) {
        case CommandLine::Command::Read:
            return "read";
        case CommandLine::Command::Apply:
            return "apply";
        case CommandLine::Command::Verify:
            return "verify";
        case CommandLine::Command::Batch:
            return "batch";
        case CommandLine::Command::List:
            return "list";
        case CommandLine::Command::None:
            break;
    }
    return "";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    std::vector<std::string> positionals;
    bool toolkitOptions = false, countGiven = false, optionsEnded = false;
    // The value of an option given as "--name VALUE" or "--name=VALUE".
    auto value = [&](size_t& i, const std::string& name, std::string* out) -> bool {
        const std::string& a = args[i];
        if (a == name) {
            if (i + 1 >= args.size()) return false;
            // An option or a command where the value should be means the
            // value was left out ("--device --json", "--simulate-state read");
            // a file of such a name is given as NAME=VALUE or ./read.
            const std::string& next = args[i + 1];
            CommandLine::Command command;
            if ((next.size() > 1 && next[0] == '-') || ParseCommandName(next, &command))
                return false;
            *out = args[++i];
        } else {
            *out = a.substr(name.size() + 1);
        }
        return !out->empty();
    };
    auto is = [](const std::string& a, const char* name) {
        const size_t n = std::char_traits<char>::length(name);
        return a.compare(0, n, name) == 0 && (a.size() == n || a[n] == '=');
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool option = !optionsEnded && a.size() > 1 && a[0] == '-';
        if (!option) {
            if (c.command == CommandLine::Command::None && positionals.empty()) {
                if (!ParseCommandName(a, &c.command))
                    return Error(
                        "unknown command '" + a + "' (choose read, apply, verify, batch or list)",
                        a);
            } else {
                positionals.push_back(a);
            }
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "-h" || a == "--help") {
            c.action = CommandLine::Action::Help;
            return c;
        } else if (a == "--version") {
            c.action = CommandLine::Action::Version;
            return c;
        } else if (a == "--simulate") {
            c.simulate = SimulatedDevice::Reader;
            c.simulated = {c.simulate};
        } else if (a.rfind("--simulate=", 0) == 0) {
            // A comma-separated list attaches one virtual device per name.
            c.simulated.clear();
            std::string_view names = std::string_view(a).substr(11);
            for (;;) {
                const size_t comma = names.find(',');
                const std::string name(names.substr(0, comma));
                SimulatedDevice kind = SimulatedDevice::None;
                if (!sim::ParseSimulatedDevice(name, &kind))
                    return Error("unknown simulated device '" + name +
                                     "' (choose reader, keypad, old-reader or silent)",
                                 a);
                c.simulated.push_back(kind);
                if (comma == std::string_view::npos) break;
                names.remove_prefix(comma + 1);
            }
            if (c.simulated.size() > MAX_SIMULATED)
                return Error(
                    "--simulate takes at most " + std::to_string(MAX_SIMULATED) + " devices", a);
            c.simulate = c.simulated.front();
        } else if (is(a, "--simulate-state")) {
            if (!value(i, "--simulate-state", &c.simulateState))
                return Error("--simulate-state needs a file name", a);
        } else if (is(a, "--device")) {
            if (!value(i, "--device", &c.device)) return Error("--device needs a device path", a);
        } else if (is(a, "--serial")) {
            if (!value(i, "--serial", &c.serial)) return Error("--serial needs a serial number", a);
        } else if (is(a, "--trace")) {
            if (!value(i, "--trace", &c.traceFile))
                return Error("--trace needs a file name, or - for standard error", a);
        } else if (a == "--json") {
            c.json = true;
        } else if (a == "--parallel") {
            c.parallel = true;
        } else if (is(a, "--count")) {
            std::string text;
            if (!value(i, "--count", &text) || !ParseCount(text, &c.count))
                return Error("--count needs a whole number of devices from 1 to 4294967295", a);
            countGiven = true;
        } else if (is(a, "--log")) {
            if (!value(i, "--log", &c.logFile)) return Error("--log needs a file name", a);
        } else if (const size_t n = ToolkitOptionLength(args, i)) {
            toolkitOptions = true;
            i += n - 1;
        } else {
            return Error("unknown option '" + a + "'", a);
        }
    }
    return Finish(std::move(c), positionals, toolkitOptions, countGiven);
}

std::string HelpText(const std::string& program) {
    return "Usage: " + program +
           " [OPTION]...                 open the window\n"
           "  or:  " +
           program +
           " [OPTION]... read [--json]\n"
           "  or:  " +
           program +
           " [OPTION]... apply PROFILE\n"
           "  or:  " +
           program +
           " [OPTION]... verify PROFILE\n"
           "  or:  " +
           program +
           " [OPTION]... batch PROFILE [--count N] [--log FILE.csv] [--parallel]\n"
           "  or:  " +
           program +
           " [OPTION]... list [--json]\n"
           "Configure a USB HID card reader (vendor 016c, product 04f3): ID card number\n"
           "format, magnetic tracks and sentinels, and the keys of its keypad variant.\n"
           "\n"
           "Commands (no display needed; they do what the window's buttons do):\n"
           "  read            print the attached device's settings (and key names of a\n"
           "                  keypad); with --json as a profile that apply and verify take\n"
           "  apply PROFILE   write the profile's settings (Set Device, and Config key when\n"
           "                  it has keys), then read them back and compare\n"
           "  verify PROFILE  compare the attached device with the profile; print each\n"
           "                  setting that differs, expected and found\n"
           "  batch PROFILE   configure and verify every device as it is plugged in, one\n"
           "                  progress line each; --count N stops after N devices, --log\n"
           "                  appends one CSV row per device (time, count, result, device\n"
           "                  path, serial number); --parallel configures every device\n"
           "                  attached and plugged in at once, each on its own\n"
           "  list            print every attached reader and keypad interface: device\n"
           "                  path, interface, serial number, and whether it may be opened\n"
           "\n"
           "Options:\n"
           "  --simulate[=DEVICE]  use a virtual device instead of real hardware;\n"
           "                       DEVICE is reader (default), keypad, old-reader or silent;\n"
           "                       batch plugs in one fresh virtual device after another;\n"
           "                       a list (reader,reader,keypad) attaches one device each\n"
           "  --simulate-state FILE  keep the virtual devices in FILE between commands: the\n"
           "                       first run makes them, later runs find what they hold\n"
           "  --device PATH        talk to the device at PATH only (see 'list')\n"
           "  --serial S           talk to the device with serial number S only; without\n"
           "                       --device or --serial a command refuses when more than\n"
           "                       one device is attached\n"
           "  --trace FILE         write every HID report sent and received to FILE\n"
           "                       (- for standard error)\n"
           "  -h, --help           show this help and exit\n"
           "      --version        show the version and exit\n"
           "\n"
           "A PROFILE is a JSON file {\"version\": 1, ...} as 'read --json' prints it.\n"
           "\n"
           "Exit status:\n"
           "  0  success: written, or the device holds the profile\n"
           "  1  the device differs from the profile (verify, apply's read-back), or a\n"
           "     batch device failed\n"
           "  2  error: bad option or profile, no device, failed transfer, a file that\n"
           "     cannot be read or written\n"
           "\n" +
           HELP_PLATFORM;
}

std::string VersionText() {
    return std::string("reader-config ") + READER_CONFIG_VERSION + "\n";
}

}  // namespace cli
