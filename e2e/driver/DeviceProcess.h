#pragma once
// The device program as a child process of the driver: started with a pipe on
// its standard input for commands and one on its standard output for their
// acknowledgements (see e2e/uhid/DeviceCommand.h). Its standard error goes
// where the driver's goes.

#include <sys/types.h>

#include <string>
#include <vector>

namespace e2e {

class DeviceProcess {
  public:
    DeviceProcess() = default;
    ~DeviceProcess();  // asks it to quit, then waits for it
    DeviceProcess(const DeviceProcess&) = delete;
    DeviceProcess& operator=(const DeviceProcess&) = delete;

    // Starts program with args; false (Error() says why) when it cannot run.
    bool Start(const std::string& program, const std::vector<std::string>& args);
    // Sends one command and waits up to timeoutMs for its acknowledgement.
    // True on "ok"; otherwise Error() holds the device's reason or the fault.
    bool Command(const std::string& line, int timeoutMs = 5000);
    // Like Command, for a command that says something before its
    // acknowledgement ("frames"): that line goes to answer.
    bool Query(const std::string& line, std::string& answer, int timeoutMs = 5000);
    const std::string& Error() const { return m_error; }

  private:
    bool Run(const std::string& line, int timeoutMs, std::string* said);
    // Reads one line of the child's output; false on end or timeout.
    bool ReadLine(std::string& line, int timeoutMs);

    pid_t m_pid = -1;
    int m_in = -1;   // the child's standard input
    int m_out = -1;  // the child's standard output
    std::string m_buffer;
    std::string m_error;
};

}  // namespace e2e
