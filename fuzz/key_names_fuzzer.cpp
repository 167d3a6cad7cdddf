// Key names and device key codes on arbitrary bytes: the code of a key
// field's text, the name shown for a code the keypad reported, in both
// languages and for any key index.

#include <cstdint>
#include <string>

#include "Check.h"
#include "FuzzInput.h"
#include "app/Globals.h"
#include "app/keypad/KeyFieldNames.h"
#include "keypad/KeyNameTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput in(data, size);
    g_bEnglish = in.Bool() ? 1 : 0;
    in.Fill(g_keyCodesIn);
    const int index = static_cast<int8_t>(in.Byte());
    const uint8_t code = in.Byte();
    const std::string text = in.Rest();

    const uint8_t fromText = KeyNameToCode(text);
    if (!FindKeyName(fromText)) FUZZ_CHECK(fromText == (text.empty() ? 0 : uint8_t(text[0])));

    const std::string shown = KeyCodeToName(text, index);
    if (index < 0 || index >= KEYPAD_KEY_COUNT ||
        !FindKeyName(g_keyCodesIn[static_cast<size_t>(index)]))
        FUZZ_CHECK(shown == text);
    else
        FUZZ_CHECK(KeyNameToCode(shown) == g_keyCodesIn[static_cast<size_t>(index)]);

    // What a field shows for a code is written back as the same code.
    FUZZ_CHECK(KeyNameToCode(KeyCodeText(code)) == code);
    return 0;
}
