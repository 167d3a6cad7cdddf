// uhid-reader: a card reader made through the kernel's uhid interface, which
// answers output reports with one of the virtual readers' models. It stands
// for the USB reader in the end-to-end run.

#include <cstdio>
#include <string>
#include <string_view>

#include "e2e/uhid/DeviceCommand.h"
#include "e2e/uhid/ModelFactory.h"
#include "e2e/uhid/UhidReader.h"

namespace {

int Usage() {
    std::string names;
    for (const std::string& n : e2e::ModelNames()) names += " " + n;
    std::fprintf(
        stderr,
        "usage: uhid-reader [--model NAME] [--delay MS] [--unplugged] [--keyboard] [--serial S]\n"
        "                   [--script CMDS] [-v]\n"
        "  --keyboard: the reader's keyboard interface (same ids, a boot keyboard)\n"
        "  --serial: the serial number the device reports (uhid's uniq; at most 63 bytes)\n"
        "  models:%s\n"
        "  commands on stdin or in CMDS (';'-separated): plug, unplug, model NAME,\n"
        "  delay MS|model, send HEX..., sleep MS, frames, quit\n",
        names.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string model = "acking", script, serial;
    int delayMs = -1;
    bool plugged = true, verbose = false, keyboard = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--model" && hasValue)
            model = argv[++i];
        else if (a == "--delay" && hasValue) {
            std::string error;
            const auto cmd = e2e::ParseCommand(std::string("delay ") + argv[++i], &error);
            if (!cmd) return Usage();
            delayMs = cmd->ms;
        } else if (a == "--script" && hasValue)
            script = argv[++i];
        else if (a == "--unplugged")
            plugged = false;
        else if (a == "--keyboard")
            keyboard = true;
        else if (a == "--serial" && hasValue && std::string_view(argv[i + 1]).size() < 64)
            serial = argv[++i];
        else if (a == "-v")
            verbose = true;
        else
            return Usage();
    }
    if (!e2e::MakeModel(model)) return Usage();

    e2e::UhidDevice device;
    if (!device.IsOpen()) {
        std::fprintf(stderr, "uhid-reader: %s\n", device.Error().c_str());
        return 1;
    }
    e2e::UhidReader reader(device, e2e::MakeModel(model), verbose);
    reader.SetDelayOverride(delayMs);
    reader.SetKeyboard(keyboard);
    reader.SetSerial(serial);
    // Plugging at start goes through the command like every later plug, and is acknowledged.
    if (plugged) reader.Queue("plug");
    for (const std::string& line : e2e::SplitScript(script)) reader.Queue(line);
    return reader.Run();
}
