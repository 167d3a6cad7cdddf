// Read Device over the headless dialog with virtual card readers.

#include <gtest/gtest.h>

#include <map>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "support/ReaderFixture.h"

using namespace ids;
using Firmware = sim::CardReaderModel::Firmware;

namespace {

// What the general settings view shows of the reader settings.
struct View {
    std::map<int, std::string> texts;
    std::map<int, bool> checked, enabled;
    bool operator==(const View&) const = default;
};

// Stored settings of a reader configured with the factory values.
const reader::StoredSettings FACTORY = {'%', '?', ';', '?',  '+',  '?',  '7',
                                        '8', '0', '1', 0x04, 0x04, 0x04, '1'};

class ReadDeviceTest : public ReaderFixture {
  protected:
    View Snapshot() const {
        View v;
        for (int id : {IDC_T1_START, IDC_T1_END, IDC_T2_START, IDC_T2_END, IDC_T3_START, IDC_T3_END,
                       IDC_MIDDLE_SEP_TEXT, IDC_START_SEP_TEXT, IDC_END_SEP_TEXT}) {
            v.texts[id] = ui.GetText(id);
            v.enabled[id] = ui.IsEnabled(id);
        }
        for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id)
            v.checked[id] = ui.IsChecked(id);
        for (int id : {IDC_SENTINELS, IDC_TRACK1, IDC_TRACK2, IDC_TRACK3, IDC_CR_TRACK1,
                       IDC_CR_TRACK2, IDC_CR_TRACK3, IDC_CR_PACKET, IDC_FILTER_EQUALS,
                       IDC_MIDDLE_SEP, IDC_START_SEP, IDC_END_SEP, IDC_ENTER_AFTER}) {
            v.checked[id] = ui.IsChecked(id);
            v.enabled[id] = ui.IsEnabled(id);
        }
        return v;
    }

    // Starts with a reader that holds settings and reads them.
    void ReadStored(const reader::StoredSettings& stored) {
        StartWithReader().SetSettings(stored);
        ui.Click(IDC_READ_DEVICE);
    }
};

TEST_F(ReadDeviceTest, RoundTripOfASetDevice) {
    StartWithReader();
    ui.SetText(IDC_T1_START, "ab");
    ui.SetText(IDC_T1_END, "");
    ui.SetText(IDC_T2_START, "Y");
    ui.SetText(IDC_T2_END, "一二");
    ui.SetText(IDC_T3_END, "123456789");
    ui.Click(IDC_TRACK1);
    ui.Click(IDC_CR_PACKET);
    ui.Click(IDC_CR_TRACK3);
    ui.Click(IDC_FILTER_EQUALS);
    ui.Click(IDC_FORMAT_FIRST + 9);
    ui.Click(IDC_MIDDLE_SEP);
    ui.SetText(IDC_MIDDLE_SEP_TEXT, "--");
    ui.Click(IDC_END_SEP);
    ui.SetText(IDC_END_SEP_TEXT, "!");
    ui.Click(IDC_ENTER_AFTER);
    ui.Click(IDC_SET_DEVICE);
    ASSERT_EQ(LastLine(), Stamped("配置设备成功！", clock));
    const View written = Snapshot();

    ui.Click(IDC_DEFAULT_SETTING);
    ASSERT_FALSE(Snapshot() == written);
    device->ClearReceived();
    const size_t mark = LineCount();
    ASSERT_TRUE(ui.Click(IDC_READ_DEVICE));

    EXPECT_TRUE(Snapshot() == written);
    EXPECT_EQ(ui.GetText(IDC_T2_END), "一二");
    EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{Stamped("读取设备成功！", clock)}));
    EXPECT_EQ(WireKinds(), (std::vector<std::string>{"read request", "read request", "read 1",
                                                     "read 5", "read 6", "read 7", "other"}));
    // The answer itself goes back to the reader at the end.
    EXPECT_EQ(device->Received().back().frame[2], 'R');
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_TRUE(ui.IsEnabled(IDC_READ_DEVICE));
    EXPECT_EQ(ui.FocusedControl(), IDC_OUTPUT);
}

TEST_F(ReadDeviceTest, ButtonIsDisabledWhileItRuns) {
    std::vector<bool> enabledAtFrames;
    auto model = std::make_unique<sim::CardReaderModel>();
    model->SetSettings(FACTORY);
    AttachBeforeStart(std::make_unique<WatchedModel>(
        std::move(model), [&] { enabledAtFrames.push_back(ui.IsEnabled(IDC_READ_DEVICE)); }));
    Start();
    ui.Click(IDC_READ_DEVICE);
    EXPECT_EQ(enabledAtFrames, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(ui.IsEnabled(IDC_READ_DEVICE));
}

TEST_F(ReadDeviceTest, FailureLines) {
    struct Case {
        bool fresh, english;
        std::vector<std::string> lines;  // without the time stamp line
        const char* boxText;
    } cases[] = {
        {true,
         false,
         {"读取设备失败！", "因为此设备没有正确配置，请重新配置！"},
         "读取设备数据失败，可能是本机反应太慢，所以已智能为您勾上了电脑反应慢选项"},
        {false,
         false,
         {"读取设备失败！"},
         "读取设备数据失败，可能是本机反应太慢，所以已智能为您勾上了电脑反应慢选项"},
        {true,
         true,
         {"Read Device fail!",
          "Because the equipment not properly configured, please reconfigure！"},
         "Read the device data, failure may be the machine's slow, so has smart for you to hang "
         "up to the computer slow response options"},
        {false,
         true,
         {"Read Device fail!"},
         "Read the device data, failure may be the machine's slow, so has smart for you to hang "
         "up to the computer slow response options"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines[0] + (c.fresh ? " fresh" : " silent"));
        sim::CardReaderModel& model = StartWithReader();
        model.SetSilent(!c.fresh);  // a fresh reader answers "R" and nothing else
        g_bEnglish = c.english;
        ui.SetText(IDC_T1_START, "q");
        const View before = Snapshot();
        const size_t mark = LineCount();
        ui.ClearMessageBoxes();
        ui.Click(IDC_READ_DEVICE);

        std::vector<std::string> expected = c.lines;
        expected.push_back("");  // the message ends with CR LF, the time stands alone
        EXPECT_EQ(UnstampedLinesSince(mark), expected);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].caption, c.english ? "Computer slow" : "电脑反应慢提示");
        EXPECT_EQ(ui.MessageBoxes()[0].text, c.boxText);
        EXPECT_TRUE(ui.IsChecked(IDC_COMPUTER_SLOW));
        EXPECT_TRUE(Snapshot() == before);
        // Nothing valid came back: nothing goes back to the reader either.
        EXPECT_EQ(WireKinds(), (std::vector<std::string>{"read request", "read request"}));

        // With the box ticked a second failure shows no box.
        ui.Click(IDC_READ_DEVICE);
        EXPECT_EQ(ui.MessageBoxes().size(), 1u);
        dlg.reset();
        port.DetachQuietly(*device);
    }
}

TEST_F(ReadDeviceTest, AnswerLengths) {
    struct Case {
        size_t zeroAt;  // payload offset of the first 0x00
        bool valid, notConfiguredLine;
    } cases[] = {
        {16, true, false}, {15, false, true}, {13, false, true},  // "R" and ten bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zeroAt);
        reader::StoredSettings stored = FACTORY;
        for (size_t i = c.zeroAt - 3; i < stored.size(); ++i) stored[i] = 0;
        ReadStored(stored);
        const auto lines = OutputLines();
        if (c.valid) {
            EXPECT_EQ(Unstamped(lines.back()), "读取设备成功！");
            EXPECT_FALSE(ui.IsChecked(IDC_ENTER_AFTER));  // the Enter byte read as 0x00
        } else {
            EXPECT_EQ(lines[lines.size() - 3], "读取设备失败！");
            EXPECT_EQ(lines[lines.size() - 2], "因为此设备没有正确配置，请重新配置！");
        }
        dlg.reset();
        port.DetachQuietly(*device);
    }
}

TEST_F(ReadDeviceTest, SeparatorSwitchedOff) {
    Start();
    ui.SetChecked(IDC_MIDDLE_SEP, true);
    ui.SetText(IDC_MIDDLE_SEP_TEXT, "zz");
    dlg.reset();
    reader::StoredSettings stored = FACTORY;
    stored[10] = 0x04;
    stored[12] = 0x04;
    ReadStored(stored);
    EXPECT_FALSE(ui.IsChecked(IDC_MIDDLE_SEP));
    EXPECT_EQ(ui.GetText(IDC_MIDDLE_SEP_TEXT), ",");
    EXPECT_FALSE(ui.IsChecked(IDC_END_SEP));
    EXPECT_EQ(ui.GetText(IDC_END_SEP_TEXT), "?");
}

TEST_F(ReadDeviceTest, LongSeparatorComesByStringRead) {
    reader::StoredSettings stored = FACTORY;
    stored[10] = 0xCB;
    stored[11] = '#';
    StartWithReader().SetSettings(stored);
    reader->SetLongText(7, "abc");
    ui.Click(IDC_READ_DEVICE);
    EXPECT_EQ(WireKinds(),
              (std::vector<std::string>{"read request", "read request", "read 7", "other"}));
    EXPECT_EQ(ui.GetText(IDC_MIDDLE_SEP_TEXT), "abc");
    EXPECT_TRUE(ui.IsChecked(IDC_MIDDLE_SEP));
    EXPECT_EQ(ui.GetText(IDC_START_SEP_TEXT), "#");
    EXPECT_TRUE(ui.IsChecked(IDC_START_SEP));
}

TEST_F(ReadDeviceTest, UnansweredLongTextLeavesTheViewAndNamesTheField) {
    struct Case {
        size_t byte;  // settings byte (from 3) of the long text
        bool english;
        std::string line;
    } cases[] = {
        {3, false, "读卡器没有返回第一磁道起始符的长文本，界面上的设置没有改变！"},
        {15, true,
         "The reader did not return the long text of the ID card end string; the settings on "
         "screen were left as they were!"},
    };
    for (const Case& c : cases) {
        reader::StoredSettings stored = FACTORY;
        stored[c.byte - 3] = 0xCA;  // a long text the old reader cannot return
        stored[6] = '2';
        StartWithReader(Firmware::Old).SetSettings(stored);
        g_bEnglish = c.english;
        ui.SetText(IDC_T1_START, "kept");
        const View before = Snapshot();
        const size_t mark = LineCount();
        ui.Click(IDC_READ_DEVICE);
        EXPECT_EQ(WireKinds(),
                  (std::vector<std::string>{"read request", "read request",
                                            c.byte == 3 ? "read 1" : "read 9", "other"}));
        EXPECT_TRUE(Snapshot() == before);
        const auto lines = UnstampedLinesSince(mark);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], c.english ? "Read Device fail!" : "读取设备失败！");
        EXPECT_EQ(lines[1], c.line);
        EXPECT_EQ(ui.MessageBoxes().size(), 1u);  // the "Computer slow" box, as for any failure
        dlg.reset();
        port.DetachQuietly(*device);
        ui.ClearMessageBoxes();
        ui.SetChecked(IDC_COMPUTER_SLOW, false);
    }
}

TEST_F(ReadDeviceTest, OnlyAValidAnswerGoesBackToTheReader) {
    // A reader that answers the read request with a garbled, cut-short answer
    // headed like a settings frame, and stores any settings frame it gets.
    struct Garbled : sim::ReaderModel {
        std::vector<sim::Frame> OnFrame(const sim::Frame& in) override {
            if (in == reader::EncodeReadRequest()) {
                sim::Frame answer{};
                const uint8_t bytes[] = {0x20, 0x20, 'R', 'A', 'B', 'C'};
                std::copy(std::begin(bytes), std::end(bytes), answer.begin());
                return {answer};
            }
            if (in[0] == 0x20 && in[1] == 0x20) ++settingsStored;
            return {};
        }
        int settingsStored = 0;
    };
    auto model = std::make_unique<Garbled>();
    Garbled& garbled = *model;
    device = &AttachBeforeStart(std::move(model));
    Start();
    ui.Click(IDC_READ_DEVICE);
    EXPECT_EQ(WireKinds(), (std::vector<std::string>{"read request", "read request"}));
    EXPECT_EQ(garbled.settingsStored, 0);
}

TEST_F(ReadDeviceTest, TracksAndCarriageReturnsSix) {
    reader::StoredSettings stored = FACTORY;
    stored[6] = '6';
    stored[7] = '6';
    ReadStored(stored);
    EXPECT_FALSE(ui.IsChecked(IDC_TRACK1));
    EXPECT_TRUE(ui.IsChecked(IDC_TRACK2));
    EXPECT_TRUE(ui.IsChecked(IDC_TRACK3));
    EXPECT_TRUE(ui.IsChecked(IDC_CR_TRACK1));
    EXPECT_TRUE(ui.IsChecked(IDC_CR_TRACK2));
    EXPECT_FALSE(ui.IsChecked(IDC_CR_TRACK3));
    EXPECT_FALSE(ui.IsChecked(IDC_CR_PACKET));
    for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3, IDC_CR_PACKET})
        EXPECT_TRUE(ui.IsEnabled(id)) << id;
}

TEST_F(ReadDeviceTest, NoSentinels) {
    reader::StoredSettings stored = FACTORY;
    for (size_t i = 0; i < 6; ++i) stored[i] = 0x01;
    ReadStored(stored);
    for (int id : SENTINEL_EDITS) {
        EXPECT_EQ(ui.GetText(id), "") << id;
        EXPECT_FALSE(ui.IsEnabled(id)) << id;
    }
    EXPECT_FALSE(ui.IsChecked(IDC_SENTINELS));
}

TEST_F(ReadDeviceTest, FormatOutsideTheThirteenSelectsNothing) {
    // "0" would name button 1027, ">" the unused id 1041, 0x7F a key group box.
    for (uint8_t format : {uint8_t{'0'}, uint8_t{'>'}, uint8_t{0x7F}}) {
        SCOPED_TRACE(format);
        reader::StoredSettings stored = FACTORY;
        stored[9] = format;
        stored[8] = '1';
        ReadStored(stored);
        EXPECT_EQ(Unstamped(LastLine()), "读取设备成功！");
        for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id)
            EXPECT_FALSE(ui.IsChecked(id)) << id;
        EXPECT_FALSE(ui.IsChecked(IDC_BATCH));
        EXPECT_FALSE(ui.IsChecked(KeyGroupId(13)));
        EXPECT_TRUE(ui.IsChecked(IDC_FILTER_EQUALS));  // the rest is loaded
        dlg.reset();
        port.DetachQuietly(*device);
    }
    reader::StoredSettings stored = FACTORY;
    stored[9] = '=';
    ReadStored(stored);
    EXPECT_TRUE(ui.IsChecked(IDC_FORMAT_LAST));
    EXPECT_FALSE(ui.IsChecked(IDC_FORMAT_FIRST));
}

TEST_F(ReadDeviceTest, SilentReaderWithComputerSlowTicked) {
    StartWithReader().SetSilent(true);
    ui.SetChecked(IDC_COMPUTER_SLOW, true);
    const int64_t start = clock.NowMs();
    ui.Click(IDC_READ_DEVICE);
    // Two reads of the request, each waiting its full time; nothing goes back.
    EXPECT_EQ(clock.NowMs() - start, 2 * dev::READ_WAIT_MS);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(OutputLines()[OutputLines().size() - 2], "读取设备失败！");
}

}  // namespace
