#pragma once
// Virtual devices for the keypad's frames: the keypad variant of the reader,
// a reader that says it has no keypad, and an older reader that takes every
// frame but the read request for a settings frame.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "sim/ReaderModel.h"

namespace sim {

// Stores 20 key codes and answers the key-code frame and the keypad query
// with "K"; every other frame goes to the reader model it wraps.
class KeypadModel : public ReaderModel {
  public:
    static constexpr size_t KEY_COUNT = 20;
    using Codes = std::array<uint8_t, KEY_COUNT>;
    // Starts with the factory layout.
    explicit KeypadModel(std::unique_ptr<ReaderModel> reader);
    KeypadModel(std::unique_ptr<ReaderModel> reader, const Codes& codes);

    std::vector<Frame> OnFrame(const Frame& in) override;
    int AnswerDelayMs() const override { return m_reader->AnswerDelayMs(); }

    const Codes& StoredCodes() const { return m_codes; }
    ReaderModel& Reader() { return *m_reader; }

    // Faults for tests.
    bool answersQuery = true;  // false: the query goes unanswered
    bool storesCodes = true;   // false: the key-code frame is ignored, no "K"
    int keyCodeFramesStored = 0;

  private:
    std::unique_ptr<ReaderModel> m_reader;
    Codes m_codes;
};

// A reader without keypad: answers the keypad query with "M"; every other
// frame goes to the reader model it wraps.
class NoKeypadModel : public ReaderModel {
  public:
    explicit NoKeypadModel(std::unique_ptr<ReaderModel> reader);
    std::vector<Frame> OnFrame(const Frame& in) override;
    int AnswerDelayMs() const override { return m_reader->AnswerDelayMs(); }
    ReaderModel& Reader() { return *m_reader; }

  private:
    std::unique_ptr<ReaderModel> m_reader;
};

// An older reader: answers the read request with its settings ("R" at byte
// 2, the settings at bytes 3..16) and treats every other frame, the keypad
// query included, as a settings frame: stores its bytes 3..16 and echoes it
// with "Y" at byte 2.
class SettingsEchoModel : public ReaderModel {
  public:
    using Settings = std::array<uint8_t, 14>;  // frame bytes 3..16
    explicit SettingsEchoModel(const Settings& settings);

    std::vector<Frame> OnFrame(const Frame& in) override;
    const Settings& StoredSettings() const { return m_settings; }

    bool answersReadRequest = true;  // false: the read request goes unanswered

  private:
    Settings m_settings;
};

}  // namespace sim
