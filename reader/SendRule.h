#pragma once
// What may be sent: one rule for a text typed into the window, a text of a
// profile and a key name, so that what the window sends a profile may hold
// and the reverse. Texts come as UTF-8, as an edit or a file holds them; a
// byte that is no GBK character comes as its mark ("«81»", base/Gbk.h).

#include <cstdint>
#include <string>

namespace reader {

enum class FieldKind { Sentinel, IdSymbol, KeyField };

enum class SendStatus {
    Ok,
    Nul,          // a NUL character: invisible, and no byte a user means
    NotGbk,       // a character the reader's GBK cannot hold
    Unavailable,  // no GBK conversion on this system, and the text needs one
    Misread,      // a key field's first byte 0x00, which means "no key"
};
struct SendCheck {
    SendStatus status = SendStatus::Ok;
    std::string offending;  // the character (UTF-8, or a byte mark) that cannot be sent
    std::string gbk;        // Ok: the bytes that go out
};
SendCheck CheckSendable(const std::string& utf8, FieldKind kind);

// A character as a message shows it: itself and its code point, the code
// point alone for an invisible one, a byte mark as it is.
std::string ShownCharacter(const std::string& ch);

// Whether a one-byte text goes out as its own byte in the settings frame:
// not when the reader would take that byte for "no sentinel", "symbol off",
// the end of its answer or a long text's length. Such a byte goes out as a
// one-byte long text instead.
bool IsOwnCode(uint8_t b, int index);

}  // namespace reader
