// The reader core: which answers it takes for which request, and that the
// settings it sends and reads are those of the window's controls.

#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "app/profile/ProfileControls.h"
#include "app/reader/SettingsControls.h"
#include "base/Gbk.h"
#include "core/Exchange.h"
#include "keypad/KeypadFrame.h"
#include "profile/Profile.h"
#include "sim/CardReaderModel.h"
#include "sim/VirtualClock.h"
#include "support/DialogFixture.h"

namespace {

core::Frame Request(std::initializer_list<uint8_t> head) {
    core::Frame f{};
    std::copy(head.begin(), head.end(), f.begin());
    return f;
}

TEST(CoreExchange, TakesOnlyTheAnswersOfTheRequestSent) {
    const core::Frame read = reader::EncodeReadRequest();
    const core::Frame settings = Request({0x20, 0x20, '%'});
    const core::Frame stringWrite = Request({0x20, 0xFD, 7, 2, '-', '-'});
    const core::Frame stringRead = Request({0x20, 0xFC, 7});
    const core::Frame query = kp::BuildKeypadQuery();
    const core::Frame codes = Request({0x20, 0xFF});
    const core::Frame foreign = Request({0x00, 0x20, 'R'});  // a read answer sent back
    struct Case {
        const char* what;
        const core::Frame& request;
        std::vector<uint8_t> answer;
        bool taken;
    } cases[] = {
        {"read answer", read, {0, 0, 'R'}, true},
        {"ack for the read request", read, {0x20, 0x20, 'Y'}, false},
        {"settings ack", settings, {0x20, 0x20, 'Y'}, true},
        {"late read answer for settings", settings, {0, 0, 'R'}, false},
        {"string stored", stringWrite, {0, 'S'}, true},
        {"older reader's string ack", stringWrite, {0x20, 0xFD, 'Y'}, true},
        {"string text for a write", stringWrite, {0, 'T', 0xCA}, false},
        {"string text", stringRead, {0, 'T', 0xCA, '-', '-'}, true},
        {"string stored for a read", stringRead, {0, 'S'}, false},
        {"key codes", query, {0, 'K', 0xFD}, true},
        {"no keypad", query, {0, 'M'}, true},
        {"query taken for settings", query, {0x20, 0xFE, 'Y'}, true},
        {"late read answer for the query", query, {0, 0, 'R'}, false},
        {"codes stored", codes, {0, 'K'}, true},
        {"settings ack for codes", codes, {0x20, 0x20, 'Y'}, false},
        {"anything for a frame of no kind", foreign, {1, 2, 3}, true},
        {"empty report for settings", settings, {}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::CouldAnswer(c.request, c.answer.data(), c.answer.size()), c.taken)
            << c.what;
}

profile::Profile Variant(int n) {
    profile::Profile p;
    switch (n) {
        case 1:
            p.idFormat = 5;
            p.SetIdSymbol(reader::FIELD_ID_MIDDLE, true, "--");
            p.SetIdSymbol(reader::FIELD_ID_END, true, "END");
            p.enter = false;
            break;
        case 2:
            p.sentinelsOn = false;
            p.tracks = {true, false, true};
            p.filterEquals = true;
            p.crAfterTrack = {true, true, false};  // under the whole-packet one
            break;
        case 3:
            p.crAfterPacket = false;
            p.crAfterTrack = {true, false, true};
            p.Text(reader::FIELD_T1_START) = tk::Utf8ToGbk("起始");
            p.Text(reader::FIELD_T2_END) = "END";
            p.SetIdSymbol(reader::FIELD_ID_START, true, "");
            break;
        default:
            break;
    }
    return p;
}

std::string Shown(const reader::Settings& s) {
    std::string out;
    for (const std::string& t : s.texts) out += "[" + t + "]";
    for (bool b : s.idSymbolOn) out += b ? '1' : '0';
    for (bool b : s.tracks) out += b ? '1' : '0';
    for (bool b : s.crAfterTrack) out += b ? '1' : '0';
    out += s.crAfterPacket ? '1' : '0';
    out += s.filterEquals ? '1' : '0';
    out += s.enter ? '1' : '0';
    return out + " format " + std::to_string(s.idFormat);
}

class CoreSettingsTest : public DialogFixture {};

// A profile loaded into the window and sent by Set Device, and the same
// profile sent by the core for the command line, are the same settings; and
// what Read Device shows is what the core reads.
TEST_F(CoreSettingsTest, ProfilesMeanTheSameToTheWindowAndTheCore) {
    AttachBeforeStart(std::make_unique<sim::CardReaderModel>());
    Start();
    for (int n = 0; n < 4; ++n) {
        const profile::Profile p = Variant(n);
        dlg->LoadProfile(p);
        EXPECT_EQ(Shown(reader::ReadSettingsControls(ui)), Shown(reader::Effective(p))) << n;
        ui.Click(ids::IDC_SET_DEVICE);
        ui.Click(ids::IDC_READ_DEVICE);
        const std::string window = profile::ProfileToJson(profile::ProfileFromControls(ui, false));

        dev::CHidLink link(port, port, clock);
        link.CheckPresence();
        core::ReaderSession session(link);
        const core::ReadResult read = session.ReadSettings({1});
        ASSERT_EQ(read.status, core::ReadStatus::Read) << n;
        EXPECT_EQ(profile::ProfileToJson(read.Settings()), window) << n;
    }
}

}  // namespace

namespace {

// Sessions side by side each spend time of their own: a fork starts at its
// clock's time and moves only by its own waits, whichever thread waits.
TEST(VirtualClockFork, KeepsItsOwnTime) {
    sim::VirtualClock clock;
    clock.Advance(1000);
    const std::unique_ptr<sim::VirtualClock> a = clock.Fork(), b = clock.Fork();
    a->WaitUntil(a->NowMs() + 2000);
    b->WaitUntil(b->NowMs() + 5);
    EXPECT_EQ(clock.NowMs(), 1000);
    EXPECT_EQ(a->NowMs(), 3000);
    EXPECT_EQ(b->NowMs(), 1005);
    // Its time of day runs with it: 09:00:03 against 09:00:01.
    EXPECT_EQ(a->Now().second, 3);
    EXPECT_EQ(clock.Now().second, 1);
}

}  // namespace
