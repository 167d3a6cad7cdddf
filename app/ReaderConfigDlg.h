#pragma once
// CReaderConfigDlg: the main dialog. It owns the HID link and dispatches
// every control notification to the one operation that handles it. The
// operations are defined in the folder of the subsystem that owns them:
// app/ (start-up, output pane, clock, languages, help), device/ (arrival
// and removal), reader/ (settings, Set Device, Read Device, defaults,
// batch), keypad/ (key codes, Config keyboard, Read Config, key capture,
// views).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/QueuedDeviceWatcher.h"
#include "base/Clock.h"
#include "core/ReaderSession.h"
#include "device/HidLink.h"
#include "profile/BatchLog.h"
#include "profile/Profile.h"
#include "reader/SettingsFrame.h"
#include "toolkit/DialogSurface.h"

enum KeypadProbeResult : uint8_t {
    KP_NO_ANSWER = 0,
    KP_KEYPAD = 1,
    KP_NOT_KEYPAD = 2,
    KP_SETTINGS_ECHO = 3,
};

class CReaderConfigDlg : public tk::DialogEvents,
                         public dev::DeviceChangeReceiver,
                         private core::SessionEvents {
  public:
    CReaderConfigDlg(tk::DialogSurface& surface, dev::HidPort& port, dev::DeviceWatcher& watcher,
                     tk::Clock& clock);
    ~CReaderConfigDlg() override;

    // Start-up, run once when the dialog has been built.
    bool OnInitDialog();

    // tk::DialogEvents
    void OnCommand(int id) override;
    void OnEditChange(int id) override;
    void OnEditFocus(int id) override;
    bool PreTranslateMessage(const tk::KeyEvent& ev) override;
    void OnTimer(int timerId) override;
    void OnCancel() override;
    void OnAboutCommand() override;
    // dev::DeviceChangeReceiver
    bool OnDeviceChange(uint32_t event, uintptr_t data) override;

    // Application shell.
    void OnExitCommand();
    void AppendOutput(std::string message);
    void ClearOutput();
    void UpdateClock();
    void SwitchToChinese();
    void SwitchToEnglish();
    void RebuildMenuBar();
    void ShowInstructions();
    void ShowSoftwareInfo();
    void OfferUpdate();
    void ShowKeyboardTips();

    // Reader settings.
    void SetDevice();
    void ReadDevice();
    void RestoreDefaults();
    void OnSeparatorChange(int id);
    void OnTrackSentinels();
    void OnPacketCr();
    void ToggleBatch();

    // Keypad.
    KeypadProbeResult ProbeKeypad();
    bool WriteKeyCodes();
    void ConfigKeyboard();
    void ToggleKeyboardBatch();
    void ReadKeyboardConfig();
    void RepairKeypad();
    void FillKeyFields();
    void RestoreDefaultKeys();
    void WriteCapturedKey(const std::string& name);
    void OnKeyFieldFocus(int n);
    void OnKeyFieldChange(int n);
    void ToggleView();
    void SwitchToKeyboardView();
    void SwitchToGeneralView();
    void ShowView(int general);
    void OnAutoKeyboardConfig();
    void OnShieldControlKeys();

    // Profiles and the batch log (profile/).
    void UpdateWindowEntries();
    void SaveProfile();
    void LoadProfileFromFile();
    void SaveBatchLog();
    // Sets the general settings view's controls to the profile as a user
    // would, click by click, with the same notifications; nothing is sent.
    void LoadProfile(const profile::Profile& p);
    // Writes the profile's key names, if it has any, into the key fields.
    void LoadProfileKeys(const profile::Profile& p);
    // Batch mode tried the device the operation is bound to: one row of the
    // batch log, with count devices configured so far.
    void RecordBatchDevice(bool configured, uint32_t count);
    const profile::BatchLog& GetBatchLog() const { return m_batchLog; }

    // Several readers (device/DeviceChoice.cpp). Lists the attached readers
    // anew when their interfaces have changed, keeps the chosen one or falls
    // back to the first one left, and updates the device line and menu.
    void RefreshDevices();
    // Every later operation binds to the n-th listed reader.
    void ChooseDevice(size_t n);
    void UpdateDeviceLine();
    // The device menu among the window entries; none with fewer than two readers.
    std::optional<tk::WindowEntry> DeviceMenu() const;
    // The readers' settings interfaces as last listed, and the chosen one.
    const std::vector<dev::HidInterfaceInfo>& Devices() const { return m_devices; }
    const dev::HidInterfaceInfo& ChosenDevice() const { return m_chosenDevice; }

    // Outcome of the dialog once EndDialog has run (0 while it runs).
    int Result() const { return m_result; }
    dev::CHidLink& Link() { return m_link; }
    tk::DialogSurface& Surface() { return m_ui; }

  private:
    // What the reader session reports in the middle of Set Device and Read
    // Device, shown at that moment.
    void OnSymbolDefaulted(int field) override;
    void OnOldReader(int field) override;
    void OnSettingsRead(const core::ReadResult& result) override;
    // The number of answers each exchange reads, as "Computer slow" says now.
    core::ExchangePolicy Policy() const;
    // Empty when every field Set Device sends reaches the reader as it
    // looks; otherwise the message that says which does not.
    std::string RefusalOfSettings(const reader::Settings& settings) const;
    void SwitchLanguage(bool english);
    void OnOutputFocus();
    // Asks the exit question; Yes ends the dialog.
    void AskExit();
    // Says once, after a presence check, that a reader is there but may not be
    // opened and what to do about it; again only after the situation or its
    // reason has changed.
    void ReportAccessProblem();
    // The reader the last presence check found; nullopt when none.
    std::optional<dev::HidInterfaceInfo> PresentReader() const;
    // Whether the interface was among those RefreshDevices listed last.
    bool Listed(const dev::HidInterfaceInfo& info) const;

    tk::DialogSurface& m_ui;
    tk::Clock& m_clock;
    dev::HidPort& m_port;  // for listing and naming devices; transfers go through m_link
    app::QueuedDeviceWatcher m_watcher;  // before m_link, which registers with it
    dev::CHidLink m_link;
    core::ReaderSession m_session;
    profile::BatchLog m_batchLog;
    std::vector<dev::HidInterfaceInfo> m_listedInterfaces;  // with the reader's ids, when listed
    std::vector<dev::HidInterfaceInfo> m_devices;
    dev::HidInterfaceInfo m_chosenDevice;
    int m_result = 0;
    bool m_accessDeniedReported = false;
    // The reader present at the last presence check: another one in its
    // place means it was pulled out and a fresh one plugged in.
    std::optional<dev::HidInterfaceInfo> m_presentReader;
    dev::AccessDenial m_reportedDenial = dev::AccessDenial::Unknown;
};
