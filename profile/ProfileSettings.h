#pragma once
// Profiles to and from the settings the reader session sends and reads:
// the same values as loading a profile into the view and pressing Set Device,
// or pressing Read Device and saving the view as a profile.

#include <array>
#include <string>

#include "core/ReaderSession.h"
#include "profile/Profile.h"
#include "reader/SettingsFrame.h"

namespace profile {

// The settings Set Device sends for p (texts in GBK). A sentinel box that is
// off empties the sentinel fields; the whole-packet carriage return clears
// the per-track ones.
reader::SettingsState SettingsOfProfile(const Profile& p);

// The profile of what a reader holds (a Read's result), without keys.
Profile ProfileOfRead(const core::ReadResult& read);

// The codes the key names send (names checked by CheckKeyName).
core::KeyCodes KeyCodesOfNames(const std::array<std::string, KEY_COUNT>& names);
// The names a key field shows for codes, in English or Chinese.
std::array<std::string, KEY_COUNT> KeyNamesOfCodes(const core::KeyCodes& codes, bool english);

}  // namespace profile
