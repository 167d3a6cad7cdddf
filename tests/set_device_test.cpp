// Set Device over the headless dialog with virtual card readers.

#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "base/Gbk.h"
#include "support/ReaderFixture.h"

using namespace ids;
using Firmware = sim::CardReaderModel::Firmware;

namespace {

class SetDeviceTest : public ReaderFixture {
  protected:
    // A two-byte track 2 end sentinel and a two-byte middle separator on a
    // reader that cannot store long texts; returns the lines it wrote.
    std::vector<std::string> OnOldReader(bool english) {
        StartWithReader(Firmware::Old);
        g_bEnglish = english;
        ui.SetText(IDC_T2_END, "ab");
        ui.Click(IDC_MIDDLE_SEP);
        ui.SetText(IDC_MIDDLE_SEP_TEXT, "--");
        const size_t mark = LineCount();
        ui.Click(IDC_SET_DEVICE);

        EXPECT_EQ(WireKinds(),
                  (std::vector<std::string>{"write 5", "write 7", "settings", "settings"}));
        const sim::Frame settings = FramesOf("settings")[0];
        EXPECT_EQ(settings[6], '?');
        EXPECT_EQ(settings[13], ',');
        EXPECT_EQ(reader->LongText(5), "a");  // the old reader keeps one character
        // The edits keep their long texts; only the frame carries the defaults.
        EXPECT_EQ(ui.GetText(IDC_T2_END), "ab");
        EXPECT_EQ(ui.GetText(IDC_MIDDLE_SEP_TEXT), "--");
        EXPECT_EQ(g_bMultiCharSupported, 0);
        return LinesSince(mark);
    }

    // Runs Set Device as a batch run does for a newly attached reader.
    void BatchSet(uint32_t countBefore) {
        g_bBatchMode = 1;
        g_bBatchDone = 0;
        g_nBatchCount = countBefore;
        dlg->SetDevice();
    }
};

const sim::Frame FACTORY_FRAME = [] {
    sim::Frame f{};
    const uint8_t head[] = {0x20, 0x20, '%', '%', '?',  ';',  '?',  '+', '?',
                            '7',  '8',  '0', '1', 0x04, 0x04, 0x04, '1'};
    std::copy(std::begin(head), std::end(head), f.begin());
    return f;
}();

TEST_F(SetDeviceTest, FactorySettings) {
    StartWithReader();
    const size_t mark = LineCount();
    ASSERT_TRUE(ui.Click(IDC_SET_DEVICE));
    EXPECT_EQ(WireKinds(), (std::vector<std::string>{"settings", "settings"}));
    EXPECT_EQ(device->Received()[0].frame, FACTORY_FRAME);
    EXPECT_EQ(device->Received()[1].frame, FACTORY_FRAME);
    EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{Stamped("配置设备成功！", clock)}));
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_TRUE(ui.IsEnabled(IDC_SET_DEVICE));
    EXPECT_FALSE(ui.IsChecked(IDC_COMPUTER_SLOW));
    const reader::StoredSettings stored = reader->StoredSettings();
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), FACTORY_FRAME.begin() + 3));
}

TEST_F(SetDeviceTest, ButtonIsDisabledWhileItRuns) {
    std::vector<bool> enabledAtFrames;
    auto model = std::make_unique<sim::CardReaderModel>();
    AttachBeforeStart(std::make_unique<WatchedModel>(
        std::move(model), [&] { enabledAtFrames.push_back(ui.IsEnabled(IDC_SET_DEVICE)); }));
    Start();
    ui.SetText(IDC_T2_END, "ab");
    ui.Click(IDC_SET_DEVICE);
    EXPECT_EQ(enabledAtFrames, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(ui.IsEnabled(IDC_SET_DEVICE));
}

TEST_F(SetDeviceTest, LongTextsOnACurrentReader) {
    StartWithReader();
    ui.SetText(IDC_T2_END, "ab");
    ui.SetText(IDC_T1_START, "一");  // one Chinese character is two bytes
    ui.Click(IDC_MIDDLE_SEP);
    ui.SetText(IDC_MIDDLE_SEP_TEXT, "--");
    ui.SetText(IDC_START_SEP_TEXT, "long");  // box unticked: not sent
    const size_t mark = LineCount();
    ui.Click(IDC_SET_DEVICE);

    EXPECT_EQ(WireKinds(),
              (std::vector<std::string>{"write 1", "write 5", "write 7", "settings", "settings"}));
    const sim::Frame settings = FramesOf("settings")[0];
    EXPECT_EQ(settings[2], 0xCA);
    EXPECT_EQ(settings[3], 0xCA);
    EXPECT_EQ(settings[6], 0xCA);
    EXPECT_EQ(settings[13], 0xCA);
    EXPECT_EQ(settings[14], 0x04);
    const sim::Frame write7 = FramesOf("write 7")[0];
    EXPECT_EQ(std::vector<uint8_t>(write7.begin(), write7.begin() + 6),
              (std::vector<uint8_t>{0x20, 0xFD, 7, 2, '-', '-'}));
    EXPECT_EQ(reader->LongText(1), "\xD2\xBB");
    EXPECT_EQ(reader->LongText(5), "ab");
    EXPECT_EQ(reader->LongText(7), "--");
    EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{Stamped("配置设备成功！", clock)}));
    EXPECT_EQ(g_bMultiCharSupported, 1);
}

TEST_F(SetDeviceTest, LongTextsOnAnOldReaderInBothLanguages) {
    struct Case {
        bool english;
        const char *old, *track, *middle, *success;
    } cases[] = {
        {false, "此设备可能是老版本的，不支持多字符！", "我已经把默认第二磁道结束符给您配置好了 ！",
         "我已经把默认ID卡中间分隔符给您配置好了 ！", "配置设备成功！"},
        {true, "The device may be the old version, does not support multiple characters !",
         "I have give you to configure the default second track end mark !",
         "I have give you to configure the default ID card middle separator !",
         "Configuration of success!"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> lines = OnOldReader(c.english);
        EXPECT_EQ(lines,
                  (std::vector<std::string>{"", c.old, Stamped(c.track, clock), "", c.old,
                                            Stamped(c.middle, clock), Stamped(c.success, clock)}))
            << c.english;
        dlg.reset();
        port.DetachQuietly(*device);
    }
}

TEST_F(SetDeviceTest, SilentReaderFailsEvenWithATrackOneSentinelY) {
    StartWithReader().SetSilent(true);
    // The frame carries "Y" where the acknowledgement is looked for.
    ui.SetText(IDC_T1_START, "Y");
    const size_t mark = LineCount();
    ui.Click(IDC_SET_DEVICE);
    EXPECT_EQ(WireKinds(), (std::vector<std::string>{"settings", "settings"}));
    EXPECT_EQ(FramesOf("settings")[0][2], 'Y');
    EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{Stamped("数据发送失败！", clock)}));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "电脑反应慢提示");
    EXPECT_EQ(ui.MessageBoxes()[0].text,
              "配置设备失败，可能是本机反应太慢，所以已智能为您勾上了电脑反应慢选项");
    EXPECT_EQ(ui.MessageBoxes()[0].buttons, tk::MsgBoxButtons::Ok);
    EXPECT_TRUE(ui.IsChecked(IDC_COMPUTER_SLOW));
    EXPECT_TRUE(ui.IsEnabled(IDC_SET_DEVICE));

    // The second failure waits for two answers and shows no box.
    g_bEnglish = 1;
    ui.Click(IDC_SET_DEVICE);
    EXPECT_EQ(LastLine(), Stamped("Data sent failed!", clock));
    EXPECT_EQ(ui.MessageBoxes().size(), 1u);
}

TEST_F(SetDeviceTest, ComputerSlowBoxInEnglish) {
    Start();  // no reader at all
    g_bEnglish = 1;
    ui.SetEnabled(IDC_SET_DEVICE, true);
    ui.Click(IDC_SET_DEVICE);
    EXPECT_EQ(LastLine(), Stamped("Data sent failed!", clock));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Computer slow");
    EXPECT_EQ(ui.MessageBoxes()[0].text,
              "Config device, failure may be the machine's slow, so has smart for you to hang up "
              "to the computer slow response options");
}

TEST_F(SetDeviceTest, AcknowledgementOnlyOnTheSecondRead) {
    StartWithReader().SetAnswerDelayMs(700);  // later than one read waits
    ui.SetChecked(IDC_COMPUTER_SLOW, true);
    ui.Click(IDC_SET_DEVICE);
    EXPECT_EQ(LastLine(), Stamped("配置设备成功！", clock));
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(SetDeviceTest, LateAcknowledgementWithOneRead) {
    StartWithReader().SetAnswerDelayMs(700);
    ui.Click(IDC_SET_DEVICE);
    EXPECT_EQ(LastLine(), Stamped("数据发送失败！", clock));
    EXPECT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_TRUE(ui.IsChecked(IDC_COMPUTER_SLOW));
}

TEST_F(SetDeviceTest, EmptyTickedSymbolGetsItsDefault) {
    struct Case {
        int box, edit;
        bool english;
        size_t offset;
        char expected;
        const char *caption, *text;
    } cases[] = {
        {IDC_MIDDLE_SEP, IDC_MIDDLE_SEP_TEXT, false, 13, ',', "错误提示",
         "你发送了空命令，我默认帮你发送','号！\r\n"},
        {IDC_START_SEP, IDC_START_SEP_TEXT, false, 14, ';', "错误提示",
         "你发送了空命令，我默认帮你发送';'号！\r\n"},
        {IDC_END_SEP, IDC_END_SEP_TEXT, false, 15, '?', "错误提示",
         "你发送了空命令，我默认帮你发送'?'号！\r\n"},
        {IDC_MIDDLE_SEP, IDC_MIDDLE_SEP_TEXT, true, 13, ',', "Error message",
         "You send the empty command, the default I help you send ','\r\n"},
        {IDC_START_SEP, IDC_START_SEP_TEXT, true, 14, ';', "Error message",
         "You send the empty command, the default I help you send ';'\r\n"},
        {IDC_END_SEP, IDC_END_SEP_TEXT, true, 15, '?', "Error message",
         "You send the empty command, the default I help you send '?'\r\n"},
    };
    StartWithReader();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        g_bEnglish = c.english;
        ui.ClearMessageBoxes();
        device->ClearReceived();
        ui.SetChecked(c.box, true);
        ui.SetText(c.edit, "");
        ui.Click(IDC_SET_DEVICE);
        EXPECT_EQ(ui.GetText(c.edit), std::string(1, c.expected));
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].caption, c.caption);
        EXPECT_EQ(ui.MessageBoxes()[0].text, c.text);
        EXPECT_EQ(ui.MessageBoxes()[0].buttons, tk::MsgBoxButtons::Ok);
        EXPECT_EQ(WireKinds(), (std::vector<std::string>{"settings", "settings"}));
        EXPECT_EQ(FramesOf("settings")[0][c.offset], c.expected);
        EXPECT_EQ(LastLine(),
                  Stamped(c.english ? "Configuration of success!" : "配置设备成功！", clock));
        ui.SetChecked(c.box, false);
    }
}

TEST_F(SetDeviceTest, BatchLine) {
    struct Case {
        bool english;
        uint32_t before;
        const char* line;
    } cases[] = {
        {true, 122, "Batch set first  00123  successful!"},
        {false, 122, "批量设置第  00123  台成功！"},
        {true, 99999, "Batch set first  00000  successful!"},
        {false, 0, "批量设置第  00001  台成功！"},
        {true, 0xFFFFFFFFu, "Batch set first  00000  successful!"},
    };
    StartWithReader();
    for (const Case& c : cases) {
        g_bEnglish = c.english;
        BatchSet(c.before);
        EXPECT_EQ(LastLine(), Stamped(c.line, clock));
        EXPECT_EQ(g_nBatchCount, c.before + 1);
        EXPECT_EQ(g_bBatchDone, 1);
        EXPECT_FALSE(ui.IsEnabled(IDC_SET_DEVICE));  // batch mode keeps it
    }
}

TEST_F(SetDeviceTest, BatchFailureLeavesTheReaderToRetry) {
    StartWithReader().SetSilent(true);
    BatchSet(5);
    EXPECT_EQ(LastLine(), Stamped("数据发送失败！", clock));
    EXPECT_EQ(g_nBatchCount, 5u);
    EXPECT_EQ(g_bBatchDone, 0);
}

TEST_F(SetDeviceTest, ConfiguredReaderInBatchModeGetsNoFrameAtAll) {
    StartWithReader();
    ui.SetText(IDC_T1_START, "abc");  // would need a string write
    ui.SetChecked(IDC_START_SEP, true);
    ui.SetText(IDC_START_SEP_TEXT, "");  // would raise a box
    g_bBatchMode = 1;
    g_bBatchDone = 1;
    g_nBatchCount = 7;
    ui.SetEnabled(IDC_SET_DEVICE, false);
    const std::string before = ui.GetText(IDC_OUTPUT);
    dlg->SetDevice();
    EXPECT_TRUE(device->Received().empty());
    EXPECT_EQ(ui.GetText(IDC_OUTPUT), before);
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(ui.GetText(IDC_START_SEP_TEXT), "");
    EXPECT_EQ(g_nBatchCount, 7u);
}

TEST_F(SetDeviceTest, KeyboardConfigurationFollowsASuccess) {
    // A plain card reader does not acknowledge the keypad's key codes.
    StartWithReader();
    g_bAutoKeyboardConfig = 1;
    ui.Click(IDC_SET_DEVICE);
    const auto lines = OutputLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "配置设备成功！");
    EXPECT_EQ(lines.back(), Stamped("键盘配置失败！", clock));

    // No acknowledgement of the settings: the keypad is left alone.
    reader->SetSilent(true);
    ui.Click(IDC_SET_DEVICE);
    EXPECT_EQ(LastLine(), Stamped("数据发送失败！", clock));
}

// A reader that takes string writes without a word: it would store the
// long-text marker of the settings frame without the text.
class MuteOnStringWrites : public sim::CardReaderModel {
  public:
    std::vector<sim::Frame> OnFrame(const sim::Frame& in) override {
        std::vector<sim::Frame> answers = CardReaderModel::OnFrame(in);
        if (in[0] == 0x20 && in[1] == 0xFD) answers.clear();
        return answers;
    }
};

TEST_F(SetDeviceTest, AnUnconfirmedLongTextIsAFailureThatNamesTheField) {
    struct Case {
        bool batch, english;
        std::vector<std::string> lines;
    } cases[] = {
        {false, false, {"数据发送失败！", "读卡器没有确认第二磁道结束符的长文本，设置没有发送！"}},
        {true,
         true,
         {"Data sent failed!",
          "The reader did not confirm the long text of the track 2 end sentinel; the settings "
          "were not sent!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines[0]);
        device = &AttachBeforeStart(std::make_unique<MuteOnStringWrites>());
        Start();
        g_bEnglish = c.english;
        ui.SetText(IDC_T2_END, "ab");
        const size_t mark = LineCount();
        if (c.batch)
            BatchSet(3);
        else
            ui.Click(IDC_SET_DEVICE);
        EXPECT_EQ(WireKinds(), (std::vector<std::string>{"write 5"}));
        std::vector<std::string> lines = UnstampedLinesSince(mark);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(ui.MessageBoxes().size(), 1u);  // "Computer slow", as for any failure
        EXPECT_EQ(g_nBatchCount, c.batch ? 3u : 0u);
        EXPECT_EQ(g_bBatchDone, 0);
        EXPECT_EQ(ui.IsEnabled(IDC_SET_DEVICE), !c.batch);
        dlg.reset();
        port.DetachQuietly(*device);
        ui.ClearMessageBoxes();
        ui.SetChecked(IDC_COMPUTER_SLOW, false);
    }
}

TEST_F(SetDeviceTest, CharactersThatCannotTravelAsTheyLookAreRefused) {
    using Wire = std::vector<std::string>;
    const Wire codeOnly = {"settings", "settings"};
    struct Case {
        int box;  // ticked first, 0 for none
        int edit;
        std::string text;
        bool english;
        std::string message;  // empty: sent
        Wire wire;            // what is sent
    } cases[] = {
        {0,
         IDC_T1_START,
         std::string(1, '\0'),
         false,
         "第一磁道起始符中的字符 U+0000 无法按原样发送给设备，没有发送任何数据。请修改后再试！",
         {}},
        {IDC_END_SEP,
         IDC_END_SEP_TEXT,
         "a😀",
         false,
         "ID卡结束符中的字符 \"😀\" (U+1F600) "
         "无法按原样发送给设备，没有发送任何数据。请修改后再试！",
         {}},
        // However full the field already is.
        {IDC_END_SEP,
         IDC_END_SEP_TEXT,
         "abcdefgh😀x",
         true,
         "The character \"😀\" (U+1F600) in the ID card end string cannot be sent to the "
         "device as it looks; nothing was sent. Please change it and try again!",
         {}},
        {0, IDC_MIDDLE_SEP_TEXT, "\x04", true, "", codeOnly},  // box not ticked: "off" is sent
        {0, IDC_T3_START, "\x04", false, "", codeOnly},        // in a sentinel it is a character
        // One byte the reader would take for "none", "off" or a long text's
        // length as its code goes as a one-byte long text.
        {0, IDC_T2_START, "\x01", true, "", {"write 2", "settings", "settings"}},
        {IDC_MIDDLE_SEP,
         IDC_MIDDLE_SEP_TEXT,
         "\x04",
         true,
         "",
         {"write 7", "settings", "settings"}},
        {0, IDC_T1_END, "«D0»", true, "", {"write 4", "settings", "settings"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message + c.text);
        StartWithReader();
        g_bEnglish = c.english;
        if (c.box) ui.Click(c.box);
        ui.SetText(c.edit, c.text);
        const size_t mark = LineCount();
        ui.Click(IDC_SET_DEVICE);
        if (c.message.empty()) {
            EXPECT_EQ(WireKinds(), c.wire);
        } else {
            EXPECT_TRUE(device->Received().empty());
            EXPECT_EQ(UnstampedLinesSince(mark), std::vector<std::string>{c.message});
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            EXPECT_EQ(ui.MessageBoxes()[0].text, c.message);
            EXPECT_TRUE(ui.IsEnabled(IDC_SET_DEVICE));
        }
        dlg.reset();
        port.DetachQuietly(*device);
        ui.ClearMessageBoxes();
    }
}

TEST_F(SetDeviceTest, WithoutGbkConversionNothingIsSent) {
    StartWithReader();
    tk::SimulateGbkUnavailable(true);
    ui.SetText(IDC_T1_START, "中");
    ui.Click(IDC_SET_DEVICE);
    tk::SimulateGbkUnavailable(false);
    EXPECT_TRUE(device->Received().empty());
    EXPECT_EQ(Unstamped(LastLine()), "本系统不能把文字转换为GBK编码，没有发送任何数据！");
}

// Swaps the reader for another one once the first has answered its first
// string write: between two transfers of one Set Device.
class SwappingPort : public sim::VirtualHidPort {
  public:
    using VirtualHidPort::VirtualHidPort;
    std::vector<dev::HidInterfaceInfo> Enumerate() override {
        if (first && !first->Received().empty() && clock->NowMs() > first->Received()[0].timeMs) {
            DetachQuietly(*std::exchange(first, nullptr));
            second = &AttachQuietly(std::make_unique<sim::CardReaderModel>());
        }
        return VirtualHidPort::Enumerate();
    }
    sim::VirtualDevice* first = nullptr;
    sim::VirtualDevice* second = nullptr;
    tk::Clock* clock = nullptr;
};

TEST(SetDeviceSwap, AReaderSwappedInDuringOneConfigurationIsNotCounted) {
    sim::VirtualClock clock;
    tk::HeadlessSurface ui(app::MainDialogSpec());
    SwappingPort port(clock);
    port.clock = &clock;
    port.first = &port.AttachQuietly(std::make_unique<sim::CardReaderModel>());
    CReaderConfigDlg dlg(ui, port, port, clock);
    dlg.OnInitDialog();
    ui.SetText(IDC_T1_START, "ab");
    g_bBatchMode = 1;
    dlg.SetDevice();
    ASSERT_NE(port.second, nullptr);
    EXPECT_TRUE(port.second->Received().empty());
    EXPECT_EQ(g_nBatchCount, 0u);
    EXPECT_EQ(g_bBatchDone, 0);
    EXPECT_EQ(dlg.Link().LastTransferStatus(), dev::TransferStatus::Gone);
    g_bBatchMode = 0;
}

}  // namespace
