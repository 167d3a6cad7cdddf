// Ten thousand plug cycles through each batch mode on the virtual clock: every
// count and batch line right, across the five-digit wrap too; exactly the
// expected frames for each reader and none once it is configured, however
// many device-change events follow; and a heap that stays flat.

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "keypad/KeyNameTable.h"
#include "keypad/KeypadFrame.h"
#include "reader/SettingsFrame.h"
#include "sim/CardReaderModel.h"
#include "sim/KeypadModel.h"
#include "support/DialogFixture.h"

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_UNDER_ASAN 1
#endif
#endif
#ifdef SOAK_UNDER_ASAN
// From the sanitizer runtime (sanitizer/allocator_interface.h, which not every
// compiler installs).
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
#endif

using namespace ids;

namespace {

constexpr int CYCLES = 10000;
constexpr int CLEAR_EVERY = 100;
// Extra device-tree changes while each reader is attached.
constexpr int EXTRA_EVENTS = 3;
// What the heap may differ by between cycle 1,000 and cycle 10,000.
constexpr long long HEAP_BOUND_BYTES = 16 * 1024;

long long HeapInUse() {
#ifdef SOAK_UNDER_ASAN
    // The sanitizer's allocator bypasses the C library's arenas.
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<long long>(mallinfo2().uordblks);
#endif
}

std::string BatchLineFor(uint32_t count) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%05u", count % 100000u);
    return std::string("Batch set first  ") + digits + "  successful!";
}

class SoakTest : public DialogFixture {
  protected:
    // Lines written since the byte mark, without their time stamps.
    std::vector<std::string> LinesAfter(size_t mark) const {
        const std::string text = ui.GetText(IDC_OUTPUT).substr(mark);
        std::vector<std::string> lines;
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            if (line.size() >= 9 && line[line.size() - 9] == ' ') line.resize(line.size() - 9);
            lines.push_back(line);
            start = end + 2;
        }
        return lines;
    }
    size_t Mark() const { return ui.GetText(IDC_OUTPUT).size(); }

    // One cycle: plug in (arrival and tree change), more tree changes, pull
    // out. Returns the frames the reader received and checks the lines.
    std::vector<sim::Frame> Cycle(std::unique_ptr<sim::ReaderModel> model, uint32_t count) {
        const size_t mark = Mark();
        sim::VirtualDevice& device = port.Attach(std::move(model));
        for (int i = 0; i < EXTRA_EVENTS; ++i) port.RaiseEvent(0x0007);
        std::vector<sim::Frame> frames;
        for (const sim::ReceivedFrame& r : device.Received()) frames.push_back(r.frame);
        port.Detach(device);
        const std::vector<std::string> expected = {"Connected device!", BatchLineFor(count),
                                                   "Remove device!"};
        const std::vector<std::string> lines = LinesAfter(mark);
        EXPECT_EQ(lines, expected) << "count " << count;
        if (lines.size() > 1) {
            if (batchLines.size() == KEPT_BATCH_LINES) batchLines.erase(batchLines.begin());
            batchLines.push_back(lines[1]);
        }
        return frames;
    }

    // Runs cycles first..last, clearing the pane now and then, and notes the
    // heap after cycles 1,000 and 10,000. False at the first wrong cycle.
    template <class MakeModel, class CheckFrames>
    bool Soak(int first, int last, uint32_t& counter, MakeModel make, CheckFrames check) {
        for (int cycle = first; cycle <= last; ++cycle) {
            const std::vector<sim::Frame> frames = Cycle(make(), static_cast<uint32_t>(cycle));
            if (counter != static_cast<uint32_t>(cycle) || !check(frames) || HasFailure()) {
                ADD_FAILURE() << "cycle " << cycle << ": count " << counter << ", " << frames.size()
                              << " frames";
                return false;
            }
            if (cycle % CLEAR_EVERY == 0) {
                EXPECT_TRUE(ui.Click(IDC_CLEAR));
            }
            if (cycle == 1000) heapAt1000 = HeapInUse();
            if (cycle == CYCLES) heapAtEnd = HeapInUse();
        }
        return true;
    }

    // Readers 99,991 to 100,010 of a run: the display wraps to 00000.
    template <class MakeModel>
    void CrossTheWrap(uint32_t& counter, MakeModel make) {
        counter = 99990;
        for (uint32_t count = 99991; count <= 100010; ++count) {
            Cycle(make(), count);
            ASSERT_EQ(counter, count);
        }
    }

    // The batch lines of the last cycles, in order; only a few are kept so
    // the test itself does not grow the heap.
    static constexpr size_t KEPT_BATCH_LINES = 20;
    std::vector<std::string> batchLines;
    long long heapAt1000 = 0;
    long long heapAtEnd = 0;

    // The last 20 batch lines, readers 99,991 to 100,010.
    void ExpectWrapped() const {
        ASSERT_GE(batchLines.size(), 20u);
        const auto at = [&](size_t fromEnd) { return batchLines[batchLines.size() - fromEnd]; };
        EXPECT_EQ(at(20), "Batch set first  99991  successful!");
        EXPECT_EQ(at(12), "Batch set first  99999  successful!");
        EXPECT_EQ(at(11), "Batch set first  00000  successful!");
        EXPECT_EQ(at(10), "Batch set first  00001  successful!");
        EXPECT_EQ(at(1), "Batch set first  00010  successful!");
    }
};

TEST_F(SoakTest, ReaderBatchModeConfiguresTenThousandReadersOnceEach) {
    auto make = [] { return std::make_unique<sim::CardReaderModel>(); };
    sim::VirtualDevice& first = AttachBeforeStart(make());
    Start();
    ASSERT_TRUE(ui.Click(IDC_ENGLISH));
    ASSERT_TRUE(ui.Click(IDC_BATCH));
    ASSERT_EQ(g_nBatchCount, 1u);
    EXPECT_EQ(LinesAfter(0).back(), "Batch set first  00001  successful!");
    // The settings frame, twice, and nothing else: the reference for every reader.
    ASSERT_EQ(first.Received().size(), 2u);
    const sim::Frame settings = first.Received()[0].frame;
    EXPECT_EQ(settings[reader::OFF_LEAD], reader::REQUEST_LEAD);
    EXPECT_EQ(settings[reader::OFF_KIND], reader::KIND_SETTINGS);
    EXPECT_EQ(first.Received()[1].frame, settings);
    port.Detach(first);

    const std::vector<sim::Frame> expected = {settings, settings};
    ASSERT_TRUE(Soak(2, CYCLES, g_nBatchCount, make,
                     [&](const std::vector<sim::Frame>& frames) { return frames == expected; }));
    EXPECT_EQ(batchLines.back(), "Batch set first  10000  successful!");
    EXPECT_LT(std::llabs(heapAtEnd - heapAt1000), HEAP_BOUND_BYTES)
        << "heap after cycle 1000: " << heapAt1000 << ", after " << CYCLES << ": " << heapAtEnd;

    CrossTheWrap(g_nBatchCount, make);
    ExpectWrapped();
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(g_bBatchMode, 1);
}

TEST_F(SoakTest, KeypadBatchModeConfiguresTenThousandKeypadsOnceEach) {
    auto make = [] {
        return std::make_unique<sim::KeypadModel>(std::make_unique<sim::CardReaderModel>());
    };
    sim::VirtualDevice& first = AttachBeforeStart(make());
    Start();
    ASSERT_TRUE(ui.Click(IDC_ENGLISH));
    ASSERT_TRUE(ui.ChooseMenu(ID_TOGGLE_VIEW));
    ASSERT_EQ(g_bKeyboardView, 1);
    first.ClearReceived();
    ASSERT_TRUE(ui.Click(IDC_KEYPAD_BATCH));
    ASSERT_EQ(g_nKeyboardBatchCount, 1u);
    EXPECT_EQ(LinesAfter(0).back(), "Batch set first  00001  successful!");
    // The probe (read request and query) and the key codes the fields hold,
    // each twice.
    const sim::Frame read = kp::BuildReadRequest(), query = kp::BuildKeypadQuery(),
                     codes = kp::BuildKeyCodeFrame(DEFAULT_KEY_CODES);
    const std::vector<sim::Frame> expected = {read, read, query, query, codes, codes};
    std::vector<sim::Frame> firstFrames;
    for (const sim::ReceivedFrame& r : first.Received()) firstFrames.push_back(r.frame);
    ASSERT_EQ(firstFrames, expected);
    port.Detach(first);

    ASSERT_TRUE(Soak(2, CYCLES, g_nKeyboardBatchCount, make,
                     [&](const std::vector<sim::Frame>& frames) { return frames == expected; }));
    EXPECT_EQ(batchLines.back(), "Batch set first  10000  successful!");
    EXPECT_LT(std::llabs(heapAtEnd - heapAt1000), HEAP_BOUND_BYTES)
        << "heap after cycle 1000: " << heapAt1000 << ", after " << CYCLES << ": " << heapAtEnd;

    CrossTheWrap(g_nKeyboardBatchCount, make);
    ExpectWrapped();
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(g_bKeyboardBatch, 1);
}

}  // namespace
