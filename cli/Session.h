#pragma once
// What the commands share: the main dialog over the headless toolkit,
// driven as a person drives the window, and the failure that ends a command.

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "app/ReaderConfigDlg.h"
#include "app/TextPair.h"
#include "cli/Commands.h"
#include "profile/Profile.h"
#include "toolkit/headless/HeadlessSurface.h"

namespace cli {

// The pause after each operation, as between two clicks.
inline constexpr int SETTLE_MS = 100;

// A failure that ends the command with the error status.
struct Failure {
    std::string message;
    // Read Device found a reader that holds no settings: for verify that is
    // a difference, not an error.
    bool notConfigured = false;
};

// The main dialog over the headless toolkit. Its messages are English.
class Session {
  public:
    // With a device path every transfer of the session goes to that device
    // and no other: when it goes away the operations fail.
    explicit Session(Environment& env, const std::string& devicePath = {});

    CReaderConfigDlg& Dlg() { return m_dlg; }
    tk::HeadlessSurface& Ui() { return m_ui; }

    // Fails unless a reader is attached and may be opened.
    void RequireDevice();
    // Does what the control's click does (also when the window would have
    // it greyed, as batch mode does with Read Device) and returns what the
    // dialog wrote into its output pane.
    std::string Run(int id);
    // Runs the command; fails unless its output holds success.
    void Expect(int id, const TextPair& success, const std::string& what);
    // Ends the command after a failed operation, naming the device when the
    // bound one went away.
    [[noreturn]] void Fail(const std::string& what, const std::string& output);
    // The pane's text since the last call, and the message boxes shown,
    // whose texts go to standard error.
    std::string TakeOutput();

    // Read Device; the general settings the reader holds.
    profile::Profile ReadGeneral();
    // Whether the device answers as a keypad: the question the view switch
    // asks first.
    bool IsKeypad();
    // The key names the keypad holds, through the keyboard view.
    std::array<std::string, profile::KEY_COUNT> ReadKeys();

  private:
    // Lets the answers of the last operation's exchanges arrive before the next one.
    void Settle();

    Environment& m_env;
    tk::HeadlessSurface m_ui;
    CReaderConfigDlg m_dlg;
};

// Whether a listed interface may be opened, as list prints it: "yes", or
// "no, " and why.
std::string OpenText(const dev::ReaderInterface& r);

profile::Profile LoadProfileFile(const std::string& path);
void PrintDifferences(std::ostream& out, const std::vector<profile::Difference>& diffs,
                      const char* indent);
// What the attached device holds against what is expected (its keys too
// when the profile has keys).
std::vector<profile::Difference> Compare(Session& s, const profile::Profile& expected);
// Writes the profile (Set Device, and Config key when it has keys) and reads
// it back: the differences, empty when the device holds it.
std::vector<profile::Difference> ApplyAndCompare(Session& s, const profile::Profile& p);

}  // namespace cli
