#include "profile/Profile.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "base/BoundedJson.h"
#include "base/Gbk.h"
#include "base/Printable.h"
#include "keypad/KeyNameTable.h"
#include "reader/SendRule.h"
#include "reader/SettingsFrame.h"

namespace profile {

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;
using reader::Switch;

// Where each setting of the model stands in the file, in file order: a
// member of the root object or of one of its groups.
enum class Kind { Format, Switch, Text };
struct Entry {
    const char* group;  // "" for the root object
    const char* name;
    Kind kind;
    int which;  // the Switch, or the field index of a text
};
constexpr int SW(Switch s) {
    return static_cast<int>(s);
}
constexpr Entry FILE_ENTRIES[] = {
    {"", "idFormat", Kind::Format, 0},
    {"middleSeparator", "enabled", Kind::Switch, SW(Switch::IdMiddle)},
    {"middleSeparator", "text", Kind::Text, reader::FIELD_ID_MIDDLE},
    {"startString", "enabled", Kind::Switch, SW(Switch::IdStart)},
    {"startString", "text", Kind::Text, reader::FIELD_ID_START},
    {"endString", "enabled", Kind::Switch, SW(Switch::IdEnd)},
    {"endString", "text", Kind::Text, reader::FIELD_ID_END},
    {"", "enter", Kind::Switch, SW(Switch::Enter)},
    {"tracks", "track1", Kind::Switch, SW(Switch::Track1)},
    {"tracks", "track2", Kind::Switch, SW(Switch::Track2)},
    {"tracks", "track3", Kind::Switch, SW(Switch::Track3)},
    {"sentinels", "enabled", Kind::Switch, SW(Switch::Sentinels)},
    {"sentinels", "track1Start", Kind::Text, reader::FIELD_T1_START},
    {"sentinels", "track1End", Kind::Text, reader::FIELD_T1_END},
    {"sentinels", "track2Start", Kind::Text, reader::FIELD_T2_START},
    {"sentinels", "track2End", Kind::Text, reader::FIELD_T2_END},
    {"sentinels", "track3Start", Kind::Text, reader::FIELD_T3_START},
    {"sentinels", "track3End", Kind::Text, reader::FIELD_T3_END},
    {"carriageReturns", "track1", Kind::Switch, SW(Switch::CrTrack1)},
    {"carriageReturns", "track2", Kind::Switch, SW(Switch::CrTrack2)},
    {"carriageReturns", "track3", Kind::Switch, SW(Switch::CrTrack3)},
    {"carriageReturns", "afterPacket", Kind::Switch, SW(Switch::CrPacket)},
    {"", "filterEquals", Kind::Switch, SW(Switch::FilterEquals)},
};

std::string FieldName(const Entry& e) {
    return *e.group ? std::string(e.group) + "." + e.name : e.name;
}
Switch SwitchOf(const Entry& e) {
    return static_cast<Switch>(e.which);
}

// The members an object of the file holds: the root's (group "") or a group's.
std::vector<std::string> MembersOf(const std::string& group) {
    std::vector<std::string> names;
    const auto add = [&](const std::string& n) {
        if (std::find(names.begin(), names.end(), n) == names.end()) names.push_back(n);
    };
    if (group.empty()) add("version");
    for (const Entry& e : FILE_ENTRIES) {
        if (group.empty())
            add(*e.group ? e.group : e.name);
        else if (group == e.group)
            add(e.name);
    }
    return names;
}

std::string Quoted(const std::string& text) {
    return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

Reason LengthFault(size_t bytes) {
    const std::string n = std::to_string(bytes);
    return {"is " + n + " bytes long in GBK; at most 9 fit",
            "按 GBK 编码长 " + n + " 个字节，最多只能 9 个"};
}

// Why a text or key cannot be sent, as the window gives the reason.
Reason Refusal(const reader::SendCheck& c) {
    if (c.status == reader::SendStatus::Unavailable)
        return {"needs a GBK conversion, which this system does not have",
                "需要 GBK 编码转换，本系统没有"};
    const std::string shown = reader::ShownCharacter(c.offending);
    return {"the character " + shown + " cannot be sent to the device as it looks",
            "字符 " + shown + " 无法按原样发送到设备"};
}

Reason TextFault(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            return {"holds a control character, which cannot be sent", "含有无法发送的控制字符"};
    const std::string gbk = tk::Utf8ToGbk(text);
    if (tk::GbkToUtf8(gbk) != text)
        return {"holds a character that cannot be sent (not in the reader's GBK character set)",
                "含有无法发送的字符（不在读卡器的 GBK 字符集中）"};
    if (gbk.size() > reader::MAX_TEXT_LEN) return LengthFault(gbk.size());
    return {};
}

Reason KeyNameFault(const std::string& name) {
    if (name.empty()) return {};
    if (name.size() == 1 && name[0] >= 0x20 && name[0] < 0x7F) return {};
    for (const KeyNameEntry& e : KEY_NAME_TABLE) {
        const char* forms[] = {e.shown.zh, e.shown.en, e.aliases[0], e.aliases[1]};
        for (const char* form : forms)
            if (form && name == form) return {};
    }
    return {Quoted(name) + " is neither a key name (F1, ENTER, ...) nor one ASCII character",
            Quoted(name) + " 既不是键名（F1、ENTER 等），也不是一个 ASCII 字符"};
}

const Reason MUST_BE_STRING{"must be a string", "必须是字符串"};
const Reason MUST_BE_OBJECT{"must be a JSON object", "必须是 JSON 对象"};
const Reason MISSING{"missing", "缺少此项"};

// Reads one JSON object member by member; the first fault is kept with the
// full name of its field, and every later read is skipped.
class Reader {
  public:
    explicit Reader(ParseResult* result) : m_result(result) {}
    int version = PROFILE_VERSION_NAMES;
    bool Ok() const { return m_result->error.empty(); }
    void Fail(const std::string& field, const Reason& why) {
        if (!Ok()) return;
        m_result->error = field + ": " + why.en;
        m_result->errorZh = field + ": " + why.zh;
    }

    // obj must be an object holding exactly the members in names (plus the
    // optional ones); reports the first unknown member.
    bool Object(const Json& obj, const std::string& field, const std::vector<std::string>& names,
                std::initializer_list<const char*> optional = {}) {
        if (!Ok()) return false;
        if (!obj.is_object()) {
            Fail(field.empty() ? "profile" : field, MUST_BE_OBJECT);
            return false;
        }
        for (const auto& item : obj.items()) {
            bool known = std::find(names.begin(), names.end(), item.key()) != names.end();
            for (const char* n : optional) known = known || item.key() == n;
            if (!known) {
                Fail(Join(field, item.key()), {"unknown field", "未知字段"});
                return false;
            }
        }
        for (const std::string& n : names)
            if (!obj.contains(n)) {
                Fail(Join(field, n), MISSING);
                return false;
            }
        return true;
    }
    void Bool(const Json& v, const std::string& field, bool* out) {
        if (!Ok()) return;
        if (!v.is_boolean()) return Fail(field, {"must be true or false", "必须是 true 或 false"});
        *out = v.get<bool>();
    }
    // A text of the file (UTF-8) as the GBK bytes the settings hold.
    void Text(const Json& v, const std::string& field, reader::FieldKind kind, std::string* out) {
        if (!Ok()) return;
        if (!v.is_string()) return Fail(field, MUST_BE_STRING);
        const std::string text = v.get<std::string>();
        if (version == PROFILE_VERSION_NAMES) {
            const Reason why = TextFault(text);
            if (!why.en.empty()) return Fail(field, why);
            *out = tk::Utf8ToGbk(text);
            return;
        }
        reader::SendCheck c = reader::CheckSendable(text, kind);
        if (c.status != reader::SendStatus::Ok) return Fail(field, Refusal(c));
        if (c.gbk.size() > reader::MAX_TEXT_LEN) return Fail(field, LengthFault(c.gbk.size()));
        *out = std::move(c.gbk);
    }
    // A key of the file: a key name, one character or a byte mark.
    void Key(const Json& v, const std::string& field, uint8_t* out) {
        if (!Ok()) return;
        if (!v.is_string()) return Fail(field, MUST_BE_STRING);
        const std::string name = v.get<std::string>();
        const Reason why = KeyNameFault(name);
        if (why.en.empty()) {
            *out = KeyNameToCode(tk::Utf8ToGbk(name));
            return;
        }
        if (version == PROFILE_VERSION_NAMES) return Fail(field, why);
        reader::SendCheck c = reader::CheckSendable(name, reader::FieldKind::KeyField);
        if (c.status != reader::SendStatus::Ok) return Fail(field, Refusal(c));
        // One character, or one byte: the key sends its first byte.
        const bool one =
            c.gbk.size() == 1 ||
            (c.gbk.size() == 2 && tk::IsGbkLeadByte(static_cast<unsigned char>(c.gbk[0])));
        if (!one)
            return Fail(field,
                        {Quoted(name) + " is neither a key name (F1, ENTER, ...) nor one character "
                                        "nor one byte written «XX»",
                         Quoted(name) + " 既不是键名（F1、ENTER 等），也不是一个字符或写作 «XX» "
                                        "的一个字节"});
        *out = static_cast<uint8_t>(c.gbk[0]);
    }
    static std::string Join(const std::string& field, const std::string& name) {
        return field.empty() ? name : field + "." + name;
    }

  private:
    ParseResult* m_result;
};

void ReadKeys(Reader& r, const Json& v, Profile* p) {
    if (!v.is_array() || v.size() != KEY_COUNT)
        return r.Fail("keys", {"must be an array of 20 key names (KEY1 to KEY20)",
                               "必须是由 20 个键名（KEY1 至 KEY20）组成的数组"});
    reader::KeyCodes codes{};
    for (size_t i = 0; i < codes.size(); ++i) r.Key(v[i], KeyFieldName(i), &codes[i]);
    if (r.Ok()) p->keys = codes;
}

void ReadEntry(Reader& r, const Json& obj, const Entry& e, Profile* p) {
    const Json& v = obj.at(e.name);
    switch (e.kind) {
        case Kind::Format:
            if (!v.is_number_integer() || v.get<int64_t>() < 1 ||
                v.get<int64_t>() > reader::FORMAT_COUNT)
                return r.Fail(FieldName(e),
                              {"must be a whole number from 1 to 13, not " + tk::DescribeJson(v),
                               "必须是 1 到 13 的整数，不能是 " + tk::DescribeJson(v, true)});
            p->idFormat = v.get<int>();
            return;
        case Kind::Switch:
            return r.Bool(v, FieldName(e), &p->At(SwitchOf(e)));
        case Kind::Text:
            r.Text(v, FieldName(e),
                   reader::IsIdSymbolField(e.which) ? reader::FieldKind::IdSymbol
                                                    : reader::FieldKind::Sentinel,
                   &p->Text(e.which));
            // A ticked symbol always sends a text.
            if (r.Ok() && reader::IsIdSymbolField(e.which) && p->IdSymbolOn(e.which) &&
                p->Text(e.which).empty())
                r.Fail(FieldName(e), {"must not be empty while enabled", "启用时不能为空"});
            return;
    }
}

std::optional<Profile> ReadProfile(const Json& root, ParseResult* result) {
    Reader r(result);
    if (!root.is_object()) {
        r.Fail("profile", MUST_BE_OBJECT);
        return std::nullopt;
    }
    // The version comes first: a later version may have other members.
    if (!root.contains("version")) {
        r.Fail("version", MISSING);
        return std::nullopt;
    }
    const Json& version = root.at("version");
    if (!version.is_number_integer() || version.get<int64_t>() < PROFILE_VERSION_NAMES ||
        version.get<int64_t>() > PROFILE_VERSION_BYTES) {
        r.Fail(
            "version",
            {"unknown version " + tk::DescribeJson(version) + " (this tool reads versions 1 and 2)",
             "未知版本 " + tk::DescribeJson(version, true) + "（本工具读取版本 1 和 2）"});
        return std::nullopt;
    }
    r.version = version.get<int>();
    Profile p;
    if (!r.Object(root, "", MembersOf(""), {"keys", "$schema"})) return std::nullopt;
    std::string checkedGroup;
    bool groupOk = true;
    for (const Entry& e : FILE_ENTRIES) {
        if (!*e.group) {
            ReadEntry(r, root, e, &p);
            continue;
        }
        if (checkedGroup != e.group) {
            checkedGroup = e.group;
            groupOk = r.Object(root.at(e.group), e.group, MembersOf(e.group));
        }
        if (groupOk) ReadEntry(r, root.at(e.group), e, &p);
    }
    if (r.Ok() && root.contains("keys")) ReadKeys(r, root.at("keys"), &p);
    if (!r.Ok()) return std::nullopt;
    return p;
}

std::string BoolText(bool b) {
    return b ? "true" : "false";
}

// A text as a file and a message show it: its characters, and every byte
// that is no character, or a control character, as a byte mark.
std::string FileText(const std::string& gbk) {
    return tk::Printable(tk::GbkToUtf8(gbk));
}

// Whether a version 1 file holds the code: a named key, none, or a
// printable ASCII character.
bool NamedOrAscii(uint8_t code) {
    return code == 0 || FindKeyName(code) || (code >= 0x20 && code < 0x7F);
}

// The file's name of a key code: the English name of a named key, the
// ASCII character, else the byte as a mark.
std::string KeyText(uint8_t code) {
    if (NamedOrAscii(code)) return tk::GbkToUtf8(KeyCodeName(code, true));
    return FileText(std::string(1, static_cast<char>(code)));
}

// The version that holds p: 1 unless a text or a key needs a byte mark.
int VersionFor(const Profile& p) {
    for (int index = 1; index <= reader::FIELD_COUNT; ++index)
        if (!CheckText(tk::GbkToUtf8(p.Text(index))).empty() ||
            tk::Utf8ToGbk(tk::GbkToUtf8(p.Text(index))) != p.Text(index))
            return PROFILE_VERSION_BYTES;
    if (p.keys)
        for (uint8_t code : *p.keys)
            if (!NamedOrAscii(code)) return PROFILE_VERSION_BYTES;
    return PROFILE_VERSION_NAMES;
}

}  // namespace

std::string CheckText(const std::string& text) {
    return TextFault(text).en;
}

std::string KeyFieldName(size_t n) {
    return "KEY" + std::to_string(n + 1);
}

std::string CheckKeyName(const std::string& name) {
    return KeyNameFault(name).en;
}

ParseResult ParseProfile(const std::string& json) {
    ParseResult result;
    const tk::BoundedJson parsed = tk::ParseBoundedJson(json);
    if (!parsed.error.empty()) {
        result.error = "profile: " + parsed.error;
        result.errorZh = "profile: " + parsed.errorZh;
        return result;
    }
    result.profile = ReadProfile(parsed.value, &result);
    return result;
}

std::string ProfileToJson(const Profile& p) {
    OrderedJson j;
    j["version"] = VersionFor(p);
    for (const Entry& e : FILE_ENTRIES) {
        OrderedJson& obj = *e.group ? j[e.group] : j;
        switch (e.kind) {
            case Kind::Format:
                obj[e.name] = p.idFormat;
                break;
            case Kind::Switch:
                obj[e.name] = p.At(SwitchOf(e));
                break;
            case Kind::Text:
                obj[e.name] = FileText(p.Text(e.which));
                break;
        }
    }
    if (p.keys) {
        OrderedJson& keys = j["keys"] = OrderedJson::array();
        for (uint8_t code : *p.keys) keys.push_back(KeyText(code));
    }
    // A text that is no valid UTF-8 is written with U+FFFD rather than
    // failing the whole file.
    return j.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
}

std::vector<std::pair<std::string, std::string>> EffectiveSettings(const Profile& p) {
    // Six empty sentinels send what the box switched off sends.
    bool anySentinel = false;
    for (int index : reader::SENTINEL_FIELDS) anySentinel = anySentinel || !p.Text(index).empty();
    const bool sentinelsOn = p.sentinelsOn && anySentinel;

    std::vector<std::pair<std::string, std::string>> s;
    for (const Entry& e : FILE_ENTRIES) {
        switch (e.kind) {
            case Kind::Format:
                s.emplace_back(FieldName(e), p.idFormat ? std::to_string(p.idFormat) : "none");
                break;
            case Kind::Switch: {
                const Switch sw = SwitchOf(e);
                const bool underPacket =
                    sw == Switch::CrTrack1 || sw == Switch::CrTrack2 || sw == Switch::CrTrack3;
                if (underPacket && p.crAfterPacket) break;
                s.emplace_back(FieldName(e),
                               BoolText(sw == Switch::Sentinels ? sentinelsOn : p.At(sw)));
                break;
            }
            case Kind::Text:
                if (reader::IsIdSymbolField(e.which) ? p.IdSymbolOn(e.which) : sentinelsOn)
                    s.emplace_back(FieldName(e), Quoted(FileText(p.Text(e.which))));
                break;
        }
    }
    if (p.keys)
        for (size_t i = 0; i < KEY_COUNT; ++i)
            s.emplace_back(KeyFieldName(i), Quoted(KeyText((*p.keys)[i])));
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
