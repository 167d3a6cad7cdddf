// The output pane, its clear button, the status-line clock.

#include <cstdio>

#include "app/AppTexts.h"
#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"

using namespace ids;

void CReaderConfigDlg::AppendOutput(std::string message) {
    const tk::LocalDateTime now = m_clock.Now();
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, " %02d:%02d:%02d\r\n", now.hour, now.minute, now.second);
    // Appending at the end keeps the cost of a line independent of the pane's
    // length; the visible result is that of rewriting the whole text.
    m_ui.AppendText(IDC_OUTPUT, message + stamp);
    m_ui.MoveCaretToEnd(IDC_OUTPUT);
    m_ui.SetFocus(IDC_OUTPUT);
}

void CReaderConfigDlg::ClearOutput() {
    m_ui.SetText(IDC_OUTPUT, "");
    m_ui.MoveCaretToEnd(IDC_OUTPUT);
    m_ui.SetFocus(IDC_OUTPUT);
}

void CReaderConfigDlg::OnOutputFocus() {
    g_nCurrentKey = 255;
}

void CReaderConfigDlg::UpdateClock() {
    const tk::LocalDateTime t = m_clock.Now();
    const int weekday = (t.weekday >= 1 && t.weekday <= 7) ? t.weekday - 1 : 0;
    const int month = (t.month >= 1 && t.month <= 12) ? t.month - 1 : 0;
    char text[96];
    if (g_bEnglish)
        std::snprintf(text, sizeof text, "  %s,%02d,%04d %02d:%02d:%02d %s",
                      texts::MONTHS_EN[month], t.day % 100, t.year % 10000, t.hour % 100,
                      t.minute % 100, t.second % 100, texts::WEEKDAYS_EN[weekday]);
    else
        std::snprintf(text, sizeof text, "%04d年%02d月%02d日 %02d:%02d:%02d  %s", t.year % 10000,
                      t.month % 100, t.day % 100, t.hour % 100, t.minute % 100, t.second % 100,
                      texts::WEEKDAYS_ZH[weekday]);
    // Nine ticks in ten find the second unchanged. Blanking the line and
    // writing the same text back would look the same (nothing is drawn in
    // between) but make the window repaint it.
    if (m_ui.GetText(IDC_STATUS) == text) return;
    m_ui.SetText(IDC_STATUS, std::string(35, ' '));
    m_ui.SetText(IDC_STATUS, text);
}
