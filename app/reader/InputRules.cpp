// Rules applied while the user edits the general settings view: the 9-byte
// limit of the separator fields, the sentinel box and the whole-packet CR box.

#include <string>

#include "app/ControlIds.h"
#include "app/ReaderConfigDlg.h"
#include "app/reader/SettingsControls.h"
#include "base/Gbk.h"

using namespace ids;

namespace {

// The last bytes of gbk that fit into maxBytes, starting on a character
// boundary: a two-byte character is dropped whole, never cut in half.
std::string KeepLastBytes(const std::string& gbk, size_t maxBytes) {
    size_t start = 0;
    while (gbk.size() - start > maxBytes)
        start += tk::IsGbkLeadByte(static_cast<unsigned char>(gbk[start])) ? 2 : 1;
    return start >= gbk.size() ? std::string() : gbk.substr(start);
}

}  // namespace

void CReaderConfigDlg::OnSeparatorChange(int id) {
    const std::string text = m_ui.GetText(id);
    // A character that cannot be sent stays as typed, so that Set Device
    // names it and refuses, however full the field is; cutting here would
    // turn it into "?" unseen.
    std::string exact;
    if (tk::Utf8ToGbkExact(text, exact) == tk::GbkResult::NotGbk) return;
    const std::string gbk = tk::Utf8ToGbk(text);
    if (gbk.size() <= reader::MAX_TEXT_LEN) return;
    // Writing back raises this handler again, which then finds a short text.
    m_ui.SetText(id, tk::GbkToUtf8(KeepLastBytes(gbk, reader::MAX_TEXT_LEN)));
    m_ui.MoveCaretToEnd(id);
    m_ui.SetFocus(id);
}

void CReaderConfigDlg::OnTrackSentinels() {
    const bool on = m_ui.IsChecked(IDC_SENTINELS);
    for (int index : reader::SENTINEL_FIELDS)
        m_ui.SetText(reader::FieldEdit(index),
                     on ? std::string(1, reader::DEFAULT_CHARS[static_cast<size_t>(index)]) : "");
    for (int id : SENTINEL_EDITS) m_ui.SetEnabled(id, on);
}

void CReaderConfigDlg::OnPacketCr() {
    const bool packet = m_ui.IsChecked(IDC_CR_PACKET);
    for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3}) m_ui.SetEnabled(id, !packet);
    for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3}) m_ui.SetChecked(id, !packet);
}
