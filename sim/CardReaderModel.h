#pragma once
// A virtual card reader that answers the reader settings frames as a real
// one does: it keeps the fourteen setting bytes of the last settings frame
// and one long text per field index, acknowledges a settings frame with "Y",
// answers a read request with "R" and its stored bytes, a string write with
// "S" and a string read with "T" and the text. A factory-fresh reader holds
// no settings, so its read answer is short. Frames of any other kind get no
// answer; a keypad variant wraps this model and handles its own frames.
//
// The model spells the frames out itself, offsets and letters as the frames'
// description gives them, and uses nothing of the tool's codec: a behaviour
// test against it checks the codec too.

#include <array>
#include <string>
#include <vector>

#include "sim/ReaderModel.h"

namespace sim {

class CardReaderModel : public ReaderModel {
  public:
    // Settings-frame bytes 3..16.
    using Settings = std::array<uint8_t, 14>;
    static constexpr int FIELD_COUNT = 9;

    enum class Firmware {
        Current,
        // Stores no long texts: answers a string write the way it
        // acknowledges a settings frame (the frame's kind, then "Y"), keeps
        // only the text's first character and does not answer string reads.
        Old,
    };

    explicit CardReaderModel(Firmware firmware = Firmware::Current) : m_firmware(firmware) {}

    std::vector<Frame> OnFrame(const Frame& in) override;
    int AnswerDelayMs() const override { return m_answerDelayMs; }

    // A silent reader receives every frame and answers none.
    void SetSilent(bool silent) { m_silent = silent; }
    // A delay above the tool's read wait makes every answer late.
    void SetAnswerDelayMs(int ms) { m_answerDelayMs = ms; }
    Firmware GetFirmware() const { return m_firmware; }

    // Settings bytes 3..16 as the last settings frame carried them; all zero
    // while the reader is factory-fresh.
    const Settings& StoredSettings() const { return m_settings; }
    void SetSettings(const Settings& settings) { m_settings = settings; }
    // Long text of field index 1..9 (GBK); empty for an index outside.
    std::string LongText(int index) const;
    void SetLongText(int index, std::string text);

  private:
    std::vector<Frame> OnSettingsFrame(const Frame& in);
    std::vector<Frame> OnReadRequest();
    std::vector<Frame> OnStringWrite(const Frame& in);
    std::vector<Frame> OnStringRead(const Frame& in);

    Firmware m_firmware;
    bool m_silent = false;
    int m_answerDelayMs = 5;
    Settings m_settings{};
    std::array<std::string, FIELD_COUNT + 1> m_longTexts;
};

}  // namespace sim
