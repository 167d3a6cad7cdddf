#include "profile/Profile.h"

#include <nlohmann/json.hpp>

#include "base/Gbk.h"
#include "keypad/KeyNameTable.h"
#include "reader/SettingsFrame.h"

namespace profile {

const std::array<const char*, 6> SENTINEL_NAMES = {"track1Start", "track1End",   "track2Start",
                                                   "track2End",   "track3Start", "track3End"};

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

constexpr const char* TRACK_NAMES[] = {"track1", "track2", "track3"};
constexpr const char* SYMBOL_NAMES[] = {"middleSeparator", "startString", "endString"};

// Reads one JSON object member by member; the first fault is kept with the
// full name of its field, and every later read is skipped.
class Reader {
  public:
    explicit Reader(std::string* error) : m_error(error) {}
    bool Ok() const { return m_error->empty(); }
    void Fail(const std::string& field, const std::string& why) {
        if (Ok()) *m_error = field + ": " + why;
    }

    // obj must be an object holding exactly the members in names (plus the
    // optional ones); reports the first unknown member.
    bool Object(const Json& obj, const std::string& field, std::initializer_list<const char*> names,
                std::initializer_list<const char*> optional = {}) {
        if (!Ok()) return false;
        if (!obj.is_object()) {
            Fail(field.empty() ? "profile" : field, "must be a JSON object");
            return false;
        }
        for (const auto& item : obj.items()) {
            bool known = false;
            for (const char* n : names) known = known || item.key() == n;
            for (const char* n : optional) known = known || item.key() == n;
            if (!known) {
                Fail(Join(field, item.key()), "unknown field");
                return false;
            }
        }
        for (const char* n : names)
            if (!obj.contains(n)) {
                Fail(Join(field, n), "missing");
                return false;
            }
        return true;
    }
    void Bool(const Json& obj, const std::string& field, const char* name, bool* out) {
        if (!Ok()) return;
        const Json& v = obj.at(name);
        if (!v.is_boolean()) return Fail(Join(field, name), "must be true or false");
        *out = v.get<bool>();
    }
    void Text(const Json& obj, const std::string& field, const char* name, std::string* out) {
        if (!Ok()) return;
        const Json& v = obj.at(name);
        if (!v.is_string()) return Fail(Join(field, name), "must be a string");
        const std::string text = v.get<std::string>();
        const std::string why = CheckText(text);
        if (!why.empty()) return Fail(Join(field, name), why);
        *out = text;
    }
    static std::string Join(const std::string& field, const std::string& name) {
        return field.empty() ? name : field + "." + name;
    }

  private:
    std::string* m_error;
};

void ReadSymbol(Reader& r, const Json& root, const char* name, Symbol* out) {
    if (!r.Object(root.contains(name) ? root.at(name) : Json(), name, {"enabled", "text"})) return;
    const Json& obj = root.at(name);
    r.Bool(obj, name, "enabled", &out->enabled);
    r.Text(obj, name, "text", &out->text);
    if (r.Ok() && out->enabled && out->text.empty())
        r.Fail(std::string(name) + ".text", "must not be empty while enabled");
}

void ReadKeys(Reader& r, const Json& v, Profile* p) {
    if (!v.is_array() || v.size() != KEY_COUNT)
        return r.Fail("keys", "must be an array of 20 key names (KEY1 to KEY20)");
    std::array<std::string, KEY_COUNT> keys;
    for (size_t i = 0; i < keys.size(); ++i) {
        const std::string field = "keys[" + std::to_string(i) + "]";
        if (!v[i].is_string()) return r.Fail(field, "must be a string");
        keys[i] = v[i].get<std::string>();
        const std::string why = CheckKeyName(keys[i]);
        if (!why.empty()) return r.Fail(field, why);
    }
    p->keys = keys;
}

std::optional<Profile> ReadProfile(const Json& root, std::string* error) {
    Reader r(error);
    if (!root.is_object()) {
        r.Fail("profile", "must be a JSON object");
        return std::nullopt;
    }
    // The version comes first: a later version may have other members.
    if (!root.contains("version")) {
        r.Fail("version", "missing");
        return std::nullopt;
    }
    const Json& version = root.at("version");
    if (!version.is_number_integer() || version.get<int64_t>() != PROFILE_VERSION) {
        r.Fail("version", "unknown version " + version.dump() + " (this tool reads version 1)");
        return std::nullopt;
    }
    Profile p;
    if (!r.Object(root, "",
                  {"version", "idFormat", "middleSeparator", "startString", "endString", "enter",
                   "tracks", "sentinels", "carriageReturns", "filterEquals"},
                  {"keys", "$schema"}))
        return std::nullopt;

    const Json& format = root.at("idFormat");
    if (!format.is_number_integer() || format.get<int64_t>() < 1 ||
        format.get<int64_t>() > reader::FORMAT_COUNT) {
        r.Fail("idFormat", "must be a whole number from 1 to 13, not " + format.dump());
        return std::nullopt;
    }
    p.idFormat = format.get<int>();
    const auto symbols = Symbols(p);
    for (size_t i = 0; i < 3; ++i) ReadSymbol(r, root, SYMBOL_NAMES[i], symbols[i]);
    r.Bool(root, "", "enter", &p.enter);

    if (r.Object(root.at("tracks"), "tracks", {"track1", "track2", "track3"}))
        for (size_t i = 0; i < 3; ++i)
            r.Bool(root.at("tracks"), "tracks", TRACK_NAMES[i], &p.tracks[i]);

    const Json& sentinels = root.at("sentinels");
    if (r.Object(sentinels, "sentinels",
                 {"enabled", SENTINEL_NAMES[0], SENTINEL_NAMES[1], SENTINEL_NAMES[2],
                  SENTINEL_NAMES[3], SENTINEL_NAMES[4], SENTINEL_NAMES[5]})) {
        r.Bool(sentinels, "sentinels", "enabled", &p.sentinelsEnabled);
        for (size_t i = 0; i < 6; ++i)
            r.Text(sentinels, "sentinels", SENTINEL_NAMES[i], &p.sentinels[i]);
    }

    const Json& cr = root.at("carriageReturns");
    if (r.Object(cr, "carriageReturns", {"track1", "track2", "track3", "afterPacket"})) {
        for (size_t i = 0; i < 3; ++i)
            r.Bool(cr, "carriageReturns", TRACK_NAMES[i], &p.crAfterTrack[i]);
        r.Bool(cr, "carriageReturns", "afterPacket", &p.crAfterPacket);
    }
    r.Bool(root, "", "filterEquals", &p.filterEquals);
    if (r.Ok() && root.contains("keys")) ReadKeys(r, root.at("keys"), &p);
    if (!r.Ok()) return std::nullopt;
    return p;
}

std::string Quoted(const std::string& text) {
    return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string BoolText(bool b) {
    return b ? "true" : "false";
}

// The key code a name sends, as one canonical text: the English name of a
// named key, else the character.
std::string CanonicalKey(const std::string& name) {
    const uint8_t code = KeyNameToCode(tk::Utf8ToGbk(name));
    if (const KeyNameEntry* e = FindKeyName(code)) return e->shown.en;
    return tk::GbkToUtf8(code ? std::string(1, static_cast<char>(code)) : std::string());
}

}  // namespace

std::string CheckText(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return "holds a control character, which cannot be sent";
    const std::string gbk = tk::Utf8ToGbk(text);
    if (tk::GbkToUtf8(gbk) != text)
        return "holds a character that cannot be sent (not in the reader's GBK character set)";
    if (gbk.size() > reader::MAX_TEXT_LEN)
        return "is " + std::to_string(gbk.size()) + " bytes long in GBK; at most 9 fit";
    return "";
}

std::string CheckKeyName(const std::string& name) {
    if (name.empty()) return "";
    if (name.size() == 1 && name[0] >= 0x20 && name[0] < 0x7F) return "";
    for (const KeyNameEntry& e : KEY_NAME_TABLE) {
        const char* forms[] = {e.shown.zh, e.shown.en, e.aliases[0], e.aliases[1]};
        for (const char* form : forms)
            if (form && name == form) return "";
    }
    return Quoted(name) + " is neither a key name (F1, ENTER, ...) nor one ASCII character";
}

ParseResult ParseProfile(const std::string& json) {
    ParseResult result;
    Json root;
    try {
        root = Json::parse(json);
    } catch (const Json::exception& e) {
        // The library's message says where: "... at line 3, column 5: ...".
        std::string what = e.what();
        const size_t bracket = what.find("] ");
        result.error = "profile: not valid JSON (" +
                       (bracket == std::string::npos ? what : what.substr(bracket + 2)) + ")";
        return result;
    }
    result.profile = ReadProfile(root, &result.error);
    return result;
}

std::string ProfileToJson(const Profile& p) {
    OrderedJson j;
    j["version"] = PROFILE_VERSION;
    j["idFormat"] = p.idFormat;
    const auto symbols = Symbols(p);
    for (size_t i = 0; i < 3; ++i)
        j[SYMBOL_NAMES[i]] = {{"enabled", symbols[i]->enabled}, {"text", symbols[i]->text}};
    j["enter"] = p.enter;
    for (size_t i = 0; i < 3; ++i) j["tracks"][TRACK_NAMES[i]] = p.tracks[i];
    j["sentinels"]["enabled"] = p.sentinelsEnabled;
    for (size_t i = 0; i < 6; ++i) j["sentinels"][SENTINEL_NAMES[i]] = p.sentinels[i];
    for (size_t i = 0; i < 3; ++i) j["carriageReturns"][TRACK_NAMES[i]] = p.crAfterTrack[i];
    j["carriageReturns"]["afterPacket"] = p.crAfterPacket;
    j["filterEquals"] = p.filterEquals;
    if (p.keys) j["keys"] = *p.keys;
    // A text the controls hold that is no valid UTF-8 is written with
    // U+FFFD rather than failing the whole file.
    return j.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
}

std::vector<std::pair<std::string, std::string>> EffectiveSettings(const Profile& p) {
    std::vector<std::pair<std::string, std::string>> s;
    s.emplace_back("idFormat", p.idFormat ? std::to_string(p.idFormat) : "none");
    const auto symbols = Symbols(p);
    for (size_t i = 0; i < 3; ++i) {
        const std::string name = SYMBOL_NAMES[i];
        s.emplace_back(name + ".enabled", BoolText(symbols[i]->enabled));
        if (symbols[i]->enabled) s.emplace_back(name + ".text", Quoted(symbols[i]->text));
    }
    s.emplace_back("enter", BoolText(p.enter));
    for (size_t i = 0; i < 3; ++i)
        s.emplace_back(std::string("tracks.") + TRACK_NAMES[i], BoolText(p.tracks[i]));
    // Six empty sentinels send what the box switched off sends.
    bool anySentinel = false;
    for (const std::string& t : p.sentinels) anySentinel = anySentinel || !t.empty();
    const bool sentinelsOn = p.sentinelsEnabled && anySentinel;
    s.emplace_back("sentinels.enabled", BoolText(sentinelsOn));
    if (sentinelsOn)
        for (size_t i = 0; i < 6; ++i)
            s.emplace_back(std::string("sentinels.") + SENTINEL_NAMES[i], Quoted(p.sentinels[i]));
    if (!p.crAfterPacket)
        for (size_t i = 0; i < 3; ++i)
            s.emplace_back(std::string("carriageReturns.") + TRACK_NAMES[i],
                           BoolText(p.crAfterTrack[i]));
    s.emplace_back("carriageReturns.afterPacket", BoolText(p.crAfterPacket));
    s.emplace_back("filterEquals", BoolText(p.filterEquals));
    if (p.keys)
        for (size_t i = 0; i < KEY_COUNT; ++i)
            s.emplace_back("keys[" + std::to_string(i) + "]", Quoted(CanonicalKey((*p.keys)[i])));
    return s;
}

std::vector<Difference> Differences(const Profile& expected, const Profile& found) {
    Profile seen = found, asked = expected;
    if (!expected.keys) seen.keys.reset();
    if (!found.keys) asked.keys.reset();
    const auto want = EffectiveSettings(asked);
    const auto have = EffectiveSettings(seen);
    const auto lookup = [](const auto& list, const std::string& field) -> std::string {
        for (const auto& [f, v] : list)
            if (f == field) return v;
        return "(not in effect)";
    };
    std::vector<Difference> out;
    for (const auto& [field, value] : want) {
        const std::string other = lookup(have, field);
        if (other != value) out.push_back({field, value, other});
    }
    // A text the device has in effect behind a box the profile switches off
    // already shows as a difference in that box.
    if (expected.keys && !found.keys) out.push_back({"keys", "20 key names", "no keypad"});
    return out;
}

}  // namespace profile
