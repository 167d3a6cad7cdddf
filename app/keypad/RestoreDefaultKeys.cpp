// Default Config: the names of the factory layout into the key fields.

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/LanguageTexts.h"
#include "app/ReaderConfigDlg.h"
#include "app/keypad/KeyFieldNames.h"
#include "app/keypad/KeypadTexts.h"
#include "app/reader/ReaderTexts.h"
#include "base/Gbk.h"
#include "keypad/KeyNameTable.h"

using namespace ids;

void CReaderConfigDlg::RestoreDefaultKeys() {
    // Whole names must survive the key fields' one-character rule.
    g_bKeyFieldsFilled = 0;
    m_ui.SetText(IDC_KEYPAD_GROUP, texts::KEYPAD_GROUP_CAPTION);
    for (int i = 0; i < KEYPAD_KEY_COUNT; ++i)
        m_ui.SetText(KeyFieldId(i + 1),
                     tk::GbkToUtf8(KeyCodeText(DEFAULT_KEY_CODES[static_cast<size_t>(i)])));
    g_bKeyFieldsFilled = 1;
    AppendOutput(reader_texts::DEFAULTS_RESTORED);
}
