// Keeps the dialog in step with the reader being plugged in and pulled out.

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "app/device/DeviceTexts.h"

using namespace ids;

namespace {

constexpr int GENERAL_DEVICE_BUTTONS[] = {IDC_SET_DEVICE, IDC_BATCH, IDC_READ_DEVICE};
constexpr int KEYBOARD_DEVICE_BUTTONS[] = {IDC_CONFIG_KEY, IDC_DEFAULT_KEYS, IDC_READ_CONFIG,
                                           IDC_KEYPAD_BATCH};
// Default Config needs no reader: removal leaves it as it is.
constexpr int KEYBOARD_DISABLED_ON_REMOVAL[] = {IDC_CONFIG_KEY, IDC_READ_CONFIG, IDC_KEYPAD_BATCH};

}  // namespace

std::optional<dev::HidInterfaceInfo> CReaderConfigDlg::PresentReader() const {
    if (!m_link.IsPresent()) return std::nullopt;
    return m_link.Opened();
}

bool CReaderConfigDlg::Listed(const dev::HidInterfaceInfo& info) const {
    for (const dev::HidInterfaceInfo& listed : m_listedInterfaces)
        if (dev::SameAttachment(listed, info)) return true;
    return false;
}

// The toolkit hands device changes over as operations of their own, after
// the operation or box that was running when they came, in order.
bool CReaderConfigDlg::OnDeviceChange(uint32_t event, uintptr_t) {
    dev::OperationScope scope(m_link, "OnDeviceChange");
    auto arrival = [this] {
        if (!g_bDeviceConnected) {
            AppendOutput(devicetexts::CONNECTED);
            g_bDeviceConnected = 1;
        }
        if (!g_bKeyboardView) {
            if (g_bBatchMode)
                SetDevice();  // does nothing once this reader is configured
            else
                for (int id : GENERAL_DEVICE_BUTTONS) m_ui.SetEnabled(id, true);
        } else {
            if (g_bKeyboardBatch) {
                if (!g_bKeyboardBatchDone) ConfigKeyboard();
            } else {
                for (int id : KEYBOARD_DEVICE_BUTTONS) m_ui.SetEnabled(id, true);
            }
        }
    };
    auto removal = [this] {
        if (g_bDeviceConnected) {
            AppendOutput(devicetexts::REMOVED);
            g_bDeviceConnected = 0;
        }
        if (!g_bKeyboardView) {
            if (!g_bBatchMode)
                for (int id : GENERAL_DEVICE_BUTTONS) m_ui.SetEnabled(id, false);
        } else if (!g_bKeyboardBatch) {
            for (int id : KEYBOARD_DISABLED_ON_REMOVAL) m_ui.SetEnabled(id, false);
        }
        g_bKeyboardBatchDone = 0;
        g_bBatchDone = 0;
    };

    const uint32_t code = event & 0xFFFF;
    if (code != dev::DBT_DEVICEARRIVAL && code != dev::DBT_DEVICEREMOVECOMPLETE &&
        code != dev::DBT_DEVNODES_CHANGED)
        return true;
    // Before batch mode configures an arrival: it binds to the chosen reader.
    RefreshDevices();
    // Events are handled after the operation they came in: by then the reader
    // seen last may have been pulled out and a fresh one plugged in. That is a
    // removal, then an arrival.
    const std::optional<dev::HidInterfaceInfo> before = m_presentReader;
    const bool present = m_link.CheckPresence();
    m_presentReader = PresentReader();
    const bool swapped =
        present && before && !dev::SameAttachment(*before, *m_presentReader) && !Listed(*before);
    if (swapped) {
        removal();
        arrival();
    } else if (code == dev::DBT_DEVICEARRIVAL) {
        if (present) arrival();
    } else if (code == dev::DBT_DEVICEREMOVECOMPLETE) {
        if (!present) removal();
    } else if (present) {
        arrival();
    } else {
        removal();
    }
    ReportAccessProblem();
    return true;
}

namespace {

const TextPair& AccessDeniedText(dev::AccessDenial denial) {
    switch (denial) {
        case dev::AccessDenial::RuleNotApplied:
            return devicetexts::ACCESS_DENIED_RULE_NOT_APPLIED;
        case dev::AccessDenial::NotLocalSeat:
            return devicetexts::ACCESS_DENIED_NOT_LOCAL_SEAT;
        case dev::AccessDenial::RuleMissing:
        case dev::AccessDenial::Unknown:
            break;
    }
    return devicetexts::ACCESS_DENIED_NO_RULE;  // the whole set of commands
}

}  // namespace

void CReaderConfigDlg::ReportAccessProblem() {
    const bool denied = m_link.LastFindStatus() == dev::FindStatus::AccessDenied;
    const dev::AccessDenial denial = m_link.LastAccessDenial();
    // Said again when the reason changes, e.g. once the rule is installed.
    if (denied && (!m_accessDeniedReported || denial != m_reportedDenial))
        AppendOutput(AccessDeniedText(denial));
    m_accessDeniedReported = denied;
    m_reportedDenial = denial;
}
