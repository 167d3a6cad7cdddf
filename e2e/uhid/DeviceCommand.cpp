#include "e2e/uhid/DeviceCommand.h"

#include <charconv>

namespace e2e {

namespace {

constexpr std::string_view SPACES = " \t\r\n";

std::string_view Trim(std::string_view s) {
    const size_t b = s.find_first_not_of(SPACES);
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(SPACES) - b + 1);
}

// Splits off the first word of s.
std::string_view NextWord(std::string_view& s) {
    s = Trim(s);
    const size_t end = std::min(s.find_first_of(SPACES), s.size());
    const std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

bool ParseInt(std::string_view word, int base, int& value) {
    const char* end = word.data() + word.size();
    const auto r = std::from_chars(word.data(), end, value, base);
    return !word.empty() && r.ec == std::errc() && r.ptr == end;
}

bool ParseMs(std::string_view word, int& ms) {
    return ParseInt(word, 10, ms) && ms >= 0 && ms <= 600000;
}

}  // namespace

std::optional<DeviceCommand> ParseCommand(std::string_view line, std::string* error) {
    std::string reason;
    DeviceCommand cmd;
    std::string_view rest = line;
    const std::string_view verb = NextWord(rest);
    const std::string_view arg = NextWord(rest);
    const bool extra = !Trim(rest).empty();
    if (verb.empty()) {
        // Not a command, not an error either.
    } else if (verb == "plug" || verb == "unplug" || verb == "frames" || verb == "quit") {
        cmd.kind = verb == "plug"     ? CommandKind::Plug
                   : verb == "unplug" ? CommandKind::Unplug
                   : verb == "frames" ? CommandKind::Frames
                                      : CommandKind::Quit;
        if (!arg.empty()) reason = std::string(verb) + " takes no argument";
    } else if (verb == "model") {
        cmd.kind = CommandKind::Model;
        cmd.model = arg;
        if (arg.empty() || extra) reason = "model takes one name";
    } else if (verb == "delay") {
        cmd.kind = CommandKind::Delay;
        if (arg == "model")
            cmd.ms = -1;
        else if (!ParseMs(arg, cmd.ms))
            reason = "delay takes milliseconds (0..600000) or \"model\"";
        if (extra) reason = "delay takes one argument";
    } else if (verb == "sleep") {
        cmd.kind = CommandKind::Sleep;
        if (!ParseMs(arg, cmd.ms) || extra) reason = "sleep takes milliseconds (0..600000)";
    } else if (verb == "send") {
        cmd.kind = CommandKind::Send;
        std::string_view bytes = line.substr(line.find(verb) + verb.size());
        size_t n = 0;
        for (std::string_view b = NextWord(bytes); !b.empty(); b = NextWord(bytes), ++n) {
            int v = 0;
            if (n == cmd.frame.size() || b.size() > 2 || !ParseInt(b, 16, v) || v < 0) {
                reason = "send takes 1 to 64 hex bytes";
                break;
            }
            cmd.frame[n] = static_cast<uint8_t>(v);
        }
        if (n == 0) reason = "send takes 1 to 64 hex bytes";
    } else {
        reason = "unknown command \"" + std::string(verb) + "\"";
    }
    if (error) *error = reason;
    if (verb.empty() || !reason.empty()) return std::nullopt;
    return cmd;
}

std::vector<std::string> SplitScript(std::string_view script) {
    std::vector<std::string> lines;
    while (!script.empty()) {
        const size_t end = std::min(script.find(';'), script.size());
        const std::string_view one = Trim(script.substr(0, end));
        if (!one.empty()) lines.emplace_back(one);
        script.remove_prefix(std::min(end + 1, script.size()));
    }
    return lines;
}

}  // namespace e2e
