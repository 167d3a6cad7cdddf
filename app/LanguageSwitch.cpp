// The language switch and the menu bar and window title that follow the
// language, the view and the batch modes.

#include "app/AppTexts.h"
#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/LanguageTexts.h"
#include "app/MainMenu.h"
#include "app/ReaderConfigDlg.h"

using namespace ids;

void CReaderConfigDlg::SwitchToChinese() {
    SwitchLanguage(false);
}

void CReaderConfigDlg::SwitchToEnglish() {
    SwitchLanguage(true);
}

void CReaderConfigDlg::SwitchLanguage(bool english) {
    const auto in = [english](const TextPair& p) { return english ? p.en : p.zh; };
    // Controls of both views are relabelled, whichever view is shown.
    for (const texts::CaptionRow& row : texts::CAPTION_TABLE) {
        if (row.blankFirst) m_ui.SetText(row.id, texts::BLANK_GROUP_CAPTION);
        m_ui.SetText(row.id, in(row.text));
    }
    m_ui.SetText(IDC_BATCH, in(g_bBatchMode ? texts::BATCH_STOP : texts::BATCH_START));
    m_ui.SetText(IDC_KEYPAD_BATCH, in(g_bKeyboardBatch ? texts::BATCH_STOP : texts::BATCH_START));
    // Screen readers name the two controls that have no caption of their own.
    m_ui.SetAccessibleName(IDC_OUTPUT, in(texts::OUTPUT_PANE_NAME));
    m_ui.SetAccessibleName(IDC_STATUS, in(texts::STATUS_LINE_NAME));
    g_bEnglish = english ? 1 : 0;
    m_ui.SetInterfaceLanguage(english ? "en" : "zh-CN");
    RebuildMenuBar();
    ShowKeyboardTips();
    UpdateClock();
    UpdateDeviceLine();
}

void CReaderConfigDlg::RebuildMenuBar() {
    const bool keyboardView = g_bKeyboardView != 0;
    m_ui.SetWindowTitle(keyboardView ? texts::TITLE_KEYBOARD_VIEW : texts::TITLE_GENERAL_VIEW);
    // The view cannot be switched while either batch mode runs.
    const bool viewSwitchEnabled = !g_bKeyboardBatch && !g_bBatchMode;
    m_ui.SetMenuBar(app::MainMenuBar(g_bEnglish != 0, keyboardView, viewSwitchEnabled));
    UpdateWindowEntries();
}
