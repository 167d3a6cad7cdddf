// The conversions between the widgets' UTF-8 and GBK on arbitrary bytes:
// whatever goes in, GBK comes out well formed for the frames and UTF-8 well
// formed for the widgets, and a GBK text survives the way to a widget and back.

#include <cstdint>
#include <string>

#include "Check.h"
#include "FuzzInput.h"
#include "WellFormed.h"
#include "base/Gbk.h"

using fuzz::IsWellFormedGbk;
using fuzz::IsWellFormedUtf8;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput in(data, size);
    const size_t maxBytes = in.Byte() % 16;
    const std::string bytes = in.Rest();

    const std::string gbk = tk::Utf8ToGbk(bytes);
    FUZZ_CHECK(IsWellFormedGbk(gbk));
    const std::string utf8 = tk::GbkToUtf8(bytes);
    FUZZ_CHECK(IsWellFormedUtf8(utf8));

    // A well-formed GBK text shown in a widget and taken back is the same text.
    FUZZ_CHECK(tk::Utf8ToGbk(tk::GbkToUtf8(gbk)) == gbk);

    const size_t prefix = tk::GbkPrefixLength(gbk, maxBytes);
    FUZZ_CHECK(prefix <= maxBytes && prefix <= gbk.size());
    FUZZ_CHECK(IsWellFormedGbk(gbk.substr(0, prefix)));
    (void)tk::GbkPrefixLength(bytes, maxBytes);
    return 0;
}
