// The program a person starts. The commands run here, on hidapi and libudev
// alone; without a command the window program takes this process over
// (exec), so that a command loads none of the window's libraries and the
// window is what it always was.

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/CommandLine.h"
#include "cli/CommandMain.h"
#include "cli/linux/LinuxDevices.h"

namespace {

constexpr const char* WINDOW_PROGRAM = "reader-config-window";

// The window program: beside this one (the build tree), or in the
// installation's private program folder (PREFIX/lib/reader-config, this one
// being in PREFIX/bin). Empty when neither is there.
std::string WindowProgram() {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    std::string dir(self, static_cast<size_t>(n));
    dir.erase(dir.rfind('/'));
    for (const std::string& candidate :
         {dir + "/" + WINDOW_PROGRAM, dir + "/../lib/reader-config/" + WINDOW_PROGRAM})
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    const cli::CommandLine options = cli::ParseCommandLine({argv + 1, argv + argc});
    if (cli::WithoutWindow(options)) return cli::RunLinuxCommand(options);
    // Without a display the window could only abort.
    if (cli::NoDisplay(options)) {
        std::cerr << cli::NoDisplayText(cli::LanguageOfEnvironment());
        return cli::EXIT_USAGE;
    }
    const std::string window = WindowProgram();
    // argv[0] stays as given: the window names itself after it.
    if (!window.empty()) ::execv(window.c_str(), argv);
    std::cerr << cli::PROGRAM << ": cannot start the window ("
              << (window.empty() ? std::string(WINDOW_PROGRAM) + " is not installed"
                                 : window + ": " + std::strerror(errno))
              << ")\n";
    return 1;
}
