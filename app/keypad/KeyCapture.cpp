// The message pre-translation hook: special keys written into the current key
// field in the keyboard view, announced in the output pane in the general view.

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/keypad/KeyCaptureTables.h"
#include "base/Gbk.h"

using namespace ids;
using namespace keycapture;

namespace {

// Announces the first key of the group found down and waits for its release.
template <size_t N>
const AnnouncedKey* FirstDown(const std::array<AnnouncedKey, N>& group, tk::KeyState& keys) {
    for (const AnnouncedKey& k : group)
        if (keys.IsDown(k.vk)) return &k;
    return nullptr;
}

}  // namespace

bool CReaderConfigDlg::PreTranslateMessage(const tk::KeyEvent& ev) {
    // While keys go into a key field, every key is the capture's: no profile
    // shortcut may start (and save or load the field's captured Ctrl).
    if (ev.type == tk::KeyEvent::Type::Shortcut)
        return g_bKeyboardView && g_nCurrentKey >= 1 && g_nCurrentKey <= KEY_FIELD_COUNT;
    tk::KeyState& keys = m_ui.Keys();
    if (g_bKeyboardView) {
        for (const CaptureKey& k : CAPTURE_TABLE) {
            if (!keys.IsDown(k.vk)) continue;
            WriteCapturedKey(k.name.Get());
            keys.WaitForRelease(k.vk);
            return true;
        }
        return false;
    }

    auto announce = [&](const AnnouncedKey& k) {
        std::string text = k.announcement.Get();
        if (k.vk == tk::VK_BACK) text += "\r\n";  // the time stands on the next line
        AppendOutput(text);
        keys.WaitForRelease(k.vk);
    };
    if (const AnnouncedKey* f = FirstDown(FUNCTION_KEYS, keys)) {
        announce(*f);
        if (f->vk == tk::VK_F1) return true;  // no help request reaches the dialog
    }
    if (m_ui.IsChecked(IDC_SHIELD_KEYS)) {
        const AnnouncedKey* k = FirstDown(CONTROL_KEYS_A, keys);
        if (!k) k = FirstDown(CONTROL_KEYS_B, keys);
        if (k) keys.WaitForRelease(k->vk);
    } else {
        if (const AnnouncedKey* a = FirstDown(CONTROL_KEYS_A, keys)) announce(*a);
        if (const AnnouncedKey* b = FirstDown(CONTROL_KEYS_B, keys)) announce(*b);
    }
    return false;
}

void CReaderConfigDlg::WriteCapturedKey(const std::string& name) {
    g_nLastCapturedKey = g_nCurrentKey;
    if (g_nCurrentKey >= 1 && g_nCurrentKey <= KEY_FIELD_COUNT) {
        m_ui.SetText(KeyFieldId(g_nCurrentKey), name);
        return;
    }
    AppendOutput(std::string(NO_FIELD_PREFIX) + name + NO_FIELD_SUFFIX);
}

void CReaderConfigDlg::OnKeyFieldFocus(int n) {
    g_nCurrentKey = static_cast<uint8_t>(n);
}

void CReaderConfigDlg::OnKeyFieldChange(int n) {
    const int id = KeyFieldId(n);
    if (g_nLastCapturedKey == n) {
        g_nLastCapturedKey = 0;  // a captured key name stays whole
        return;
    }
    if (!g_bKeyFieldsFilled) return;
    // One character: a double-byte character stays whole.
    const std::string gbk = tk::Utf8ToGbk(m_ui.GetText(id));
    const size_t first = gbk.empty() ? 0 : (tk::IsGbkLeadByte(gbk[0]) && gbk.size() > 1 ? 2 : 1);
    if (gbk.size() > first) m_ui.SetText(id, tk::GbkToUtf8(gbk.substr(0, first)));
}
