#include "app/ReaderConfigDlg.h"

#include "app/AppTexts.h"
#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/MainMenu.h"
#include "toolkit/KeyCodes.h"

using namespace ids;

CReaderConfigDlg::CReaderConfigDlg(tk::DialogSurface& surface, dev::HidPort& port,
                                   dev::DeviceWatcher& watcher, tk::Clock& clock)
    : m_ui(surface),
      m_clock(clock),
      m_port(port),
      m_watcher(watcher, surface),
      m_link(port, m_watcher, clock),
      m_session(m_link, this) {
    ResetGlobals();
    m_ui.SetEventSink(this);
}

CReaderConfigDlg::~CReaderConfigDlg() {
    m_ui.SetEventSink(nullptr);
}

bool CReaderConfigDlg::OnInitDialog() {
    // The menu template's bar; the window keeps the template's title.
    m_ui.SetMenuBar(app::StartupMenuBar());
    if (!g_bDefaultsApplied) m_ui.AddAboutEntry(texts::ABOUT_ENTRY.Get());
    UpdateWindowEntries();
    m_ui.StartTimer(CLOCK_TIMER, CLOCK_PERIOD_MS);
    m_ui.SetText(IDC_OUTPUT, texts::WELCOME);

    dev::OperationScope scope(m_link, "OnInitDialog");
    m_link.m_hNotifyWnd = this;
    const bool present = m_link.CheckPresence();
    m_presentReader = PresentReader();
    AppendOutput(present ? texts::STARTUP_CONNECTED : texts::STARTUP_NOT_CONNECTED);
    g_bDeviceConnected = present ? 1 : 0;
    for (int id : {IDC_SET_DEVICE, IDC_BATCH, IDC_READ_DEVICE}) m_ui.SetEnabled(id, present);
    ReportAccessProblem();
    RefreshDevices();

    if (!g_bDefaultsApplied) {
        ShowView(1);
        RestoreDefaults();
    }
    return false;  // the focus stays in the output pane
}

namespace {

// What traces call the reports a command causes.
const char* CommandName(int id) {
    switch (id) {
        case IDC_SET_DEVICE:
            return "SetDevice";
        case IDC_READ_DEVICE:
            return "ReadDevice";
        case IDC_BATCH:
            return "ToggleBatch";
        case IDC_CONFIG_KEY:
            return "ConfigKeyboard";
        case IDC_READ_CONFIG:
            return "ReadKeyboardConfig";
        case IDC_KEYPAD_BATCH:
            return "ToggleKeyboardBatch";
        case ID_TOGGLE_VIEW:
            return "ToggleView";
        default:
            return "Command";
    }
}

}  // namespace

void CReaderConfigDlg::OnCommand(int id) {
    dev::OperationScope scope(m_link, CommandName(id));
    switch (id) {
        case IDC_CLEAR:
            ClearOutput();
            break;
        case IDC_SET_DEVICE:
            SetDevice();
            break;
        case IDC_DEFAULT_SETTING:
            RestoreDefaults();
            break;
        case IDC_READ_DEVICE:
            ReadDevice();
            break;
        case IDC_BATCH:
            ToggleBatch();
            break;
        case IDC_SENTINELS:
            OnTrackSentinels();
            break;
        case IDC_CR_PACKET:
            OnPacketCr();
            break;
        case IDC_CHINESE:
            SwitchToChinese();
            break;
        case IDC_ENGLISH:
            SwitchToEnglish();
            break;
        case IDC_CONFIG_KEY:
            ConfigKeyboard();
            break;
        case IDC_DEFAULT_KEYS:
            RestoreDefaultKeys();
            break;
        case IDC_READ_CONFIG:
            ReadKeyboardConfig();
            break;
        case IDC_KEYPAD_BATCH:
            ToggleKeyboardBatch();
            break;
        case IDC_AUTO_KEYBOARD:
            OnAutoKeyboardConfig();
            break;
        case IDC_SHIELD_KEYS:
            OnShieldControlKeys();
            break;
        case ID_INSTRUCTIONS:
            ShowInstructions();
            break;
        case ID_SOFTWARE_INFO:
            ShowSoftwareInfo();
            break;
        case ID_UPDATE:
            OfferUpdate();
            break;
        case ID_TOGGLE_VIEW:
            ToggleView();
            break;
        case ID_EXIT:
            OnExitCommand();
            break;
        case ID_SAVE_PROFILE:
            SaveProfile();
            break;
        case ID_LOAD_PROFILE:
            LoadProfileFromFile();
            break;
        case ID_SAVE_BATCH_LOG:
            SaveBatchLog();
            break;
        case IDCANCEL:
            OnCancel();
            break;
        default:
            if (id >= ID_DEVICE_FIRST && id < ID_DEVICE_FIRST + DEVICE_ENTRY_LIMIT)
                ChooseDevice(static_cast<size_t>(id - ID_DEVICE_FIRST));
            break;
    }
}

void CReaderConfigDlg::OnEditChange(int id) {
    if (const int n = KeyFieldNumber(id)) {
        OnKeyFieldChange(n);
        return;
    }
    switch (id) {
        case IDC_T1_START:
        case IDC_T1_END:
        case IDC_T2_START:
        case IDC_T2_END:
        case IDC_T3_START:
        case IDC_T3_END:
        case IDC_MIDDLE_SEP_TEXT:
        case IDC_START_SEP_TEXT:
        case IDC_END_SEP_TEXT:
            OnSeparatorChange(id);
            break;
        default:
            break;
    }
}

void CReaderConfigDlg::OnEditFocus(int id) {
    if (id == IDC_OUTPUT)
        OnOutputFocus();
    else if (const int n = KeyFieldNumber(id))
        OnKeyFieldFocus(n);
}

void CReaderConfigDlg::OnTimer(int timerId) {
    if (timerId == CLOCK_TIMER) UpdateClock();
}

void CReaderConfigDlg::OnCancel() {
    tk::KeyState& keys = m_ui.Keys();
    if (!g_bKeyFieldsFilled && keys.IsDown(tk::VK_ESCAPE)) {
        AppendOutput(texts::ESC_PRESSED);
        keys.WaitForRelease(tk::VK_ESCAPE);
        return;
    }
    AskExit();
}

void CReaderConfigDlg::OnExitCommand() {
    AskExit();
}

void CReaderConfigDlg::AskExit() {
    if (m_ui.MessageBox(texts::EXIT_QUESTION, texts::EXIT_CAPTION, tk::MsgBoxButtons::YesNo) ==
        tk::MsgBoxResult::Yes) {
        m_result = IDCANCEL;
        m_ui.EndDialog(IDCANCEL);
    }
}
