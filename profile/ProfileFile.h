#pragma once
// Reading and writing the files the user saves on purpose: profiles and batch
// logs. Names are the file system's bytes, used as they are.

#include <string>

#include "profile/Profile.h"

namespace profile {

// Larger files are refused unread: a profile is a few hundred bytes.
constexpr size_t MAX_PROFILE_FILE_BYTES = 1 << 20;

// The profile in the file, or the reason it is none (naming the field).
ParseResult ReadProfileFile(const std::string& path);
// Writes text to path, replacing it whole; false when it cannot, and the
// old file is then as it was.
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace profile
