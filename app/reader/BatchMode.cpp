// Batch mode: every reader plugged in is configured with the settings on
// screen and counted, until the user stops it.

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/LanguageTexts.h"
#include "app/ReaderConfigDlg.h"

using namespace ids;

namespace {

// The settings controls a batch run locks, apart from the per-track
// carriage-return boxes, which follow the whole-packet box as well.
const std::vector<int>& BatchLockedControls() {
    static const std::vector<int> ids = [] {
        std::vector<int> v = {IDC_COMPUTER_SLOW, IDC_ID_AREA,  IDC_DECIMAL_GROUP, IDC_HEX_GROUP,
                              IDC_SYMBOL_GROUP,  IDC_MAG_AREA, IDC_TRACK_GROUP,   IDC_CR_GROUP};
        for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id) v.push_back(id);
        for (int id : {IDC_FILTER_EQUALS,
                       IDC_MIDDLE_SEP,
                       IDC_START_SEP,
                       IDC_END_SEP,
                       IDC_ENTER_AFTER,
                       IDC_SENTINELS,
                       IDC_TRACK1,
                       IDC_TRACK2,
                       IDC_TRACK3,
                       IDC_CR_PACKET,
                       IDC_SENTINEL_START_HEAD,
                       IDC_SENTINEL_END_HEAD,
                       IDC_SENTINEL_TRK1_HEAD,
                       IDC_SENTINEL_TRK2_HEAD,
                       IDC_SENTINEL_TRK3_HEAD,
                       IDC_SET_DEVICE,
                       IDC_DEFAULT_SETTING,
                       IDC_READ_DEVICE,
                       IDC_MIDDLE_SEP_TEXT,
                       IDC_START_SEP_TEXT,
                       IDC_END_SEP_TEXT})
            v.push_back(id);
        for (int id : SENTINEL_EDITS) v.push_back(id);
        return v;
    }();
    return ids;
}

}  // namespace

void CReaderConfigDlg::ToggleBatch() {
    const bool stopping = g_bBatchMode != 0;
    for (int id : BatchLockedControls()) m_ui.SetEnabled(id, stopping);
    const bool crPerTrack = stopping && !m_ui.IsChecked(IDC_CR_PACKET);
    for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3}) m_ui.SetEnabled(id, crPerTrack);

    if (!stopping) {
        m_ui.SetEnabled(IDC_SET_DEVICE, false);
        m_ui.SetText(IDC_BATCH, texts::BATCH_STOP);
        g_nBatchCount = 0;
        g_bBatchMode = 1;
        g_bBatchDone = 0;
        SetDevice();
    } else {
        m_ui.SetEnabled(IDC_SET_DEVICE, true);
        m_ui.SetText(IDC_BATCH, texts::BATCH_START);
        g_bBatchMode = 0;
    }
    RebuildMenuBar();
}
