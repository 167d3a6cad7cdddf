// Which of the two control sets is visible.

#include <vector>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/keypad/ViewSets.h"

using namespace ids;

const std::vector<int>& GeneralViewControls() {
    static const std::vector<int> set = [] {
        std::vector<int> s = {IDC_SHIELD_KEYS};
        for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id) s.push_back(id);
        for (int id : {IDC_MIDDLE_SEP, IDC_START_SEP, IDC_END_SEP, IDC_ENTER_AFTER,
                       IDC_MIDDLE_SEP_TEXT, IDC_START_SEP_TEXT, IDC_END_SEP_TEXT, IDC_SENTINELS})
            s.push_back(id);
        for (int id : SENTINEL_EDITS) s.push_back(id);
        for (int id : {IDC_TRACK1,
                       IDC_TRACK2,
                       IDC_TRACK3,
                       IDC_FILTER_EQUALS,
                       IDC_CR_TRACK1,
                       IDC_CR_TRACK2,
                       IDC_CR_TRACK3,
                       IDC_CR_PACKET,
                       IDC_ID_AREA,
                       IDC_DECIMAL_GROUP,
                       IDC_HEX_GROUP,
                       IDC_SYMBOL_GROUP,
                       IDC_MAG_AREA,
                       IDC_TRACK_GROUP,
                       IDC_CR_GROUP,
                       IDC_SENTINEL_START_HEAD,
                       IDC_SENTINEL_END_HEAD,
                       IDC_SENTINEL_TRK1_HEAD,
                       IDC_SENTINEL_TRK2_HEAD,
                       IDC_SENTINEL_TRK3_HEAD,
                       IDC_SET_DEVICE,
                       IDC_DEFAULT_SETTING,
                       IDC_READ_DEVICE,
                       IDC_BATCH,
                       IDC_SENTINEL_GROUP})
            s.push_back(id);
        return s;
    }();
    return set;
}

const std::vector<int>& KeyboardViewControls() {
    static const std::vector<int> set = [] {
        std::vector<int> s = {IDC_AUTO_KEYBOARD, IDC_KEYPAD_GROUP, IDC_CONFIG_KEY,
                              IDC_DEFAULT_KEYS,  IDC_READ_CONFIG,  IDC_KEYPAD_BATCH};
        for (int n = 1; n <= KEY_FIELD_COUNT; ++n) {
            s.push_back(KeyFieldId(n));
            s.push_back(KeyGroupId(n));
        }
        s.push_back(IDC_TIP_GROUP);
        s.push_back(IDC_TIP_TEXT);
        return s;
    }();
    return set;
}

void CReaderConfigDlg::ShowView(int general) {
    for (int id : GeneralViewControls()) m_ui.SetVisible(id, general == 1);
    for (int id : KeyboardViewControls()) m_ui.SetVisible(id, general != 1);
    m_ui.SetChecked(IDC_CHINESE, !g_bEnglish);
    m_ui.SetChecked(IDC_ENGLISH, g_bEnglish != 0);
}
