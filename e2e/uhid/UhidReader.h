#pragma once
// The device program's loop: serves one uhid device with a reader model and
// carries out commands (see DeviceCommand.h) from a script and from standard
// input, all on one thread so that answers keep their timing while commands
// wait.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "e2e/uhid/DeviceCommand.h"
#include "e2e/uhid/UhidDevice.h"
#include "sim/ReaderModel.h"

namespace e2e {

class UhidReader {
  public:
    UhidReader(UhidDevice& device, std::unique_ptr<sim::ReaderModel> model, bool verbose);

    // Answers after this many milliseconds instead of the model's own delay (-1: the model's).
    void SetDelayOverride(int ms) { m_delayOverride = ms; }
    // Plugs in as the reader's keyboard interface instead (same ids).
    void SetKeyboard(bool keyboard) { m_keyboard = keyboard; }
    // The serial number the device reports from its next plug on.
    void SetSerial(const std::string& serial) { m_serial = serial; }
    // Queues commands to run before those from standard input.
    void Queue(const std::string& line) { m_commands.push_back(line); }
    // Runs until "quit" or the end of standard input; returns the exit status.
    int Run();

  private:
    struct Pending {
        int64_t dueMs;
        sim::Frame frame;
    };
    int64_t NowMs() const;
    void Log(const std::string& what) const;
    void OnUhidEvent();
    void OnOutput(const uint8_t* data, size_t size);
    void ReadStdin();
    // Runs queued commands until one must wait (sleep) or none is left.
    void RunCommands();
    // Says on standard output that a command is done, or why it failed.
    void Acknowledge(const std::string& line, const std::string& reason);
    // Carries out one command; returns the reason on failure.
    std::string Execute(const DeviceCommand& cmd);
    void SendDue();
    int PollTimeoutMs() const;

    UhidDevice& m_device;
    std::unique_ptr<sim::ReaderModel> m_model;
    bool m_verbose;
    int m_delayOverride = -1;
    bool m_keyboard = false;
    std::string m_serial;
    int64_t m_startMs;
    std::string m_sleepLine;  // the sleep command being carried out
    int64_t m_sleepUntilMs = 0;
    std::deque<Pending> m_pending;  // in due order: the delay is the same for every answer
    std::deque<std::string> m_commands;
    std::string m_stdinBuffer;
    bool m_stdinOpen = true;
    long m_outputReports = 0;  // every output report the kernel handed over
    bool m_quit = false;
    bool m_failed = false;
};

}  // namespace e2e
