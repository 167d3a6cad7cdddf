#pragma once
// The reader's and the keypad's operations on one link, as typed results:
// no text, no widget, no global. A session belongs to one thread; its state
// (whether the reader stores long texts) is its own. The window, the command
// line and the parallel batch all configure readers through it.
//
// What an operation does on the wire, and in which order, is the protocol:
// Set Device sends the long texts one string frame each, then the settings
// frame; Read Device asks twice for the settings, fetches each long text and
// hands the answer back; the keypad probe asks for the settings and then for
// the key codes, restoring the settings of a reader that took the query for a
// settings frame.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/Exchange.h"
#include "device/HidLink.h"
#include "reader/SettingsFrame.h"

namespace core {

using reader::KeyCodes;

// How many answers each exchange reads: 1, or 2 for a computer too slow to
// take the first one (the second replaces the first when it comes).
struct ExchangePolicy {
    int answerReads = 1;
};

enum class SetStatus {
    Configured,        // the reader acknowledged the settings frame
    LongTextUnstored,  // a string frame got no answer the reader gives: field
    NotAcknowledged,   // the settings frame got no acknowledgement
};
struct SetResult {
    SetStatus status = SetStatus::NotAcknowledged;
    int field = 0;  // LongTextUnstored: the field index
};

enum class ReadStatus {
    Read,            // answer valid and every long text fetched
    LongTextUnread,  // a long text did not come: field
    NotConfigured,   // the reader answered that it holds no settings
    NoAnswer,        // no valid answer
};
struct ReadResult {
    ReadStatus status = ReadStatus::NoAnswer;
    int field = 0;              // LongTextUnread: the field index
    reader::ReadAnswer answer;  // valid unless NoAnswer/NotConfigured
    // Read: each field's text as the reader holds it, GBK bytes by field index
    // (slot 0 unused): the long texts fetched, one-character codes as their
    // character, an ID-card symbol that is off as its default character and a
    // sentinel that is empty as "".
    std::array<std::string, reader::FIELD_COUNT + 1> texts;

    // Read: the settings the reader holds, as the view holds them once it
    // has loaded them (the sentinels on when any is present), without keys.
    reader::Settings Settings() const;
};

// What happens in the middle of an operation, at the moment it happens, for
// a front end that shows it then. Every method does nothing by default.
class SessionEvents {
  public:
    virtual ~SessionEvents() = default;
    // Set: a ticked ID-card symbol field was empty; its default character
    // (reader::DEFAULT_CHARS) goes out instead and is now in the settings.
    virtual void OnSymbolDefaulted(int field) { (void)field; }
    // Set: the reader answered the field's string frame as an older reader
    // that stores one character: the settings frame carries that character.
    virtual void OnOldReader(int field) { (void)field; }
    // Read: the outcome is known; called before the answer goes back to the
    // reader (for every outcome, so a front end shows it at that moment).
    virtual void OnSettingsRead(const ReadResult& result) { (void)result; }
};

enum class KeypadStatus {
    Keypad,        // a keypad: codes hold its key codes
    NotKeypad,     // it said it has no keys
    SettingsEcho,  // a reader that took the query for settings (restored)
    NoAnswer,
};
struct KeypadProbe {
    KeypadStatus status = KeypadStatus::NoAnswer;
    KeyCodes codes{};
};

enum class KeypadConfigStatus {
    Configured,
    NotAcknowledged,  // a keypad, but the codes were not acknowledged
    NotKeypad,        // NotKeypad or SettingsEcho
    NoAnswer,         // the probe got no answer
};

class ReaderSession {
  public:
    // The session's transfers go through link, which the caller owns and
    // binds; events may be null.
    explicit ReaderSession(dev::CHidLink& link, SessionEvents* events = nullptr)
        : m_link(link), m_events(events) {}

    // Writes settings into the reader. A ticked empty ID-card symbol gets
    // its default character in settings. Sends nothing more after a string
    // frame that no answer confirms.
    SetResult SetSettings(reader::Settings& settings, const ExchangePolicy& policy);
    // Reads the settings and hands the answer back to the reader.
    ReadResult ReadSettings(const ExchangePolicy& policy);

    KeypadProbe ProbeKeypad(const ExchangePolicy& policy);
    // Writes the 20 codes; true when the keypad acknowledged them. No probe.
    bool WriteKeyCodes(const KeyCodes& codes, const ExchangePolicy& policy);
    // Probes for a keypad and writes the codes to it.
    KeypadConfigStatus ConfigureKeypad(const KeyCodes& codes, const ExchangePolicy& policy);

    // False once the reader answered a string frame as an older reader,
    // until the next string write it confirms.
    bool MultiCharSupported() const { return m_multiCharSupported; }
    dev::CHidLink& Link() { return m_link; }

  private:
    enum class LongTextWrite { Stored, OldReader, Unknown };
    LongTextWrite WriteLongText(int index, const std::string& gbk);
    std::optional<std::string> ReadLongText(int index);

    dev::CHidLink& m_link;
    SessionEvents* m_events;
    bool m_multiCharSupported = true;
};

}  // namespace core
