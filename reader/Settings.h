#pragma once
// Everything a reader and its keypad variant hold, as one plain value: the
// general settings and the 20 key codes. The frame codecs encode it, the
// reader session reads it back into it, a profile file is it on disk, and
// the window's controls map to it field by field. Texts are GBK bytes.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "keypad/KeyCount.h"

namespace reader {

// Format n (1..13) of the ID-card number.
constexpr int FORMAT_COUNT = 13;
// A text of the settings holds at most this many bytes.
constexpr size_t MAX_TEXT_LEN = 9;

// The nine texts by field index, the index the string frames carry.
constexpr int FIELD_T1_START = 1;
constexpr int FIELD_T2_START = 2;
constexpr int FIELD_T3_START = 3;
constexpr int FIELD_T1_END = 4;
constexpr int FIELD_T2_END = 5;
constexpr int FIELD_T3_END = 6;
constexpr int FIELD_ID_MIDDLE = 7;
constexpr int FIELD_ID_START = 8;
constexpr int FIELD_ID_END = 9;
constexpr int FIELD_COUNT = 9;
// The sentinel fields track by track, start before end.
constexpr std::array<int, 6> SENTINEL_FIELDS = {FIELD_T1_START, FIELD_T1_END,   FIELD_T2_START,
                                                FIELD_T2_END,   FIELD_T3_START, FIELD_T3_END};
// The ID-card symbols: middle separator, start string, end string.
constexpr std::array<int, 3> ID_SYMBOL_FIELDS = {FIELD_ID_MIDDLE, FIELD_ID_START, FIELD_ID_END};
// The factory character of each field, by field index (slot 0 unused); also
// what the settings frame carries for a long text the reader cannot store.
constexpr std::array<char, FIELD_COUNT + 1> DEFAULT_CHARS = {0,   '%', ';', '+', '?',
                                                             '?', '?', ',', ';', '?'};

constexpr bool IsIdSymbolField(int index) {
    return index >= FIELD_ID_MIDDLE && index <= FIELD_ID_END;
}
constexpr bool IsSentinelField(int index) {
    return index >= FIELD_T1_START && index <= FIELD_T3_END;
}

// The code each key of the keypad sends, KEY1 to KEY20.
using KeyCodes = std::array<uint8_t, KEYPAD_KEY_COUNT>;

// The on/off settings, each a box of the general settings view.
enum class Switch {
    Track1,
    Track2,
    Track3,
    Sentinels,
    CrTrack1,
    CrTrack2,
    CrTrack3,
    CrPacket,
    FilterEquals,
    Enter,
    IdMiddle,
    IdStart,
    IdEnd,
};
constexpr int SWITCH_COUNT = 13;

struct Settings {
    int idFormat = 1;  // 1..FORMAT_COUNT; 0 when no format is selected
    // By field index (slot 0 unused); the factory sentinels, no ID-card symbols.
    std::array<std::string, FIELD_COUNT + 1> texts{"", "%", ";", "+", "?", "?", "?", "", "", ""};
    std::array<bool, 3> idSymbolOn{};  // fields 7, 8, 9
    bool enter = true;
    std::array<bool, 3> tracks{true, true, true};
    // Off: no sentinel goes out, whatever the six texts hold.
    bool sentinelsOn = true;
    std::array<bool, 3> crAfterTrack{};  // in effect only without crAfterPacket
    bool crAfterPacket = true;
    bool filterEquals = false;
    std::optional<KeyCodes> keys;  // a keypad's layout, when it is part of the settings

    const std::string& Text(int index) const { return texts[static_cast<size_t>(index)]; }
    std::string& Text(int index) { return texts[static_cast<size_t>(index)]; }
    bool IdSymbolOn(int index) const {
        return idSymbolOn[static_cast<size_t>(index - FIELD_ID_MIDDLE)];
    }
    void SetIdSymbol(int index, bool on, std::string gbk) {
        idSymbolOn[static_cast<size_t>(index - FIELD_ID_MIDDLE)] = on;
        Text(index) = std::move(gbk);
    }
    // The text that reaches the reader: a sentinel is empty while the
    // sentinels are off.
    const std::string& SentText(int index) const;

    bool& At(Switch s);
    bool At(Switch s) const { return const_cast<Settings*>(this)->At(s); }
};

// The switch of an ID-card symbol field's box.
constexpr Switch IdSymbolSwitch(int index) {
    return static_cast<Switch>(static_cast<int>(Switch::IdMiddle) + index - FIELD_ID_MIDDLE);
}

// The settings as they take effect on the reader: the sentinel texts emptied
// while the sentinels are off, the per-track carriage returns cleared under
// the whole-packet one. Two settings with the same effective form configure
// a reader alike.
Settings Effective(const Settings& s);

}  // namespace reader
