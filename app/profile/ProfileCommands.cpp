// The window's entries for profiles and the batch log: Save profile, Load
// profile, Save batch log, and the batch log's rows.

#include <functional>
#include <optional>
#include <string>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/profile/ProfileControls.h"
#include "app/profile/ProfileTexts.h"
#include "profile/ProfileFile.h"

using namespace ids;
namespace pt = profile_texts;

void CReaderConfigDlg::UpdateWindowEntries() {
    auto entry = [](int id, const TextPair& text, const char* shortcut, bool enabled) {
        tk::WindowEntry e;
        e.commandId = id;
        e.text = text.Get();
        e.shortcut = shortcut;
        e.enabled = enabled;
        return e;
    };
    std::vector<tk::WindowEntry> entries = {
        entry(ID_SAVE_PROFILE, pt::SAVE_PROFILE_ENTRY, "Ctrl+S", true),
        entry(ID_LOAD_PROFILE, pt::LOAD_PROFILE_ENTRY, "Ctrl+O", true),
        entry(ID_SAVE_BATCH_LOG, pt::SAVE_BATCH_LOG_ENTRY, "", m_batchLog.Size() > 0),
    };
    if (std::optional<tk::WindowEntry> devices = DeviceMenu()) entries.push_back(*devices);
    m_ui.SetWindowEntries(entries);
}

namespace {

// Asks where to save a file of the given kind and writes text() there. Returns
// the path written, or "" when the user cancelled or the file could not be
// written (the user has been told).
std::string SaveThroughDialog(tk::DialogSurface& ui, const std::string& title,
                              const std::string& filterName, const char* extension,
                              const char* suggestedName,
                              const std::function<std::optional<std::string>()>& text) {
    tk::FileDialogRequest request;
    request.kind = tk::FileDialogRequest::Kind::Save;
    request.title = title;
    request.filterName = filterName;
    request.extension = extension;
    request.suggestedName = suggestedName;
    const std::string path = ui.AskFileName(request);
    if (path.empty()) return {};
    const std::optional<std::string> contents = text();
    if (!contents || !profile::WriteTextFile(path, *contents)) {
        ui.MessageBox(pt::CANNOT_WRITE.Get() + path, pt::FILE_ERROR_CAPTION.Get(),
                      tk::MsgBoxButtons::Ok);
        return {};
    }
    return path;
}

}  // namespace

void CReaderConfigDlg::SaveProfile() {
    const std::string path =
        SaveThroughDialog(m_ui, pt::SAVE_PROFILE_ENTRY.Get(), pt::PROFILE_FILTER.Get(), "json",
                          "reader-profile.json", [this]() -> std::optional<std::string> {
                              // The key names belong to the profile once the key fields hold a
                              // layout.
                              return profile::ProfileToJson(
                                  profile::ProfileFromControls(m_ui, g_bKeyFieldsFilled != 0));
                          });
    if (!path.empty()) AppendOutput(pt::PROFILE_SAVED.Get() + path);
}

void CReaderConfigDlg::LoadProfileFromFile() {
    // Batch mode configures every reader with the controls as they stand.
    if (g_bBatchMode || g_bKeyboardBatch) {
        m_ui.MessageBox(pt::STOP_BATCH_FIRST.Get(), pt::FILE_ERROR_CAPTION.Get(),
                        tk::MsgBoxButtons::Ok);
        return;
    }
    tk::FileDialogRequest request;
    request.title = pt::LOAD_PROFILE_ENTRY.Get();
    request.filterName = pt::PROFILE_FILTER.Get();
    request.extension = "json";
    const std::string path = m_ui.AskFileName(request);
    if (path.empty()) return;
    const profile::ParseResult parsed = profile::ReadProfileFile(path);
    if (!parsed.profile) {
        m_ui.MessageBox(pt::NOT_A_PROFILE.Get() + path + "\r\n" + parsed.Error(!g_bEnglish),
                        pt::FILE_ERROR_CAPTION.Get(), tk::MsgBoxButtons::Ok);
        return;
    }
    LoadProfile(*parsed.profile);
    LoadProfileKeys(*parsed.profile);
    AppendOutput(pt::PROFILE_LOADED.Get() + path);
}

void CReaderConfigDlg::SaveBatchLog() {
    const std::string path =
        SaveThroughDialog(m_ui, pt::SAVE_BATCH_LOG_ENTRY.Get(), pt::CSV_FILTER.Get(), "csv",
                          "batch-log.csv", [this]() -> std::optional<std::string> {
                              std::string csv;
                              if (!m_batchLog.Csv(&csv)) return std::nullopt;
                              return csv;
                          });
    if (!path.empty()) AppendOutput(pt::BATCH_LOG_SAVED.Get() + path);
}

void CReaderConfigDlg::RecordBatchDevice(bool configured, uint32_t count) {
    // Starting batch mode with no reader attached tries nobody.
    if (!m_link.IsPresent()) return;
    profile::BatchRow row;
    row.time = m_clock.Now();
    row.count = count;
    row.result = configured ? "configured" : "failed";
    // The device the operation is bound to; empty when no transfer found one.
    row.path = m_link.Binding().path;
    row.serial = m_link.Binding().serial;
    m_batchLog.Add(row);
    if (m_batchLog.Size() == 1) UpdateWindowEntries();
}
