// vm-driver: runs the end-to-end scenarios against a reader made by the
// device program through the kernel, printing one result line per operation
// and its time. Exits 0 only when every operation succeeded. With --command
// first it is the tool's command line instead, for the scenarios that run it
// in a process of its own.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/CommandMain.h"
#include "cli/linux/LinuxDevices.h"
#include "e2e/driver/Platform.h"
#include "e2e/driver/Scenarios.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: vm-driver --reader PATH [--only NAME[,NAME...]] [--repeat N] [-v]\n"
                 "       vm-driver --command READER-CONFIG-ARGUMENTS...\n"
                 "  scenarios:");
    for (const e2e::Scenario& s : e2e::AllScenarios()) std::fprintf(stderr, " %s", s.name);
    std::fprintf(stderr, "\n");
    return 2;
}

bool Selected(const std::string& only, std::string_view name) {
    if (only.empty()) return true;
    return ("," + only + ",").find("," + std::string(name) + ",") != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == e2e::COMMAND_MODE) {
        const cli::CommandLine options = cli::ParseCommandLine({argv + 2, argv + argc});
        if (!cli::WithoutWindow(options)) return Usage();  // no command: there is no window here
        return cli::RunLinuxCommand(options);
    }
    std::string reader, only;
    bool verbose = false;
    int repeat = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--reader" && i + 1 < argc)
            reader = argv[++i];
        else if (a == "--only" && i + 1 < argc)
            only = argv[++i];
        else if (a == "--repeat" && i + 1 < argc)
            repeat = std::atoi(argv[++i]);
        else if (a == "-v")
            verbose = true;
        else
            return Usage();
    }
    if (reader.empty() || repeat < 1) return Usage();

    e2e::Platform platform = e2e::MakePlatform();
    std::printf("vm-driver: platform: %s\n", platform.name.c_str());
    e2e::Results results;
    {
        e2e::DeviceProcess device;
        const e2e::Stopwatch start;
        std::vector<std::string> args = {"--unplugged"};
        if (verbose) args.push_back("-v");
        if (!device.Start(reader, args)) {
            results.Record("setup", "start the device program", false, start.Ms(), device.Error());
        } else {
            e2e::Context context(platform, device, results);
            context.deviceProgram = reader;
            // Repeating shows how often a timing-sensitive operation fails.
            for (int round = 0; round < repeat; ++round)
                for (const e2e::Scenario& s : e2e::AllScenarios())
                    if (Selected(only, s.name)) s.run(context);
        }
    }
    std::printf("%s\n", results.Summary().c_str());
    return results.Failed() == 0 && results.Passed() > 0 ? 0 : 1;
}
