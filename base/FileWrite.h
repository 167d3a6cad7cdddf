#pragma once
// Writing the files the user keeps (profiles, the simulated devices' state):
// a file is replaced whole or not at all. The text goes to a new file of its
// own in the same folder, created exclusively (so no link planted there is
// followed), and is renamed over the old one only once it is all on disk.

#include <string>

namespace tk {

// Replaces the file named path (UTF-8, as PathFromUtf8 takes it) with text.
// Returns empty on success, else why it failed; the old file is then as it was.
std::string WriteFileWhole(const std::string& path, const std::string& text);

}  // namespace tk
