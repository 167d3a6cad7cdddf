// The About box, opened from the entry that start-up adds to the window menu.

#include "app/LanguageTexts.h"
#include "app/ReaderConfigDlg.h"

void CReaderConfigDlg::OnAboutCommand() {
    m_ui.ShowAboutBox(
        {texts::ABOUT_TITLE, texts::ABOUT_OK, texts::ABOUT_NAME, texts::ABOUT_NOTICE});
}
