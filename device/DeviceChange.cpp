// Keeps the dialog in step with the reader being plugged in and pulled out.

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/ReaderConfigDlg.h"
#include "device/DeviceTexts.h"

using namespace ids;

namespace {

constexpr int GENERAL_DEVICE_BUTTONS[] = {IDC_SET_DEVICE, IDC_BATCH, IDC_READ_DEVICE};
constexpr int KEYBOARD_DEVICE_BUTTONS[] = {IDC_CONFIG_KEY, IDC_DEFAULT_KEYS, IDC_READ_CONFIG,
                                           IDC_KEYPAD_BATCH};
// Default Config needs no reader: removal leaves it as it is.
constexpr int KEYBOARD_DISABLED_ON_REMOVAL[] = {IDC_CONFIG_KEY, IDC_READ_CONFIG, IDC_KEYPAD_BATCH};

}  // namespace

bool CReaderConfigDlg::OnDeviceChange(uint32_t event, uintptr_t) {
    // An operation runs (its message box's loop delivers the event): the
    // event waits for it to end, in order, so no operation starts inside
    // another and none sees the device change under it.
    if (m_link.InOperation()) {
        m_deferredEvents.push_back(event);
        return true;
    }
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
    // Before batch mode configures an arrival: it binds to the chosen reader.
    if (code == dev::DBT_DEVICEARRIVAL || code == dev::DBT_DEVICEREMOVECOMPLETE ||
        code == dev::DBT_DEVNODES_CHANGED)
        RefreshDevices();
    switch (code) {
        case dev::DBT_DEVICEARRIVAL:
            if (m_link.CheckPresence()) arrival();
            break;
        case dev::DBT_DEVICEREMOVECOMPLETE:
            if (!m_link.CheckPresence()) removal();
            break;
        case dev::DBT_DEVNODES_CHANGED:
            if (m_link.CheckPresence())
                arrival();
            else
                removal();
            break;
        default:
            break;
    }
    if (code == dev::DBT_DEVICEARRIVAL || code == dev::DBT_DEVICEREMOVECOMPLETE ||
        code == dev::DBT_DEVNODES_CHANGED)
        ReportAccessProblem();
    return true;
}

void CReaderConfigDlg::HandleDeferredEvents() {
    if (m_handlingDeferred) return;  // each event's own scope ends in here again
    m_handlingDeferred = true;
    while (!m_deferredEvents.empty()) {
        const uint32_t event = m_deferredEvents.front();
        m_deferredEvents.pop_front();
        OnDeviceChange(event, 0);
    }
    m_handlingDeferred = false;
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
