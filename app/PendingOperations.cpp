// Operations whose subsystems are still being built. Each is removed from
// this file when its real definition lands in its subsystem's folder.

#include "app/ReaderConfigDlg.h"

void CReaderConfigDlg::SetDevice() {}
void CReaderConfigDlg::WriteLongText(int) {}
void CReaderConfigDlg::ReadDevice() {}
void CReaderConfigDlg::ReadLongText(int) {}
void CReaderConfigDlg::RestoreDefaults() {}
void CReaderConfigDlg::OnSeparatorChange(int) {}
void CReaderConfigDlg::OnTrackSentinels() {}
void CReaderConfigDlg::OnPacketCr() {}
