#pragma once
// Profiles and the controls of the main dialog: what the controls hold, as a
// profile. Loading a profile into the controls is a dialog operation
// (CReaderConfigDlg::LoadProfile), since it goes through the same
// notifications as a user's clicks and typing.

#include "profile/Profile.h"
#include "toolkit/DialogSurface.h"

namespace profile {

// The general settings view's controls as a profile; with the key fields'
// names when withKeys.
Profile ProfileFromControls(const tk::DialogSurface& ui, bool withKeys);

}  // namespace profile
