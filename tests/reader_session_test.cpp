// The reader core's operations and their typed results against virtual
// readers: what each kind of device gives back, and the notices that come
// in the middle of an operation.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/ReaderSession.h"
#include "keypad/KeyNameTable.h"
#include "sim/CardReaderModel.h"
#include "sim/KeypadModel.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"

namespace {

// Records the notices as "symbol 8", "old 7", "read".
struct Notices : core::SessionEvents {
    std::vector<std::string> seen;
    void OnSymbolDefaulted(int field) override {
        seen.push_back("symbol " + std::to_string(field));
    }
    void OnOldReader(int field) override { seen.push_back("old " + std::to_string(field)); }
    void OnSettingsRead(const core::ReadResult&) override { seen.push_back("read"); }
};

reader::Settings Factory() {
    reader::Settings s;
    for (int i = 1; i <= reader::FIELD_COUNT; ++i)
        s.texts[static_cast<size_t>(i)] =
            std::string(1, reader::DEFAULT_CHARS[static_cast<size_t>(i)]);
    s.tracks = {true, true, true};
    s.crAfterPacket = true;
    s.enter = true;
    return s;
}

reader::Settings WithMiddle(const std::string& text) {
    reader::Settings s = Factory();
    s.idSymbolOn[0] = true;
    s.texts[reader::FIELD_ID_MIDDLE] = text;
    return s;
}

std::unique_ptr<sim::ReaderModel> Reader(
    bool silent = false,
    sim::CardReaderModel::Firmware firmware = sim::CardReaderModel::Firmware::Current) {
    auto m = std::make_unique<sim::CardReaderModel>(firmware);
    m->SetSilent(silent);
    return m;
}

// One device on a virtual clock of its own, and a session on it.
struct OneDevice {
    explicit OneDevice(std::unique_ptr<sim::ReaderModel> model) {
        port.AttachQuietly(std::move(model));
        link.CheckPresence();
    }
    sim::VirtualClock clock;
    sim::VirtualHidPort port{clock};
    dev::CHidLink link{port, port, clock};
    Notices notices;
    core::ReaderSession session{link, &notices};
};

TEST(ReaderSession, SetSettingsTellsHowItEnded) {
    struct Case {
        const char* what;
        std::function<std::unique_ptr<sim::ReaderModel>()> model;
        reader::Settings settings;
        core::SetStatus status;
        int field;
        std::vector<std::string> notices;
        bool multiChar;
    } cases[] = {
        {"long text stored",
         [] { return Reader(); },
         WithMiddle("--"),
         core::SetStatus::Configured,
         0,
         {},
         true},
        {"older reader",
         [] { return Reader(false, sim::CardReaderModel::Firmware::Old); },
         WithMiddle("--"),
         core::SetStatus::Configured,
         0,
         {"old 7"},
         false},
        {"silent, long text",
         [] { return Reader(true); },
         WithMiddle("--"),
         core::SetStatus::LongTextUnstored,
         reader::FIELD_ID_MIDDLE,
         {},
         true},
        {"silent, no long text",
         [] { return Reader(true); },
         Factory(),
         core::SetStatus::NotAcknowledged,
         0,
         {},
         true},
        {"ticked empty symbol",
         [] { return Reader(); },
         WithMiddle(""),
         core::SetStatus::Configured,
         0,
         {"symbol 7"},
         true},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        OneDevice d(c.model());
        const core::SetResult r = d.session.SetSettings(c.settings, {1});
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.field, c.field);
        EXPECT_EQ(d.notices.seen, c.notices);
        EXPECT_EQ(d.session.MultiCharSupported(), c.multiChar);
        // A defaulted symbol goes out as its default and is so in the settings.
        if (c.notices == std::vector<std::string>{"symbol 7"}) {
            EXPECT_EQ(c.settings.texts[reader::FIELD_ID_MIDDLE], ",");
        }
    }
}

TEST(ReaderSession, ReadSettingsGivesWhatTheReaderHolds) {
    auto model = std::make_unique<sim::CardReaderModel>();
    sim::CardReaderModel& reader = *model;
    OneDevice d(std::move(model));
    core::ReaderSession& s = d.session;
    EXPECT_EQ(s.ReadSettings({1}).status, core::ReadStatus::NotConfigured);

    reader::Settings written = WithMiddle("--");
    written.idFormat = 5;
    ASSERT_EQ(s.SetSettings(written, {1}).status, core::SetStatus::Configured);
    d.notices.seen.clear();
    const core::ReadResult r = s.ReadSettings({1});
    ASSERT_EQ(r.status, core::ReadStatus::Read);
    EXPECT_EQ(r.Settings().idFormat, 5);
    EXPECT_EQ(r.Settings().texts[reader::FIELD_ID_MIDDLE], "--");
    EXPECT_TRUE(r.Settings().idSymbolOn[0]);
    EXPECT_TRUE(r.Settings().sentinelsOn);
    EXPECT_EQ(d.notices.seen, std::vector<std::string>{"read"});

    // A long text that does not come back ends the reading at its field.
    auto old = std::make_unique<sim::CardReaderModel>(sim::CardReaderModel::Firmware::Old);
    old->SetSettings(reader.StoredSettings());
    OneDevice older(std::move(old));
    const core::ReadResult unread = older.session.ReadSettings({1});
    EXPECT_EQ(unread.status, core::ReadStatus::LongTextUnread);
    EXPECT_EQ(unread.field, reader::FIELD_ID_MIDDLE);

    reader.SetSilent(true);
    EXPECT_EQ(s.ReadSettings({1}).status, core::ReadStatus::NoAnswer);
}

TEST(ReaderSession, KeypadProbeAndConfigurationByDevice) {
    const core::KeyCodes codes = DEFAULT_KEY_CODES;
    struct Case {
        const char* what;
        std::function<std::unique_ptr<sim::ReaderModel>()> model;
        core::KeypadStatus probe;
        core::KeypadConfigStatus config;
    } cases[] = {
        {"keypad", [] { return std::make_unique<sim::KeypadModel>(Reader()); },
         core::KeypadStatus::Keypad, core::KeypadConfigStatus::Configured},
        {"keypad that stores nothing",
         [] {
             auto k = std::make_unique<sim::KeypadModel>(Reader());
             k->storesCodes = false;
             return k;
         },
         core::KeypadStatus::Keypad, core::KeypadConfigStatus::NotAcknowledged},
        {"reader without keys", [] { return std::make_unique<sim::NoKeypadModel>(Reader()); },
         core::KeypadStatus::NotKeypad, core::KeypadConfigStatus::NotKeypad},
        {"reader that echoes settings",
         [] {
             return std::make_unique<sim::SettingsEchoModel>(sim::SettingsEchoModel::Settings{});
         },
         core::KeypadStatus::SettingsEcho, core::KeypadConfigStatus::NotKeypad},
        {"silent", [] { return Reader(true); }, core::KeypadStatus::NoAnswer,
         core::KeypadConfigStatus::NoAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OneDevice d(c.model());
        const core::KeypadProbe probe = d.session.ProbeKeypad({1});
        EXPECT_EQ(probe.status, c.probe);
        if (probe.status == core::KeypadStatus::Keypad) {
            EXPECT_EQ(probe.codes, codes);
        }
        EXPECT_EQ(d.session.ConfigureKeypad(codes, {1}), c.config);
    }
}

}  // namespace
