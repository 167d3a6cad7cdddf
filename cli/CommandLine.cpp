#include "cli/CommandLine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace cli {
namespace {

// Enough for a hub full of readers; guards against a runaway list.
constexpr size_t MAX_SIMULATED = 64;

CommandLine Error(const Text& text, std::initializer_list<std::string_view> args,
                  const std::string& offending) {
    CommandLine c;
    c.action = CommandLine::Action::Error;
    c.error = Say(Language::English, text, args);
    c.errorZh = Say(Language::Chinese, text, args);
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
// *platform: whether it is -platform, which chooses the window's display.
size_t ToolkitOptionLength(const std::vector<std::string>& args, size_t i, bool* platform) {
    std::string_view a = args[i];
    if (a.size() < 2 || a[0] != '-') return 0;
    a.remove_prefix(a[1] == '-' ? 2 : 1);
    const size_t eq = a.find('=');
    const std::string_view name = a.substr(0, eq);
    const auto has = [name](const auto& list) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    *platform = name == "platform";
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
                   bool countGiven, bool langGiven) {
    using Command = CommandLine::Command;
    if (c.command == Command::None) {
        if (c.json || countGiven || !c.logFile.empty() || c.parallel || c.force)
            return Error({"--json, --count, --log, --parallel and --force need a command",
                          "--json、--count、--log、--parallel 和 --force 需要一个命令"},
                         {}, "");
        if (!c.device.empty() || !c.serial.empty())
            return Error(
                {"--device and --serial need a command", "--device 和 --serial 需要一个命令"}, {},
                "");
        if (!c.simulateState.empty())
            return Error({"--simulate-state needs a command", "--simulate-state 需要一个命令"}, {},
                         "--simulate-state");
        if (c.quiet || c.verbose || langGiven)
            return Error({"-q, -v and --lang need a command (the window has its own language "
                          "switch)",
                          "-q、-v 和 --lang 需要一个命令（窗口有自己的语言选择）"},
                         {}, "");
        return c;
    }
    const std::string name = CommandName(c.command);
    if (toolkitOptions)
        return Error({"window options do not apply to '{}'", "窗口选项不适用于 '{}'"}, {name},
                     name);
    const size_t wanted = c.command == Command::Read || c.command == Command::List ? 0 : 1;
    if (positionals.size() < wanted)
        return Error({"'{}' needs a PROFILE file", "'{}' 需要一个配置文件（PROFILE）"}, {name},
                     name);
    if (positionals.size() > wanted)
        return Error({"unexpected argument '{}'", "多余的参数 '{}'"}, {positionals[wanted]},
                     positionals[wanted]);
    if (wanted) c.profile = positionals[0];
    if (!c.simulateState.empty() && c.simulate == SimulatedDevice::None)
        return Error({"--simulate-state needs --simulate", "--simulate-state 需要 --simulate"}, {},
                     "--simulate-state");
    if (!c.device.empty() && !c.serial.empty())
        return Error({"choose the device by --device or by --serial, not both",
                      "请用 --device 或 --serial 之一选择设备，不要同时使用"},
                     {}, "--serial");
    if (c.command == Command::List && (!c.device.empty() || !c.serial.empty()))
        return Error({"'list' shows every device; --device and --serial do not apply",
                      "'list' 列出所有设备；--device 和 --serial 不适用"},
                     {}, "list");
    if ((countGiven || !c.logFile.empty() || c.parallel) && c.command != Command::Batch)
        return Error({"--count, --log and --parallel belong to 'batch'",
                      "--count、--log 和 --parallel 只用于 'batch'"},
                     {},
                     countGiven   ? "--count"
                     : c.parallel ? "--parallel"
                                  : "--log");
    if (c.force && c.command != Command::Apply)
        return Error({"--force belongs to 'apply'", "--force 只用于 'apply'"}, {}, "--force");
    if (c.quiet && c.verbose)
        return Error({"choose -q or -v, not both", "-q 和 -v 不能同时使用"}, {}, "-q");
    if (c.json && c.logFile == "-")
        return Error({"--json and --log - both write to standard output; give --log a file",
                      "--json 和 --log - 都写到标准输出；请给 --log 一个文件名"},
                     {}, "--log");
    return c;
}

// Help and version stop at once; the rest of the line still names the
// command whose help is asked for, and its language.
CommandLine Stop(CommandLine c, CommandLine::Action action, const std::vector<std::string>& args,
                 size_t from) {
    c.action = action;
    for (size_t i = from; i < args.size(); ++i) {
        const std::string& a = args[i];
        CommandLine::Command command;
        if (c.command == CommandLine::Command::None && ParseCommandName(a, &command))
            c.command = command;
        else if ((a == "--lang" && i + 1 < args.size()) || a.rfind("--lang=", 0) == 0) {
            const std::string value = a == "--lang" ? args[++i] : a.substr(7);
            if (value == "zh") c.language = CommandLine::LanguageChoice::Chinese;
            if (value == "en") c.language = CommandLine::LanguageChoice::English;
        }
    }
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
    bool toolkitOptions = false, countGiven = false, optionsEnded = false, langGiven = false;
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
                        {"unknown command '{}' (choose read, apply, verify, batch or list)",
                         "未知命令 '{}'（可选 read、apply、verify、batch 或 list）"},
                        {a}, a);
            } else {
                positionals.push_back(a);
            }
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "-h" || a == "--help") {
            return Stop(std::move(c), CommandLine::Action::Help, args, i + 1);
        } else if (a == "-V" || a == "--version") {
            return Stop(std::move(c), CommandLine::Action::Version, args, i + 1);
        } else if (a == "-q" || a == "--quiet") {
            c.quiet = true;
        } else if (a == "--verbose") {
            ++c.verbose;
        } else if (a.size() >= 2 && a[0] == '-' && a[1] == 'v' &&
                   a.find_first_not_of('v', 1) == std::string::npos) {
            c.verbose += static_cast<int>(a.size() - 1);  // -v, -vv, -vvv
        } else if (a == "--force") {
            c.force = true;
        } else if (is(a, "--lang")) {
            std::string lang;
            if (!value(i, "--lang", &lang) || (lang != "zh" && lang != "en"))
                return Error({"--lang takes zh (Chinese) or en (English)",
                              "--lang 可选 zh（中文）或 en（英文）"},
                             {}, a);
            c.language = lang == "zh" ? CommandLine::LanguageChoice::Chinese
                                      : CommandLine::LanguageChoice::English;
            langGiven = true;
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
                    return Error(
                        {"unknown simulated device '{}' (choose reader, keypad, "
                         "old-reader or silent)",
                         "未知的模拟设备 '{}'（可选 reader、keypad、old-reader 或 silent）"},
                        {name}, a);
                c.simulated.push_back(kind);
                if (comma == std::string_view::npos) break;
                names.remove_prefix(comma + 1);
            }
            if (c.simulated.size() > MAX_SIMULATED)
                return Error(
                    {"--simulate takes at most {} devices", "--simulate 最多模拟 {} 个设备"},
                    {std::to_string(MAX_SIMULATED)}, a);
            c.simulate = c.simulated.front();
        } else if (is(a, "--simulate-state")) {
            if (!value(i, "--simulate-state", &c.simulateState) || c.simulateState == "-")
                return Error(
                    {"--simulate-state needs a file name", "--simulate-state 需要一个文件名"}, {},
                    a);
        } else if (is(a, "--device")) {
            if (!value(i, "--device", &c.device))
                return Error({"--device needs a device path", "--device 需要一个设备路径"}, {}, a);
        } else if (is(a, "--serial")) {
            if (!value(i, "--serial", &c.serial))
                return Error({"--serial needs a serial number", "--serial 需要一个序列号"}, {}, a);
        } else if (is(a, "--trace")) {
            if (!value(i, "--trace", &c.traceFile))
                return Error({"--trace needs a file name, or - for standard error",
                              "--trace 需要一个文件名，或用 - 表示标准错误"},
                             {}, a);
        } else if (a == "--json") {
            c.json = true;
        } else if (a == "--parallel") {
            c.parallel = true;
        } else if (is(a, "--count")) {
            std::string text;
            if (!value(i, "--count", &text) || !ParseCount(text, &c.count))
                return Error({"--count needs a whole number of devices from 1 to 4294967295",
                              "--count 需要一个 1 到 4294967295 的整数（设备台数）"},
                             {}, a);
            countGiven = true;
        } else if (is(a, "--log")) {
            if (!value(i, "--log", &c.logFile))
                return Error({"--log needs a file name", "--log 需要一个文件名"}, {}, a);
        } else if (bool platform = false;
                   const size_t n = ToolkitOptionLength(args, i, &platform)) {
            toolkitOptions = true;
            c.toolkitPlatform = c.toolkitPlatform || platform;
            i += n - 1;
        } else {
            return Error({"unknown option '{}'", "未知选项 '{}'"}, {a}, a);
        }
    }
    return Finish(std::move(c), positionals, toolkitOptions, countGiven, langGiven);
}

Language LanguageOf(const CommandLine& options, Language system) {
    switch (options.language) {
        case CommandLine::LanguageChoice::English:
            return Language::English;
        case CommandLine::LanguageChoice::Chinese:
            return Language::Chinese;
        case CommandLine::LanguageChoice::System:
            break;
    }
    return system;
}

std::string VersionText() {
    return std::string("reader-config ") + READER_CONFIG_VERSION + "\n";
}

}  // namespace cli
