#pragma once
// The path a file is opened by, from a file name as the tool holds it. On
// Windows names are UTF-8 (the command line's and the file dialog's), which
// the narrow file functions would take for the ANSI code page; elsewhere a
// name is the bytes the shell or the dialog gave, used unchanged.

#include <filesystem>
#include <string>

namespace tk {

// Never throws. On Windows a name that is no UTF-8 is read as the narrow file
// functions read it (the ANSI code page), so it names the file they would.
std::filesystem::path PathFromUtf8(const std::string& name);

}  // namespace tk
