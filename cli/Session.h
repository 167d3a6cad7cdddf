#pragma once
// What the commands share: one reader session on the device the command
// talks to, its results put into command-line terms, and the failure that
// ends a command.

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Texts.h"
#include "core/ReaderSession.h"
#include "profile/Profile.h"

namespace cli {

// A failure that ends the command with the error status.
struct Failure {
    std::string message;
    // The reader holds no settings: for verify that is a difference, not an error.
    bool notConfigured = false;
};

// The profile's name of a settings field (1..9), as in its JSON file.
std::string ProfileFieldName(int field);

// One reader session on the device the command talks to. Notices from the
// middle of an operation go to the environment's error stream.
class Session : core::SessionEvents {
  public:
    // With a device path every transfer of the session goes to that device
    // and no other: when it goes away the operations fail.
    // events: who gets the device arrivals and removals (batch), if anyone.
    explicit Session(Environment& env, const std::string& devicePath = {},
                     dev::DeviceChangeReceiver* events = nullptr);

    // Fails unless a reader is attached and may be opened.
    void RequireDevice();
    // The device as messages name it.
    std::string DeviceName() const;
    // The message in the command's language.
    std::string Say(const Text& text, std::initializer_list<std::string_view> args = {}) const {
        return cli::Say(m_env.language, text, args);
    }
    // Says line on standard error when -v asked for at least level.
    void Note(int level, const std::string& line) const;

    // Writes the general settings; fails unless the reader acknowledged them.
    void WriteGeneral(const profile::Profile& p);
    // The general settings the reader holds; fails when they cannot be read
    // (notConfigured when it holds none). An answer that is not one is asked
    // for once more, as a person presses Read Device again.
    profile::Profile ReadGeneral();
    // Probes the device: its key codes when it is a keypad.
    std::optional<core::KeyCodes> ProbeKeys();
    // The key codes the keypad holds; fails when the device is no keypad.
    core::KeyCodes ReadKeys();
    // Writes the profile's keys to the keypad; fails unless it acknowledged them.
    void WriteKeys(const profile::Profile& p);

    dev::CHidLink& Link() { return m_link; }

  private:
    void OnSymbolDefaulted(int field) override;
    void OnOldReader(int field) override;
    // Ends the command after a failed operation: what failed, and why as far
    // as the link can tell.
    [[noreturn]] void Fail(const std::string& what, const std::string& why);
    // Why the last exchange came to nothing, from the link's last transfer.
    std::string Silence() const;

    Environment& m_env;
    dev::CHidLink m_link;
    core::ReaderSession m_core;
};

// Whether a listed interface may be opened, as list prints it: "yes", or
// "no, " and why.
std::string OpenText(const dev::ReaderInterface& r, Language language = Language::English);
// Why a listed interface may not be opened ("access denied: ...").
std::string OpenReason(const dev::ReaderInterface& r, Language language = Language::English);

// The profile in the file at path ("-": the environment's standard input);
// fails with the reason it is none.
profile::Profile LoadProfileFile(const std::string& path, const Environment& env);
// A value of a difference as messages show it ("(not in effect)").
std::string ValueText(const std::string& value, Language language);
void PrintDifferences(std::ostream& out, const std::vector<profile::Difference>& diffs,
                      const char* indent, Language language = Language::English);
// What the attached device holds against what is expected (its keys too
// when the profile has keys).
std::vector<profile::Difference> Compare(Session& s, const profile::Profile& expected);
// Writes the profile (after checking that a profile with keys meets a
// keypad) and reads it back: the differences, empty when the device holds it.
std::vector<profile::Difference> ApplyAndCompare(Session& s, const profile::Profile& p);

}  // namespace cli
