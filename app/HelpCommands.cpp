// The help, information and update commands of the menu bar, and the keypad
// tip text.

#include <array>
#include <cstddef>
#include <string>

#include "app/ControlIds.h"
#include "app/HelpTexts.h"
#include "app/ReaderConfigDlg.h"

namespace {

template <size_t N>
std::string Joined(const std::array<TextPair, N>& pieces) {
    std::string text;
    for (const TextPair& piece : pieces) text += piece.Get();
    return text;
}

}  // namespace

void CReaderConfigDlg::ShowInstructions() {
    m_ui.MessageBox(Joined(texts::INSTRUCTIONS), texts::INSTRUCTIONS_CAPTION,
                    tk::MsgBoxButtons::Ok);
}

void CReaderConfigDlg::ShowSoftwareInfo() {
    m_ui.MessageBox(Joined(texts::SOFTWARE_INFO), texts::SOFTWARE_INFO_CAPTION,
                    tk::MsgBoxButtons::Ok);
}

void CReaderConfigDlg::OfferUpdate() {
    // The browser does the download; the dialog returns at once and logs nothing.
    if (m_ui.MessageBox(texts::UPDATE_QUESTION, texts::UPDATE_CAPTION, tk::MsgBoxButtons::YesNo) ==
        tk::MsgBoxResult::Yes)
        m_ui.OpenUrl(texts::DOWNLOAD_URL);
}

void CReaderConfigDlg::ShowKeyboardTips() {
    m_ui.SetText(ids::IDC_TIP_TEXT, texts::KEYBOARD_TIPS);
}
