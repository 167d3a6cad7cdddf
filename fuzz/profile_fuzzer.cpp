// Profile files on arbitrary text: parsing refuses with a reason (in both
// languages) or gives settings, never crashes; settings that parse, written
// back, parse to the same settings, and writing them again gives the same
// file.

#include <cstdint>
#include <string>

#include "Check.h"
#include "profile/Profile.h"

namespace {

bool SameSettings(const profile::Profile& a, const profile::Profile& b) {
    return a.idFormat == b.idFormat && a.texts == b.texts && a.idSymbolOn == b.idSymbolOn &&
           a.enter == b.enter && a.tracks == b.tracks && a.sentinelsOn == b.sentinelsOn &&
           a.crAfterTrack == b.crAfterTrack && a.crAfterPacket == b.crAfterPacket &&
           a.filterEquals == b.filterEquals && a.keys == b.keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const profile::ParseResult parsed = profile::ParseProfile(text);
    if (!parsed.profile) {
        FUZZ_CHECK(!parsed.error.empty());
        // Every reason in both languages, naming the same field.
        const std::string field = parsed.error.substr(0, parsed.error.find(": ") + 2);
        FUZZ_CHECK(parsed.errorZh.size() > field.size() && parsed.errorZh.rfind(field, 0) == 0);
        return 0;
    }
    FUZZ_CHECK(parsed.error.empty());
    const std::string written = profile::ProfileToJson(*parsed.profile);
    const profile::ParseResult again = profile::ParseProfile(written);
    FUZZ_CHECK(again.profile && again.error.empty());
    FUZZ_CHECK(SameSettings(*parsed.profile, *again.profile));
    FUZZ_CHECK(profile::Differences(*parsed.profile, *again.profile).empty());
    FUZZ_CHECK(profile::ProfileToJson(*again.profile) == written);
    return 0;
}
