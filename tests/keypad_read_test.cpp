// Read Config, the repair frame, and Default Config.

#include <gtest/gtest.h>

#include "base/Gbk.h"
#include "support/KeypadFixture.h"

using namespace ids;

namespace {

class ReadKeyboardConfigTest : public KeypadFixture {};

const std::vector<std::string> DEFAULT_NAMES_ZH = {"ESC", "F1", "F2",   "F3", "7",  "8",     "9",
                                                   "F4",  "4",  "5",    "6",  "F5", "1",     "2",
                                                   "3",   "F6", "清除", "0",  ".",  "回车键"};
const std::vector<std::string> DEFAULT_NAMES_EN = {"ESC", "F1", "F2",    "F3", "7",  "8",    "9",
                                                   "F4",  "4",  "5",     "6",  "F5", "1",    "2",
                                                   "3",   "F6", "CLEAR", "0",  ".",  "ENTER"};

const std::array<const char*, KEYPAD_KEY_COUNT> TYPED = {"a", "b", "c", "d", "e", "f", "g",
                                                         "h", "i", "j", "k", "l", "m", "n",
                                                         "o", "p", "q", "r", "s", "t"};

struct LanguageCase {
    bool english;
    const std::vector<std::string>* names;
    const char* line;
};

class ReadDefaultLayoutTest : public ReadKeyboardConfigTest,
                              public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(ReadDefaultLayoutTest, FillsTheFieldsWithTheNames) {
    StartInKeyboardView(Keypad());
    g_bEnglish = GetParam().english;
    SetKeyFields(TYPED);
    ASSERT_TRUE(ui.Click(IDC_READ_CONFIG));
    EXPECT_EQ(KeyFields(), *GetParam().names);
    EXPECT_EQ(LastLine(), Stamped(GetParam().line, clock));
    EXPECT_EQ(Frames(), Twice({ReadRequest(), Query()}));
    EXPECT_EQ(g_bKeyFieldsFilled, 1);
    EXPECT_TRUE(ui.IsEnabled(IDC_READ_CONFIG));
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Languages, ReadDefaultLayoutTest,
    ::testing::Values(LanguageCase{false, &DEFAULT_NAMES_ZH, "读取键盘配置成功！"},
                      LanguageCase{true, &DEFAULT_NAMES_EN,
                                   "Read the keyboard configuration is successful!"}));

TEST_F(ReadKeyboardConfigTest, ShowsCharactersEmptyAndUnnamedCodes) {
    const kp::KeyCodes stored = {0x41, 0x00, 0xE9, 0xFE, 0xEF, 0x61, 0x2E, 0xE5, 0xE3, 0xDC,
                                 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0xFC};
    StartInKeyboardView(Keypad(stored));
    g_bEnglish = 1;
    ui.Click(IDC_READ_CONFIG);
    const std::vector<std::string> expected = {
        "A",
        "",
        "CLEAR",
        "ENTER",
        "F10",
        "a",
        ".",
        "PAGE_UP",
        "END",
        "PAUSE",
        "1",
        "2",
        "3",
        "4",
        "5",
        "6",
        "7",
        "8",
        "9",
        tk::GbkToUtf8("\xFC"),  // a lone lead byte: what the platform shows for it
    };
    EXPECT_EQ(KeyFields(), expected);
    EXPECT_EQ(g_keyCodesIn, stored);
}

TEST_F(ReadKeyboardConfigTest, FillMirrorsTheFlagIntoItsOwnBoxOnly) {
    struct Case {
        bool flag, separatorBox;
    } cases[] = {{true, false}, {false, true}};
    StartInKeyboardView(Keypad());
    for (const Case& c : cases) {
        g_bAutoKeyboardConfig = c.flag;
        ui.SetChecked(IDC_AUTO_KEYBOARD, !c.flag);
        ui.SetChecked(IDC_MIDDLE_SEP, c.separatorBox);
        ui.Click(IDC_READ_CONFIG);
        EXPECT_EQ(ui.IsChecked(IDC_AUTO_KEYBOARD), c.flag);
        EXPECT_EQ(ui.IsChecked(IDC_MIDDLE_SEP), c.separatorBox);
    }
}

struct SilentCase {
    bool slowTicked;
    int reads;  // read request, query, repair frame
    size_t prompts;
};

class SilentKeypadTest : public ReadKeyboardConfigTest,
                         public ::testing::WithParamInterface<SilentCase> {};

TEST_P(SilentKeypadTest, SendsTheRepairFrame) {
    auto keypad = Keypad(kp::KeyCodes{});
    keypad->answersQuery = false;
    StartInKeyboardView(std::move(keypad));
    SetKeyFields(TYPED);
    ui.SetChecked(IDC_COMPUTER_SLOW, GetParam().slowTicked);
    counter.reads = 0;

    ui.Click(IDC_READ_CONFIG);
    EXPECT_EQ(Frames(), Twice({ReadRequest(), Query(), KeyCodeFrame(DEFAULT_KEY_CODES)}));
    EXPECT_EQ(device->ModelAs<sim::KeypadModel>().StoredCodes(), DEFAULT_KEY_CODES);
    EXPECT_EQ(counter.reads, GetParam().reads);
    ASSERT_EQ(ui.MessageBoxes().size(), GetParam().prompts);
    if (GetParam().prompts) {
        EXPECT_EQ(ui.MessageBoxes()[0].text,
                  "读取键盘数据失败，可能是本机反应太慢，所以已智能为您勾上了电脑反应慢选项");
        EXPECT_EQ(ui.MessageBoxes()[0].caption, "电脑反应慢提示");
        EXPECT_EQ(ui.MessageBoxes()[0].buttons, tk::MsgBoxButtons::Ok);
    }
    EXPECT_TRUE(ui.IsChecked(IDC_COMPUTER_SLOW));
    const std::string out = ui.GetText(IDC_OUTPUT);
    const std::string tail =
        Stamped("读取键盘配置失败！\r\n已发送修复指令，请再次按下“读取配置”按钮！", clock) + "\r\n";
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
    EXPECT_EQ(KeyFields(), std::vector<std::string>(TYPED.begin(), TYPED.end()));
}

INSTANTIATE_TEST_SUITE_P(ComputerSlow, SilentKeypadTest,
                         ::testing::Values(SilentCase{false, 4, 1}, SilentCase{true, 5, 0}));

TEST_F(ReadKeyboardConfigTest, RepairMessageInEnglish) {
    StartInKeyboardView(std::make_unique<sim::SilentModel>());
    g_bEnglish = 1;
    ui.Click(IDC_READ_CONFIG);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text,
              "Read the keyboard data, failure may be the machine's slow, so has smart for you to "
              "hang up to the computer slow response options");
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Computer slow");
    const std::string tail =
        Stamped(
            "Read the keyboard configuration is failed!\r\nHas been sent to repair "
            "instructions \n, Please press \xE2\x80\x9Creading configuration\xE2\x80\x9D "
            "button again !",
            clock) +
        "\r\n";
    const std::string out = ui.GetText(IDC_OUTPUT);
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
}

TEST_F(ReadKeyboardConfigTest, NoKeypadLeavesTheFields) {
    StartInKeyboardView(PlainReader());
    SetKeyFields(TYPED);
    ui.Click(IDC_READ_CONFIG);
    EXPECT_EQ(LastLine(), Stamped("此设备不支持键盘设置！", clock));
    EXPECT_EQ(KeyFields(), std::vector<std::string>(TYPED.begin(), TYPED.end()));
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(ReadKeyboardConfigTest, OutsideTheKeyboardViewOnlyFills) {
    StartInKeyboardView(Keypad());
    g_bKeyboardView = 0;
    g_keyCodesIn = {0x41, 0x42, 0xE9, 0xFE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFD};
    const size_t mark = LineCount();
    dlg->ReadKeyboardConfig();
    EXPECT_TRUE(Frames().empty());
    EXPECT_TRUE(LinesSince(mark).empty());
    const std::vector<std::string> expected = {"A", "B", "清除", "回车键", "", "",   "",
                                               "",  "",  "",     "",       "", "",   "",
                                               "",  "",  "",     "",       "", "ESC"};
    EXPECT_EQ(KeyFields(), expected);
    EXPECT_EQ(g_bKeyFieldsFilled, 1);
}

TEST_F(ReadKeyboardConfigTest, RestoreDefaultInEnglish) {
    StartInKeyboardView(Keypad());
    g_bEnglish = 1;
    SetKeyFields(TYPED);
    g_keyCodesOut.fill(0x41);
    g_keyCodesIn.fill(0x42);
    ASSERT_TRUE(ui.Click(IDC_DEFAULT_KEYS));
    EXPECT_EQ(ui.GetText(IDC_KEYPAD_GROUP), "KEYBOARD");
    EXPECT_EQ(ui.GetText(KeyFieldId(17)), "CLEAR");
    EXPECT_EQ(ui.GetText(KeyFieldId(20)), "ENTER");
    EXPECT_EQ(KeyFields(), DEFAULT_NAMES_EN);
    EXPECT_EQ(LastLine(), Stamped("Restore the default Settings success!", clock));
    EXPECT_EQ(g_bKeyFieldsFilled, 1);
    EXPECT_TRUE(Frames().empty());
    for (uint8_t c : g_keyCodesOut) EXPECT_EQ(c, 0x41);
    for (uint8_t c : g_keyCodesIn) EXPECT_EQ(c, 0x42);
}

TEST_F(ReadKeyboardConfigTest, RestoreDefaultInChineseWorksWithoutDevice) {
    StartInKeyboardView(nullptr);
    ui.Click(IDC_DEFAULT_KEYS);
    EXPECT_EQ(ui.GetText(IDC_KEYPAD_GROUP), "键盘");
    EXPECT_EQ(KeyFields(), DEFAULT_NAMES_ZH);
    EXPECT_EQ(LastLine(), Stamped("恢复默认设置成功！", clock));
}

}  // namespace
