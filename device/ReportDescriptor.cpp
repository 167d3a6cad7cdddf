#include "device/ReportDescriptor.h"

#include <algorithm>
#include <map>
#include <vector>

namespace dev {
namespace {

// Item prefix: bits 0-1 data size code, 2-3 type, 4-7 tag.
constexpr uint8_t LONG_ITEM = 0xFE;
constexpr int TYPE_MAIN = 0;
constexpr int TYPE_GLOBAL = 1;
constexpr int TYPE_LOCAL = 2;
constexpr int MAIN_INPUT = 0x8;
constexpr int MAIN_OUTPUT = 0x9;
constexpr int MAIN_COLLECTION = 0xA;
constexpr int MAIN_END_COLLECTION = 0xC;
constexpr uint32_t COLLECTION_APPLICATION = 0x01;
constexpr int GLOBAL_USAGE_PAGE = 0x0;
constexpr int LOCAL_USAGE = 0x0;
constexpr uint32_t PAGE_GENERIC_DESKTOP = 0x01;
constexpr uint32_t USAGE_KEYBOARD = 0x06;
constexpr uint32_t USAGE_KEYPAD = 0x07;
constexpr int GLOBAL_REPORT_SIZE = 0x7;
constexpr int GLOBAL_REPORT_ID = 0x8;
constexpr int GLOBAL_REPORT_COUNT = 0x9;
constexpr int GLOBAL_PUSH = 0xA;
constexpr int GLOBAL_POP = 0xB;
constexpr size_t MAX_PUSH_DEPTH = 16;
// No report may be longer than this many bits; anything more is nonsense.
constexpr uint64_t MAX_REPORT_BITS = uint64_t{1} << 32;

struct Globals {
    uint64_t reportSize = 0;
    uint64_t reportCount = 0;
    uint32_t reportId = 0;
    uint32_t usagePage = 0;
};

size_t BytesOf(const std::map<uint32_t, uint64_t>& bitsById) {
    uint64_t most = 0;
    for (const auto& [id, bits] : bitsById) most = std::max(most, bits);
    return most == 0 ? 0 : static_cast<size_t>((most + 7) / 8) + 1;
}

}  // namespace

std::optional<ReportLengths> ParseReportLengths(const uint8_t* data, size_t size) {
    if (!data && size != 0) return std::nullopt;
    Globals g;
    std::vector<Globals> stack;
    std::map<uint32_t, uint64_t> inputBits, outputBits;
    bool numbered = false;
    bool keyboard = false;
    size_t depth = 0;
    // The first usage of the item under way (page in the high half; a short
    // usage takes the usage page), cleared by every main item.
    bool haveUsage = false;
    uint32_t usage = 0;
    size_t i = 0;
    while (i < size) {
        const uint8_t prefix = data[i];
        if (prefix == LONG_ITEM) {
            if (size - i < 3) return std::nullopt;
            const size_t length = data[i + 1];
            if (size - i - 3 < length) return std::nullopt;
            i += 3 + length;
            continue;
        }
        const size_t dataLen = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (size - i - 1 < dataLen) return std::nullopt;
        uint32_t value = 0;
        for (size_t k = 0; k < dataLen; ++k) value |= uint32_t{data[i + 1 + k]} << (8 * k);
        const int type = (prefix >> 2) & 3;
        const int tag = prefix >> 4;
        i += 1 + dataLen;

        if (type == TYPE_LOCAL && tag == LOCAL_USAGE && !haveUsage) {
            usage = dataLen == 4 ? value : (g.usagePage << 16) | value;
            haveUsage = true;
        } else if (type == TYPE_MAIN && tag == MAIN_COLLECTION) {
            if (depth == 0 && value == COLLECTION_APPLICATION && haveUsage &&
                (usage == (PAGE_GENERIC_DESKTOP << 16 | USAGE_KEYBOARD) ||
                 usage == (PAGE_GENERIC_DESKTOP << 16 | USAGE_KEYPAD)))
                keyboard = true;
            ++depth;
        } else if (type == TYPE_MAIN && tag == MAIN_END_COLLECTION) {
            if (depth > 0) --depth;
        } else if (type == TYPE_MAIN && (tag == MAIN_INPUT || tag == MAIN_OUTPUT)) {
            auto& bits = tag == MAIN_INPUT ? inputBits : outputBits;
            uint64_t& total = bits[g.reportId];
            total = std::min(MAX_REPORT_BITS,
                             total + std::min(MAX_REPORT_BITS, g.reportSize * g.reportCount));
        } else if (type == TYPE_GLOBAL) {
            switch (tag) {
                case GLOBAL_USAGE_PAGE:
                    g.usagePage = value & 0xFFFF;
                    break;
                case GLOBAL_REPORT_SIZE:
                    g.reportSize = value;
                    break;
                case GLOBAL_REPORT_COUNT:
                    g.reportCount = value;
                    break;
                case GLOBAL_REPORT_ID:
                    g.reportId = value;
                    numbered = true;
                    break;
                case GLOBAL_PUSH:
                    if (stack.size() >= MAX_PUSH_DEPTH) return std::nullopt;
                    stack.push_back(g);
                    break;
                case GLOBAL_POP:
                    if (stack.empty()) return std::nullopt;
                    g = stack.back();
                    stack.pop_back();
                    break;
                default:
                    break;
            }
        }
        if (type == TYPE_MAIN) haveUsage = false;
    }
    ReportLengths lengths;
    lengths.input = BytesOf(inputBits);
    lengths.output = BytesOf(outputBits);
    lengths.numbered = numbered;
    lengths.keyboard = keyboard;
    return lengths;
}

}  // namespace dev
