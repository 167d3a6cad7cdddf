// The conversions between the widgets' UTF-8 and GBK on arbitrary bytes. Any
// bytes shown in a widget come out as well-formed UTF-8 and convert back
// unchanged (a byte that is no GBK character as a byte mark "«81»"); a byte
// mark gives its raw byte by design, so only a text without marks must give
// whole GBK characters; the exact conversion agrees with the lenient one and
// names what it could not convert.

#include <cstdint>
#include <cstdio>
#include <string>

#include "Check.h"
#include "FuzzInput.h"
#include "WellFormed.h"
#include "base/Gbk.h"

using fuzz::IsWellFormedGbk;
using fuzz::IsWellFormedUtf8;

namespace {

// The prefix ends where a character ends (a lead byte takes the byte after
// it), holds at most maxBytes, and the next character would not fit.
void CheckPrefix(const std::string& gbk, size_t maxBytes) {
    const size_t prefix = tk::GbkPrefixLength(gbk, maxBytes);
    FUZZ_CHECK(prefix <= maxBytes && prefix <= gbk.size());
    auto charLength = [&](size_t i) {
        return tk::IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) ? 2u : 1u;
    };
    size_t end = 0;
    while (end < prefix) end += charLength(end);
    FUZZ_CHECK(end == prefix);
    if (prefix < gbk.size()) {
        const size_t next = prefix + charLength(prefix);
        FUZZ_CHECK(next > maxBytes || next > gbk.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput in(data, size);
    const size_t maxBytes = in.Byte() % 16;
    const uint8_t marked = in.Byte();
    const std::string bytes = in.Rest();

    // The bytes as a device's GBK, shown in a widget and taken back.
    const std::string shown = tk::GbkToUtf8(bytes);
    FUZZ_CHECK(IsWellFormedUtf8(shown));
    FUZZ_CHECK(tk::Utf8ToGbk(shown) == bytes);

    // The bytes as a widget's text.
    const std::string gbk = tk::Utf8ToGbk(bytes);
    if (bytes.find(tk::BYTE_MARK_OPEN) == std::string::npos) FUZZ_CHECK(IsWellFormedGbk(gbk));
    FUZZ_CHECK(tk::Utf8ToGbk(tk::GbkToUtf8(gbk)) == gbk);
    std::string exact, offending;
    const tk::GbkResult result = tk::Utf8ToGbkExact(bytes, exact, &offending);
    FUZZ_CHECK(result != tk::GbkResult::Unavailable);
    FUZZ_CHECK(exact == gbk);
    FUZZ_CHECK((result == tk::GbkResult::Ok) == offending.empty());
    if (result == tk::GbkResult::NotGbk) {
        FUZZ_CHECK(bytes.find(offending) != std::string::npos);
        FUZZ_CHECK(gbk.find('?') != std::string::npos);
    }

    // A mark stands for its byte where the byte may be marked: 0x00, the
    // control characters and every byte from 0x80; "«41»" is no mark.
    char mark[16];
    std::snprintf(mark, sizeof mark, "%s%02X%s", tk::BYTE_MARK_OPEN, marked, tk::BYTE_MARK_CLOSE);
    const bool markable = marked < 0x20 || marked == 0x7F || marked >= 0x80;
    FUZZ_CHECK((tk::Utf8ToGbk(mark) == std::string(1, static_cast<char>(marked))) == markable);

    CheckPrefix(gbk, maxBytes);
    CheckPrefix(bytes, maxBytes);
    return 0;
}
