// The keypad's answers on arbitrary frames: the query answer, the codes it
// carries, the key-code acknowledgement, the read answer the probe checks
// before it writes settings back, and the settings frame made from it.

#include <algorithm>
#include <cstdint>

#include "Check.h"
#include "FuzzInput.h"
#include "keypad/KeypadFrame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput in(data, size);
    kp::Frame f{};
    in.Fill(f);

    const kp::QueryAnswer kind = kp::ClassifyQueryAnswer(f);
    FUZZ_CHECK((kind == kp::QueryAnswer::KeyCodes) == kp::IsKeyCodeAck(f));

    const kp::KeyCodes codes = kp::CodesOfAnswer(f);
    const kp::Frame rewritten = kp::BuildKeyCodeFrame(codes);
    FUZZ_CHECK(std::equal(codes.begin(), codes.end(), rewritten.begin() + kp::CODES_OFFSET));

    if (kp::IsValidReadAnswer(f)) {
        // Only the head changes: the settings go back as the reader reported them.
        const kp::Frame settings = kp::SettingsFrameFromReadAnswer(f);
        FUZZ_CHECK(settings[kp::HEAD_OFFSET] == kp::FRAME_HEAD);
        FUZZ_CHECK(settings[kp::KIND_OFFSET] == kp::KIND_SETTINGS);
        FUZZ_CHECK(std::equal(f.begin() + kp::SETTINGS_OFFSET, f.end(),
                              settings.begin() + kp::SETTINGS_OFFSET));
        // A valid answer never passes for the request the probe left in the buffer.
        FUZZ_CHECK(!kp::IsReadRequest(f));
    }
    (void)kp::IsReadRequest(f);
    return 0;
}
