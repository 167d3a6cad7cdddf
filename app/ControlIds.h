#pragma once
// Ids of the main dialog's controls, menu commands and timer. Every other
// file names controls through these constants.

#include <array>

namespace ids {

// Right-hand column and the controls of both views.
constexpr int IDC_OUTPUT = 1000;
constexpr int IDC_STATUS = 1142;
// The device the dialog talks to, shown while several are attached.
constexpr int IDC_DEVICE_LABEL = 1143;
constexpr int IDC_CLEAR = 1017;
constexpr int IDC_COMPUTER_SLOW = 1131;
constexpr int IDC_LANGUAGE_GROUP = 1068;
constexpr int IDC_CHINESE = 1069;
constexpr int IDC_ENGLISH = 1070;
constexpr int IDCANCEL = 2;

// General settings view: magnetic card area.
constexpr int IDC_MAG_AREA = 1057;
constexpr int IDC_TRACK_GROUP = 1006;
constexpr int IDC_TRACK1 = 1008;
constexpr int IDC_TRACK2 = 1015;
constexpr int IDC_TRACK3 = 1018;
constexpr int IDC_CR_GROUP = 1007;
constexpr int IDC_CR_TRACK1 = 1020;
constexpr int IDC_CR_TRACK2 = 1021;
constexpr int IDC_CR_TRACK3 = 1022;
constexpr int IDC_CR_PACKET = 1023;
constexpr int IDC_FILTER_EQUALS = 1047;
constexpr int IDC_SENTINEL_GROUP = 1005;
constexpr int IDC_SENTINELS = 1048;
constexpr int IDC_SENTINEL_START_HEAD = 1063;
constexpr int IDC_SENTINEL_END_HEAD = 1064;
constexpr int IDC_SENTINEL_TRK1_HEAD = 1065;
constexpr int IDC_SENTINEL_TRK2_HEAD = 1066;
constexpr int IDC_SENTINEL_TRK3_HEAD = 1067;
constexpr int IDC_T1_START = 1009;
constexpr int IDC_T1_END = 1010;
constexpr int IDC_T2_START = 1011;
constexpr int IDC_T2_END = 1012;
constexpr int IDC_T3_START = 1013;
constexpr int IDC_T3_END = 1014;
// The six sentinel fields in frame order: track 1 start, end, track 2 ...
constexpr std::array<int, 6> SENTINEL_EDITS = {IDC_T1_START, IDC_T1_END,   IDC_T2_START,
                                               IDC_T2_END,   IDC_T3_START, IDC_T3_END};

// General settings view: ID card area.
constexpr int IDC_ID_AREA = 1050;
constexpr int IDC_DECIMAL_GROUP = 1055;
constexpr int IDC_HEX_GROUP = 1056;
constexpr int IDC_FORMAT_FIRST = 1028;  // format "1"
constexpr int IDC_FORMAT_LAST = 1040;   // format "="
constexpr int IDC_FORMAT_RESERVED = 1041;
constexpr int IDC_SYMBOL_GROUP = 1071;
constexpr int IDC_MIDDLE_SEP = 1042;
constexpr int IDC_START_SEP = 1043;
constexpr int IDC_END_SEP = 1044;
constexpr int IDC_MIDDLE_SEP_TEXT = 1052;
constexpr int IDC_START_SEP_TEXT = 1053;
constexpr int IDC_END_SEP_TEXT = 1054;
constexpr int IDC_ENTER_AFTER = 1045;
constexpr int IDC_SHIELD_KEYS = 1140;

// General settings view: command buttons.
constexpr int IDC_SET_DEVICE = 1024;
constexpr int IDC_DEFAULT_SETTING = 1025;
constexpr int IDC_READ_DEVICE = 1026;
constexpr int IDC_BATCH = 1027;

// Keyboard settings view.
constexpr int IDC_AUTO_KEYBOARD = 1051;
constexpr int IDC_KEYPAD_GROUP = 1080;
constexpr int IDC_CONFIG_KEY = 1078;
constexpr int IDC_DEFAULT_KEYS = 1121;
constexpr int IDC_READ_CONFIG = 1122;
constexpr int IDC_KEYPAD_BATCH = 1079;
constexpr int IDC_TIP_GROUP = 1137;
constexpr int IDC_TIP_TEXT = 1139;

constexpr int KEY_FIELD_COUNT = 20;
// Edit of key field n (1..20): KEY1 1081, KEY2 1082, from KEY3 on 1083 + 2(n-2).
constexpr int KeyFieldId(int n) {
    return n == 1 ? 1081 : n == 2 ? 1082 : 1083 + 2 * (n - 2);
}
// Group box of key field n: KEY1 1083, KEY2 1084, from KEY3 on 1084 + 2(n-2).
constexpr int KeyGroupId(int n) {
    return n == 1 ? 1083 : 1084 + 2 * (n - 2);
}
// Number 1..20 of the key field with this edit id, 0 when it is none.
constexpr int KeyFieldNumber(int id) {
    for (int n = 1; n <= KEY_FIELD_COUNT; ++n)
        if (KeyFieldId(n) == id) return n;
    return 0;
}

// Menu commands.
constexpr int ID_INSTRUCTIONS = 32780;
constexpr int ID_SOFTWARE_INFO = 32781;
constexpr int ID_UPDATE = 32801;
constexpr int ID_TOGGLE_VIEW = 32797;
constexpr int ID_EXIT = 32782;
// Entries of the window's own menu, after About.
constexpr int ID_SAVE_PROFILE = 32901;
constexpr int ID_LOAD_PROFILE = 32902;
constexpr int ID_SAVE_BATCH_LOG = 32903;
// The device menu: one entry per attached reader, while several are.
constexpr int ID_DEVICE_FIRST = 32910;
constexpr int DEVICE_ENTRY_LIMIT = 64;

constexpr int CLOCK_TIMER = 2;
constexpr int CLOCK_PERIOD_MS = 100;

}  // namespace ids
