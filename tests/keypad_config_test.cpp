// Config keyboard, writing the key codes, and the keypad's batch mode, as the
// user and the device see them.

#include <gtest/gtest.h>

#include "support/KeypadFixture.h"

using namespace ids;

namespace {

class ConfigKeyboardTest : public KeypadFixture {
  protected:
    // What the arrival handling does in the keyboard view while keypad batch
    // mode runs: configure the keypad unless it has been already.
    void Arrive() {
        if (dlg->Link().CheckPresence() && g_bKeyboardBatch && !g_bKeyboardBatchDone)
            dlg->ConfigKeyboard();
    }
    // What the removal handling does: the next keypad is a new one.
    void Depart() {
        Unplug();
        g_bKeyboardBatchDone = 0;
    }
    std::vector<int> BatchOwnedControls() const {
        std::vector<int> ids = {IDC_AUTO_KEYBOARD, IDC_KEYPAD_GROUP, IDC_CONFIG_KEY,
                                IDC_DEFAULT_KEYS, IDC_READ_CONFIG};
        for (int n = 1; n <= KEY_FIELD_COUNT; ++n) {
            ids.push_back(KeyFieldId(n));
            ids.push_back(KeyGroupId(n));
        }
        return ids;
    }
};

const kp::KeyCodes ALL_A = [] {
    kp::KeyCodes codes;
    codes.fill(0x41);
    return codes;
}();

struct LanguageCase {
    bool english;
    const char* line;
};

class ConfigKeyboardLanguageTest : public ConfigKeyboardTest,
                                   public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(ConfigKeyboardLanguageTest, DefaultFieldsProgramAKeypad) {
    StartInKeyboardView(Keypad(ALL_A));
    g_bEnglish = GetParam().english;
    ASSERT_TRUE(ui.Click(IDC_DEFAULT_KEYS));
    counter.reads = 0;

    ASSERT_TRUE(ui.Click(IDC_CONFIG_KEY));
    EXPECT_EQ(Frames(), Twice({ReadRequest(), Query(), KeyCodeFrame(DEFAULT_KEY_CODES)}));
    EXPECT_EQ(device->ModelAs<sim::KeypadModel>().StoredCodes(), DEFAULT_KEY_CODES);
    EXPECT_EQ(counter.reads, 3);
    EXPECT_EQ(LastLine(), Stamped(GetParam().line, clock));
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_TRUE(ui.IsEnabled(IDC_CONFIG_KEY));
    // The probe brought the keypad's old codes in.
    EXPECT_EQ(g_keyCodesIn, ALL_A);
}

INSTANTIATE_TEST_SUITE_P(Languages, ConfigKeyboardLanguageTest,
                         ::testing::Values(LanguageCase{false, "键盘数据配置成功！"},
                                           LanguageCase{
                                               true, "The keyboard data configuration success !"}));

TEST_F(ConfigKeyboardTest, FieldTextsBecomeCodes) {
    StartInKeyboardView(Keypad());
    SetKeyFields({"F10",  "F1",       "BACK",  "确认",   "PAGE UP", "esc", "",
                  "键盘", "CLEAR",    "ENTER", "回车键", "清除",    "F1 ", "PAGE_UP",
                  "a",    "KEYBOARD", "END",   "0",      ".",       "ESC"});
    ui.Click(IDC_CONFIG_KEY);
    const kp::KeyCodes expected = {0xEF, 0xF8, 0xE9, 0xFE, 0x50, 0x65, 0x00, 0xBC, 0xE9, 0xFE,
                                   0xFE, 0xE9, 0x46, 0xE5, 0x61, 0x4B, 0xE3, 0x30, 0x2E, 0xFD};
    EXPECT_EQ(g_keyCodesOut, expected);
    EXPECT_EQ(device->ModelAs<sim::KeypadModel>().StoredCodes(), expected);
    EXPECT_EQ(Frames().back(), KeyCodeFrame(expected));
}

TEST_F(ConfigKeyboardTest, PlainReaderIsNoKeypad) {
    StartInKeyboardView(PlainReader());
    ui.Click(IDC_CONFIG_KEY);
    EXPECT_EQ(Frames(), Twice({ReadRequest(), Query()}));
    EXPECT_EQ(LastLine(), Stamped("此设备不支持键盘设置！", clock));
    EXPECT_EQ(g_keyCodesIn, DEFAULT_KEY_CODES);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(ConfigKeyboardTest, OlderReaderGetsItsSettingsBack) {
    StartInKeyboardView(OlderReader());
    g_bEnglish = 1;
    ui.Click(IDC_CONFIG_KEY);

    sim::Frame restore{};
    restore[0] = 0x20;
    restore[1] = 0x20;
    restore[2] = 'R';
    const auto settings = ReaderSettings();
    std::copy(settings.begin(), settings.end(), restore.begin() + 3);
    EXPECT_EQ(Frames(), Twice({ReadRequest(), Query(), restore}));
    // The query overwrote the reader's settings; the frame sent back restored them.
    EXPECT_EQ(device->ModelAs<sim::SettingsEchoModel>().StoredSettings(), settings);
    EXPECT_EQ(LastLine(), Stamped("This device does not support keyboard Settings !", clock));
    EXPECT_EQ(counter.reads, 3);
}

TEST_F(ConfigKeyboardTest, OlderReaderWithoutReadAnswerGetsNothingBack) {
    auto reader = OlderReader();
    reader->answersReadRequest = false;
    StartInKeyboardView(std::move(reader));
    EXPECT_EQ(dlg->ProbeKeypad(), KP_SETTINGS_ECHO);
    // The read request left in the buffer is no settings frame to send.
    EXPECT_EQ(Frames(), Twice({ReadRequest(), Query()}));
}

TEST_F(ConfigKeyboardTest, WithoutDeviceTheFieldsAreStillTakenOver) {
    StartInKeyboardView(nullptr);
    SetKeyFields({"F12", "F11", "F10", "F9", "1", "2", "3",    "A", "4", "5",
                  "6",   "B",   "7",   "8",  "9", "C", "BACK", "0", "#", "ENTER"});
    ui.Click(IDC_CONFIG_KEY);
    EXPECT_EQ(LastLine(), Stamped("写入键盘配置初始化失败！", clock));
    EXPECT_TRUE(ui.MessageBoxes().empty());
    const kp::KeyCodes expected = {0xED, 0xEE, 0xEF, 0xF0, '1', '2', '3',  'A', '4', '5',
                                   '6',  'B',  '7',  '8',  '9', 'C', 0xE9, '0', '#', 0xFE};
    EXPECT_EQ(g_keyCodesOut, expected);

    // A keypad plugged in later gets exactly these codes, without a probe.
    auto& keypad = Plug(Keypad());
    EXPECT_TRUE(dlg->WriteKeyCodes());
    EXPECT_EQ(Frames(), Twice({KeyCodeFrame(expected)}));
    EXPECT_EQ(keypad.ModelAs<sim::KeypadModel>().StoredCodes(), expected);
}

TEST_F(ConfigKeyboardTest, WriteKeyCodesSendsTheDefaultsBeforeAnyConfig) {
    StartInKeyboardView(Keypad(ALL_A));
    EXPECT_TRUE(dlg->WriteKeyCodes());
    EXPECT_EQ(Frames(), Twice({KeyCodeFrame(DEFAULT_KEY_CODES)}));
    EXPECT_EQ(LineCount(), 3u);  // welcome (two lines) and presence only
}

TEST_F(ConfigKeyboardTest, WriteKeyCodesFailsQuietly) {
    auto keypad = Keypad();
    keypad->storesCodes = false;
    StartInKeyboardView(std::move(keypad));
    const size_t mark = LineCount();
    EXPECT_FALSE(dlg->WriteKeyCodes());
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_FALSE(ui.IsChecked(IDC_COMPUTER_SLOW));
    EXPECT_TRUE(LinesSince(mark).empty());
}

TEST_F(ConfigKeyboardTest, KeypadThatDoesNotStoreTheCodesPromptsOnce) {
    auto keypad = Keypad();
    keypad->storesCodes = false;
    StartInKeyboardView(std::move(keypad));
    ui.Click(IDC_DEFAULT_KEYS);
    counter.reads = 0;

    ui.Click(IDC_CONFIG_KEY);
    EXPECT_EQ(LastLine(), Stamped("键盘数据配置失败！", clock));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text,
              "配置设备失败，可能是本机反应太慢，所以已智能为您勾上了电脑反应慢选项");
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "电脑反应慢提示");
    EXPECT_EQ(ui.MessageBoxes()[0].buttons, tk::MsgBoxButtons::Ok);
    EXPECT_TRUE(ui.IsChecked(IDC_COMPUTER_SLOW));
    EXPECT_EQ(counter.reads, 3);

    // Now every exchange but the read request waits for a second answer.
    counter.reads = 0;
    g_bEnglish = 1;
    ui.Click(IDC_CONFIG_KEY);
    EXPECT_EQ(LastLine(), Stamped("The keyboard data configuration failed !", clock));
    EXPECT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(counter.reads, 5);
}

TEST_F(ConfigKeyboardTest, BatchConfiguresEachKeypadOnce) {
    StartInKeyboardView(Keypad(ALL_A));
    SetKeyFields({"ESC", "F1", "F2", "F3", "7", "8",  "9",    "F4", "4", "5",
                  "6",   "F5", "1",  "2",  "3", "F6", "清除", "0",  ".", "回车键"});

    ASSERT_TRUE(ui.Click(IDC_KEYPAD_BATCH));
    EXPECT_EQ(ui.GetText(IDC_KEYPAD_BATCH), "停止批量设置");
    for (int id : BatchOwnedControls()) EXPECT_FALSE(ui.IsEnabled(id)) << id;
    EXPECT_TRUE(ui.IsEnabled(IDC_KEYPAD_BATCH));
    EXPECT_EQ(LastLine(), Stamped("批量设置第  00001  台成功！", clock));
    EXPECT_EQ(device->ModelAs<sim::KeypadModel>().StoredCodes(), DEFAULT_KEY_CODES);
    EXPECT_EQ(g_bKeyboardBatchDone, 1);

    // Further device-list changes while the keypad stays attached send nothing.
    const size_t frames = Frames().size();
    const size_t lines = LineCount();
    Arrive();
    Arrive();
    EXPECT_EQ(Frames().size(), frames);
    EXPECT_EQ(LineCount(), lines);

    Depart();
    auto& second = Plug(Keypad(ALL_A));
    Arrive();
    EXPECT_EQ(LastLine(), Stamped("批量设置第  00002  台成功！", clock));
    EXPECT_EQ(second.ModelAs<sim::KeypadModel>().keyCodeFramesStored, 2);
    Arrive();
    EXPECT_EQ(second.ModelAs<sim::KeypadModel>().keyCodeFramesStored, 2);

    ASSERT_TRUE(ui.Click(IDC_KEYPAD_BATCH));
    EXPECT_EQ(ui.GetText(IDC_KEYPAD_BATCH), "开始批量设置");
    for (int id : BatchOwnedControls()) EXPECT_TRUE(ui.IsEnabled(id)) << id;
    EXPECT_EQ(g_bKeyboardBatch, 0);
    EXPECT_EQ(g_nKeyboardBatchCount, 2u);
}

TEST_F(ConfigKeyboardTest, BatchStartedWithoutDeviceWaits) {
    StartInKeyboardView(nullptr);
    g_bEnglish = 1;
    const size_t mark = LineCount();
    ui.Click(IDC_KEYPAD_BATCH);
    EXPECT_EQ(ui.GetText(IDC_KEYPAD_BATCH), "Stop batch set");
    ASSERT_EQ(LinesSince(mark).size(), 1u);
    EXPECT_EQ(LastLine(), Stamped("Write a keyboard configuration initialization failed!", clock));
    EXPECT_EQ(g_bKeyboardBatch, 1);
    EXPECT_EQ(g_bKeyboardBatchDone, 0);

    Plug(Keypad());
    Arrive();
    EXPECT_EQ(LastLine(), Stamped("Batch set first  00001  successful!", clock));
}

TEST_F(ConfigKeyboardTest, FailedBatchAttemptIsRetried) {
    auto keypad = Keypad();
    keypad->storesCodes = false;
    StartInKeyboardView(std::move(keypad));
    ui.QueueAnswer(tk::MsgBoxResult::Ok);
    ui.Click(IDC_KEYPAD_BATCH);
    EXPECT_EQ(LastLine(), Stamped("键盘数据配置失败！", clock));
    EXPECT_EQ(g_bKeyboardBatchDone, 0);
    EXPECT_EQ(g_nKeyboardBatchCount, 0u);

    device->ModelAs<sim::KeypadModel>().storesCodes = true;
    Arrive();
    EXPECT_EQ(LastLine(), Stamped("批量设置第  00001  台成功！", clock));
    EXPECT_EQ(g_bKeyboardBatchDone, 1);
}

TEST_F(ConfigKeyboardTest, BatchCountShowsFiveDigitsAndDoesNotWrapAt256) {
    struct Case {
        uint32_t before;
        const char* line;
    } cases[] = {
        {0, "批量设置第  00001  台成功！"},     {2, "批量设置第  00003  台成功！"},
        {255, "批量设置第  00256  台成功！"},   {256, "批量设置第  00257  台成功！"},
        {99998, "批量设置第  99999  台成功！"}, {99999, "批量设置第  00000  台成功！"},
    };
    StartInKeyboardView(Keypad());
    for (const Case& c : cases) {
        g_bKeyboardBatch = 1;
        g_bKeyboardBatchDone = 0;
        g_nKeyboardBatchCount = c.before;
        dlg->ConfigKeyboard();
        EXPECT_EQ(LastLine(), Stamped(c.line, clock));
        EXPECT_EQ(g_nKeyboardBatchCount, c.before + 1);
    }
}

}  // namespace
