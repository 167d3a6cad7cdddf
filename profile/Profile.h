#pragma once
// A profile: every setting of the general settings view and, optionally, the
// 20 key names of the keypad, as plain data that a JSON file holds. Profiles
// are converted to and from the controls' state (ProfileControls.h), so
// loading one is the same as setting the controls by hand. Texts are UTF-8,
// as the controls show them.
//
// The file format is documented in README.md and profile/profile.schema.json.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace profile {

constexpr int PROFILE_VERSION = 1;
constexpr int KEY_COUNT = 20;

struct Symbol {
    bool enabled = false;
    std::string text;
};

struct Profile {
    int idFormat = 1;  // 1..13 in the order of the format buttons; 0 when none is selected
    Symbol middleSeparator, startString, endString;
    bool enter = true;
    std::array<bool, 3> tracks{true, true, true};
    bool sentinelsEnabled = true;
    // Track 1 start, end, track 2 start, end, track 3 start, end.
    std::array<std::string, 6> sentinels{"%", "?", ";", "?", "+", "?"};
    std::array<bool, 3> crAfterTrack{};
    bool crAfterPacket = true;
    bool filterEquals = false;
    std::optional<std::array<std::string, KEY_COUNT>> keys;  // KEY1..KEY20
};

// The three ID-card symbols in the order of their fields: middle separator,
// start string, end string.
inline std::array<Symbol*, 3> Symbols(Profile& p) {
    return {&p.middleSeparator, &p.startString, &p.endString};
}
inline std::array<const Symbol*, 3> Symbols(const Profile& p) {
    return {&p.middleSeparator, &p.startString, &p.endString};
}

// The JSON member names of the six sentinels, in Profile::sentinels order.
extern const std::array<const char*, 6> SENTINEL_NAMES;

// A file's text parsed and checked. On failure error names the field
// ("sentinels.track1Start: ...") and profile is empty.
struct ParseResult {
    std::optional<Profile> profile;
    std::string error;
};
ParseResult ParseProfile(const std::string& json);

// The profile as a JSON document (two-space indent, members in a fixed
// order, newline at the end) that ParseProfile accepts as is.
std::string ProfileToJson(const Profile& p);

// Why a value cannot be part of a profile, or empty when it can: a text
// must travel to the reader as it looks (GBK, at most 9 bytes, no control
// characters); a key is a key name or one printable ASCII character.
std::string CheckText(const std::string& text);
std::string CheckKeyName(const std::string& name);

// The settings that take effect on the reader, one "field", "value" pair
// each in file order: a text whose box is off, the sentinels while they are
// off and the per-track carriage returns under the whole-packet one are left
// out. Key names are given as the key codes they send.
std::vector<std::pair<std::string, std::string>> EffectiveSettings(const Profile& p);

struct Difference {
    std::string field, expected, found;
};
// Where found does not hold what expected asks for. Keys are compared only
// when expected has them.
std::vector<Difference> Differences(const Profile& expected, const Profile& found);

}  // namespace profile
