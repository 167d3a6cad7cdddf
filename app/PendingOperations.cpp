// Operations whose subsystems are still being built. Each is removed from
// this file when its real definition lands in its subsystem's folder.

#include "app/ReaderConfigDlg.h"

bool CReaderConfigDlg::PreTranslateMessage(const tk::KeyEvent&) { return false; }
void CReaderConfigDlg::OnAboutCommand() {}
bool CReaderConfigDlg::OnDeviceChange(uint32_t, uintptr_t) { return true; }
void CReaderConfigDlg::SwitchToChinese() {}
void CReaderConfigDlg::SwitchToEnglish() {}
void CReaderConfigDlg::RebuildMenuBar() {}
void CReaderConfigDlg::ShowInstructions() {}
void CReaderConfigDlg::ShowSoftwareInfo() {}
void CReaderConfigDlg::OfferUpdate() {}
void CReaderConfigDlg::ShowKeyboardTips() {}
void CReaderConfigDlg::ToggleBatch() {}
KeypadProbeResult CReaderConfigDlg::ProbeKeypad() { return KP_NO_ANSWER; }
bool CReaderConfigDlg::WriteKeyCodes() { return false; }
void CReaderConfigDlg::ConfigKeyboard() {}
void CReaderConfigDlg::ToggleKeyboardBatch() {}
void CReaderConfigDlg::ReadKeyboardConfig() {}
void CReaderConfigDlg::RepairKeypad() {}
void CReaderConfigDlg::FillKeyFields() {}
void CReaderConfigDlg::RestoreDefaultKeys() {}
void CReaderConfigDlg::WriteCapturedKey(const std::string&) {}
void CReaderConfigDlg::OnKeyFieldFocus(int) {}
void CReaderConfigDlg::OnKeyFieldChange(int) {}
void CReaderConfigDlg::ToggleView() {}
void CReaderConfigDlg::SwitchToKeyboardView() {}
void CReaderConfigDlg::SwitchToGeneralView() {}
void CReaderConfigDlg::OnAutoKeyboardConfig() {}
void CReaderConfigDlg::OnShieldControlKeys() {}
void CReaderConfigDlg::SwitchLanguage(bool) {}
