#include "profile/ProfileSettings.h"

#include "base/Gbk.h"
#include "keypad/KeyNameTable.h"

namespace profile {
reader::SettingsState SettingsOfProfile(const Profile& p) {
    reader::SettingsState s;
    s.format = p.idFormat;
    const auto symbols = Symbols(p);
    for (size_t i = 0; i < symbols.size(); ++i) {
        s.idSymbolOn[i] = symbols[i]->enabled;
        s.texts[static_cast<size_t>(reader::ID_SYMBOL_FIELDS[i])] = tk::Utf8ToGbk(symbols[i]->text);
    }
    s.enter = p.enter;
    s.tracks = p.tracks;
    for (size_t i = 0; i < reader::SENTINEL_FIELDS.size(); ++i)
        s.texts[static_cast<size_t>(reader::SENTINEL_FIELDS[i])] =
            p.sentinelsEnabled ? tk::Utf8ToGbk(p.sentinels[i]) : std::string();
    s.crAfterPacket = p.crAfterPacket;
    if (!p.crAfterPacket) s.crAfterTrack = p.crAfterTrack;
    s.filter = p.filterEquals;
    return s;
}

Profile ProfileOfRead(const core::ReadResult& read) {
    const reader::SettingsState s = read.Settings();
    Profile p;
    p.idFormat = s.format;
    const auto symbols = Symbols(p);
    for (size_t i = 0; i < 3; ++i) {
        symbols[i]->enabled = s.idSymbolOn[i];
        symbols[i]->text = tk::GbkToUtf8(s.texts[static_cast<size_t>(reader::ID_SYMBOL_FIELDS[i])]);
    }
    p.enter = s.enter;
    p.tracks = s.tracks;
    p.sentinelsEnabled = read.SentinelsOn();
    for (size_t i = 0; i < reader::SENTINEL_FIELDS.size(); ++i)
        p.sentinels[i] = tk::GbkToUtf8(s.texts[static_cast<size_t>(reader::SENTINEL_FIELDS[i])]);
    p.crAfterTrack = s.crAfterTrack;
    p.crAfterPacket = s.crAfterPacket;
    p.filterEquals = s.filter;
    return p;
}

core::KeyCodes KeyCodesOfNames(const std::array<std::string, KEY_COUNT>& names) {
    core::KeyCodes codes{};
    for (size_t i = 0; i < codes.size(); ++i) codes[i] = KeyNameToCode(tk::Utf8ToGbk(names[i]));
    return codes;
}

std::array<std::string, KEY_COUNT> KeyNamesOfCodes(const core::KeyCodes& codes, bool english) {
    std::array<std::string, KEY_COUNT> names;
    for (size_t i = 0; i < codes.size(); ++i)
        names[i] = tk::GbkToUtf8(KeyCodeName(codes[i], english));
    return names;
}

}  // namespace profile
