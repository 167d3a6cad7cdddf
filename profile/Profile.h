#pragma once
// Profile files: every setting of the general settings view and, optionally,
// the 20 keys of the keypad, as a JSON document. Loading one into the window
// sets its controls as a user would (ProfileControls.h).
//
// The file format is documented in README.md and profile/profile.schema.json.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "reader/Settings.h"

namespace profile {

// Version 1 holds texts of whole GBK characters and keys by name or one
// ASCII character. Version 2 holds every byte a reader or keypad can hold:
// any byte as «XX» (two upper-case hex digits) in a text or as a key. A file
// is written in version 1 whenever that holds it.
constexpr int PROFILE_VERSION_NAMES = 1;
constexpr int PROFILE_VERSION_BYTES = 2;
constexpr int KEY_COUNT = KEYPAD_KEY_COUNT;

// A profile is the settings model itself; its file holds texts as UTF-8 and
// keys as key names.
using Profile = reader::Settings;

// A reason given to the user, in English and in Chinese.
struct Reason {
    std::string en, zh;
};

// A file's text parsed and checked. On failure error names the field
// ("sentinels.track1Start: ...") and profile is empty; errorZh gives the
// same reason in Chinese, with the same field names.
struct ParseResult {
    std::optional<Profile> profile;
    std::string error;
    std::string errorZh;
    const std::string& Error(bool chinese) const { return chinese ? errorZh : error; }
};
ParseResult ParseProfile(const std::string& json);

// The profile as a JSON document (two-space indent, members in a fixed
// order, newline at the end) that ParseProfile accepts as is.
std::string ProfileToJson(const Profile& p);

// Why a value cannot be part of a version 1 profile, or empty when it can: a
// text must travel to the reader as it looks (GBK, at most 9 bytes, no
// control characters); a key is a key name or one printable ASCII character.
std::string CheckText(const std::string& text);
std::string CheckKeyName(const std::string& name);

// The name of key n (0..19) in messages, as the window and the manual say:
// "KEY1" to "KEY20".
std::string KeyFieldName(size_t n);

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
