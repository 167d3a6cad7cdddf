// The language switch: captions of both views, menu bar, window title, About
// box and clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/AppTexts.h"
#include "app/ControlIds.h"
#include "app/ControlTable.h"
#include "app/Globals.h"
#include "app/HelpTexts.h"
#include "app/LanguageTexts.h"
#include "base/Gbk.h"
#include "support/DialogFixture.h"

using namespace ids;

namespace {

class LanguageTest : public DialogFixture {};

// Code points of a UTF-8 text.
std::vector<char32_t> CodePoints(const std::string& s) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        const int n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        char32_t c = n == 1 ? b : b & (0x3F >> (n - 1));
        for (int k = 1; k < n && i + k < s.size(); ++k) c = (c << 6) | (s[i + k] & 0x3F);
        out.push_back(c);
        i += n;
    }
    return out;
}

// Chinese characters and full-width punctuation.
bool HasChineseText(const std::string& s) {
    for (char32_t c : CodePoints(s))
        if (c >= 0x3000) return true;
    return false;
}

std::vector<std::pair<int, std::string>> MenuLayout(const tk::MenuBar& bar) {
    std::vector<std::pair<int, std::string>> out;
    for (const tk::MenuItem& item : bar.items) {
        out.emplace_back(item.commandId, item.text);
        for (const tk::MenuItem& sub : item.popup) out.emplace_back(sub.commandId, sub.text);
    }
    return out;
}

TEST_F(LanguageTest, EverySwitchSetsEveryTableCaption) {
    Start();
    for (bool english : {true, false, true, true, false, false}) {
        // Scribble over every caption so that a row the switch skips shows.
        for (const auto& row : texts::CAPTION_TABLE) ui.SetText(row.id, "?");
        ui.Click(english ? IDC_ENGLISH : IDC_CHINESE);
        EXPECT_EQ(g_bEnglish, english ? 1 : 0);
        EXPECT_EQ(ui.IsChecked(IDC_ENGLISH), english);
        EXPECT_EQ(ui.IsChecked(IDC_CHINESE), !english);
        for (const auto& row : texts::CAPTION_TABLE)
            EXPECT_EQ(ui.GetText(row.id), english ? row.text.en : row.text.zh) << row.id;
    }
}

TEST_F(LanguageTest, NoChineseCaptionIsLeftInEnglish) {
    Start();
    ui.Click(IDC_ENGLISH);
    // Captions that are the same in both languages, and the log.
    const std::vector<int> bilingual = {IDC_LANGUAGE_GROUP, IDC_CHINESE, IDC_ENGLISH, IDC_TIP_GROUP,
                                        IDC_OUTPUT};
    for (const tk::ControlSpec& c : app::MainDialogSpec().controls) {
        if (std::find(bilingual.begin(), bilingual.end(), c.id) != bilingual.end()) continue;
        EXPECT_FALSE(HasChineseText(ui.GetText(c.id))) << c.id << " " << ui.GetText(c.id);
    }
    EXPECT_FALSE(HasChineseText(ui.WindowTitle()));
    for (const auto& [id, text] : MenuLayout(ui.CurrentMenuBar()))
        EXPECT_FALSE(HasChineseText(text)) << id;
}

TEST_F(LanguageTest, CaptionsThatDifferFromTheTemplate) {
    Start();
    ui.Click(IDC_ENGLISH);
    EXPECT_EQ(ui.GetText(IDC_READ_DEVICE), "Read Device");
    EXPECT_EQ(ui.GetText(IDC_SHIELD_KEYS), "Shield control keys");
    EXPECT_EQ(ui.GetText(IDC_KEYPAD_GROUP), "KEYBOARD");
    const std::string format5 = ui.GetText(IDC_FORMAT_FIRST + 4);
    EXPECT_NE(format5, ui.GetText(IDC_FORMAT_FIRST + 2));
    EXPECT_NE(format5.find("4 bytes"), std::string::npos) << format5;
    EXPECT_NE(format5.find("8 decimal"), std::string::npos) << format5;

    ui.Click(IDC_CHINESE);
    EXPECT_EQ(ui.GetText(IDC_READ_DEVICE), "读取配置");
    EXPECT_EQ(ui.GetText(IDC_SHIELD_KEYS), "屏蔽键盘控制键\t\t");
    EXPECT_EQ(ui.GetText(IDC_COMPUTER_SLOW), "电脑反应慢    ");
    EXPECT_EQ(ui.WindowTitle(), "USB 读卡器设置");
}

TEST_F(LanguageTest, ClickingTheShownLanguageRewritesTheSameTexts) {
    Start();
    ui.SetText(IDC_COMPUTER_SLOW, "stale");
    ui.SetText(IDC_STATUS, "stale");
    clock.SetDateTime({2026, 12, 6, 5, 31, 36, 0});
    ASSERT_TRUE(ui.IsChecked(IDC_CHINESE));
    ui.Click(IDC_CHINESE);
    EXPECT_EQ(ui.GetText(IDC_COMPUTER_SLOW), "电脑反应慢    ");
    EXPECT_EQ(ui.GetText(IDC_READ_DEVICE), "读取配置");
    EXPECT_EQ(ui.GetText(IDC_STATUS), "2026年12月06日 05:31:36  星期天");
    EXPECT_EQ(ui.WindowTitle(), "USB 读卡器设置");
    EXPECT_EQ(ui.FindMenuItem(ID_TOGGLE_VIEW)->text, "切换到键盘设置界面");
}

TEST_F(LanguageTest, SwitchRedrawsTheClockAtOnce) {
    Start();
    clock.SetDateTime({2026, 12, 6, 5, 31, 36, 0});
    ui.Click(IDC_ENGLISH);
    EXPECT_EQ(ui.GetText(IDC_STATUS), "  December,06,2026 05:31:36 Sunday");
    clock.SetDateTime({2027, 1, 1, 0, 0, 5, 0});
    ui.Click(IDC_CHINESE);
    EXPECT_EQ(ui.GetText(IDC_STATUS), "2027年01月01日 00:00:05  星期五");
}

TEST_F(LanguageTest, SwitchLeavesStatesTextsAndThePaneAlone) {
    AttachBeforeStart(std::make_unique<sim::AckingModel>());
    Start();
    dlg->AppendOutput("设置前");
    ui.SetChecked(IDC_TRACK2, true);
    ui.SetChecked(IDC_FORMAT_FIRST + 7, true);
    ui.SetChecked(IDC_COMPUTER_SLOW, true);
    ui.SetText(IDC_MIDDLE_SEP_TEXT, "ab");
    ui.SetText(KeyFieldId(7), "F");
    ui.SetEnabled(IDC_SET_DEVICE, false);
    ui.SetEnabled(IDC_T2_END, false);
    ui.SetVisible(IDC_SENTINEL_TRK3_HEAD, false);

    struct State {
        bool checked, enabled, visible;
        std::string editText;
        bool operator==(const State&) const = default;
    };
    const auto snapshot = [&] {
        std::vector<State> s;
        for (const tk::ControlSpec& c : app::MainDialogSpec().controls) {
            const bool edit =
                c.kind == tk::ControlKind::Edit || c.kind == tk::ControlKind::MultiLineEdit;
            s.push_back({ui.IsChecked(c.id), ui.IsEnabled(c.id), ui.IsVisible(c.id),
                         edit ? ui.GetText(c.id) : std::string()});
        }
        return s;
    };
    const std::vector<State> before = snapshot();
    const std::string pane = ui.GetText(IDC_OUTPUT);
    for (int id : {IDC_ENGLISH, IDC_CHINESE}) {
        ui.Click(id);
        const std::vector<State> after = snapshot();
        const auto& controls = app::MainDialogSpec().controls;
        for (size_t i = 0; i < controls.size(); ++i) {
            // The click itself checks its radio.
            if (controls[i].id == IDC_CHINESE || controls[i].id == IDC_ENGLISH) continue;
            EXPECT_EQ(after[i], before[i]) << controls[i].id;
        }
        EXPECT_EQ(ui.GetText(IDC_OUTPUT), pane);
    }
}

TEST_F(LanguageTest, BatchCaptionsAndGreyedViewSwitch) {
    struct Case {
        uint8_t batch, keyboardBatch;
        bool english;
        const char* caption1027;
        const char* caption1079;
    } cases[] = {
        {0, 0, false, "开始批量设置", "开始批量设置"},
        {1, 0, false, "停止批量设置", "开始批量设置"},
        {0, 1, false, "开始批量设置", "停止批量设置"},
        {1, 1, false, "停止批量设置", "停止批量设置"},
        {0, 0, true, "Start batch set", "Start batch set"},
        {1, 0, true, "Stop batch set", "Start batch set"},
        {0, 1, true, "Start batch set", "Stop batch set"},
        {1, 1, true, "Stop batch set", "Stop batch set"},
    };
    Start();
    for (const Case& c : cases) {
        g_bBatchMode = c.batch;
        g_bKeyboardBatch = c.keyboardBatch;
        ui.Click(c.english ? IDC_ENGLISH : IDC_CHINESE);
        const std::string where =
            std::to_string(c.batch) + std::to_string(c.keyboardBatch) + (c.english ? " en" : " zh");
        EXPECT_EQ(ui.GetText(IDC_BATCH), c.caption1027) << where;
        EXPECT_EQ(ui.GetText(IDC_KEYPAD_BATCH), c.caption1079) << where;
        const bool running = c.batch || c.keyboardBatch;
        ASSERT_NE(ui.FindMenuItem(ID_TOGGLE_VIEW), nullptr);
        EXPECT_EQ(ui.FindMenuItem(ID_TOGGLE_VIEW)->enabled, !running) << where;
        EXPECT_TRUE(ui.FindMenuItem(ID_EXIT)->enabled) << where;
    }
}

TEST_F(LanguageTest, TitleAndViewSwitchFollowTheView) {
    struct Case {
        uint8_t keyboardView;
        bool english;
        const char* title;
        const char* viewSwitch;
    } cases[] = {
        {0, false, "USB 读卡器设置", "切换到键盘设置界面"},
        {0, true, "USB card reader setup", "\tSwitch to keyboard Settings\t"},
        {1, false, "键盘设置", "切换到普通设置界面"},
        {1, true, "Config keyboard", "\tSwitch to normal Settings\t"},
    };
    Start();
    for (const Case& c : cases) {
        g_bKeyboardView = c.keyboardView;
        ui.Click(c.english ? IDC_ENGLISH : IDC_CHINESE);
        EXPECT_EQ(ui.WindowTitle(), c.title);
        ASSERT_NE(ui.FindMenuItem(ID_TOGGLE_VIEW), nullptr);
        EXPECT_EQ(ui.FindMenuItem(ID_TOGGLE_VIEW)->text, c.viewSwitch);
    }
}

TEST_F(LanguageTest, EnglishMenuBar) {
    Start();
    ui.Click(IDC_ENGLISH);
    const std::vector<std::pair<int, std::string>> english = {
        {0, "  About the software  "},
        {ID_INSTRUCTIONS, "Software instructions"},
        {ID_SOFTWARE_INFO, "Software information"},
        {ID_UPDATE, "Software update"},
        {ID_TOGGLE_VIEW, "\tSwitch to keyboard Settings\t"},
        {ID_EXIT, "  EXIT  "}};
    EXPECT_EQ(MenuLayout(ui.CurrentMenuBar()), english);
}

TEST_F(LanguageTest, HiddenViewIsRelabelledToo) {
    Start();
    dlg->ShowView(0);
    g_bKeyboardView = 1;
    ASSERT_FALSE(ui.IsVisible(IDC_SET_DEVICE));
    ui.Click(IDC_ENGLISH);
    EXPECT_EQ(ui.GetText(IDC_SET_DEVICE), "Set Device");
    EXPECT_EQ(ui.GetText(IDC_MAG_AREA), "Magnetic card set area");
    EXPECT_FALSE(ui.IsVisible(IDC_SET_DEVICE));
    dlg->ShowView(1);
    g_bKeyboardView = 0;
    ui.Click(IDC_CHINESE);
    EXPECT_EQ(ui.GetText(IDC_CONFIG_KEY), "配置键盘");
    EXPECT_FALSE(ui.IsVisible(IDC_CONFIG_KEY));
}

TEST_F(LanguageTest, AboutBoxFollowsTheLanguageButTheEntryStaysChinese) {
    Start();
    dlg->OnAboutCommand();
    ui.Click(IDC_ENGLISH);
    dlg->OnAboutCommand();
    ASSERT_EQ(ui.AboutBoxes().size(), 2u);
    const tk::AboutTexts& zh = ui.AboutBoxes()[0];
    const tk::AboutTexts& en = ui.AboutBoxes()[1];
    EXPECT_EQ(zh.title, "关于Vorn软件");
    EXPECT_EQ(zh.okButton, "确定");
    EXPECT_EQ(zh.line1, "USB读卡器设置软件");
    EXPECT_EQ(en.title, "About Vorn software");
    EXPECT_EQ(en.okButton, "OK");
    EXPECT_EQ(en.line1, "USB card reader setup software");
    EXPECT_FALSE(zh.line2.empty());
    EXPECT_FALSE(en.line2.empty());
    EXPECT_TRUE(HasChineseText(zh.line2));
    EXPECT_FALSE(HasChineseText(en.line2));
    EXPECT_EQ(zh.line2.find('\n'), std::string::npos);
    EXPECT_EQ(en.line2.find('\n'), std::string::npos);
    ASSERT_EQ(ui.AboutEntries().size(), 1u);
    EXPECT_EQ(ui.AboutEntries()[0], "关于Vorn软件（About Vorn）");
}

// A surface that records every caption it is given, in order.
class RecordingSurface : public tk::HeadlessSurface {
  public:
    using HeadlessSurface::HeadlessSurface;
    void SetText(int id, const std::string& text) override {
        log.emplace_back(id, text);
        HeadlessSurface::SetText(id, text);
    }
    void SetWindowTitle(const std::string& title) override {
        log.emplace_back(-1, title);
        HeadlessSurface::SetWindowTitle(title);
    }
    std::vector<std::pair<int, std::string>> log;
};

TEST_F(LanguageTest, CaptionsAreSetInTableOrderWithTheKeypadGroupBlankedFirst) {
    RecordingSurface surface(app::MainDialogSpec());
    CReaderConfigDlg d(surface, port, port, clock);
    d.OnInitDialog();
    surface.log.clear();
    d.SwitchToEnglish();

    std::vector<std::pair<int, std::string>> expected;
    for (const auto& row : texts::CAPTION_TABLE) {
        if (row.id == IDC_KEYPAD_GROUP) expected.emplace_back(row.id, "        ");
        expected.emplace_back(row.id, row.text.en);
    }
    expected.emplace_back(IDC_BATCH, "Start batch set");
    expected.emplace_back(IDC_KEYPAD_BATCH, "Start batch set");
    // Then the title of the new menu bar, the tip text and the clock.
    expected.emplace_back(-1, "USB card reader setup");
    expected.emplace_back(IDC_TIP_TEXT, surface.GetText(IDC_TIP_TEXT));
    expected.emplace_back(IDC_STATUS, std::string(35, ' '));
    expected.emplace_back(IDC_STATUS, surface.GetText(IDC_STATUS));
    EXPECT_EQ(surface.log, expected);
}

TEST(LanguageTexts, EveryTextHasAGbkForm) {
    std::vector<TextPair> pairs = {texts::BATCH_START,
                                   texts::BATCH_STOP,
                                   texts::MENU_ABOUT_POPUP,
                                   texts::MENU_INSTRUCTIONS,
                                   texts::MENU_SOFTWARE_INFO,
                                   texts::MENU_UPDATE,
                                   texts::MENU_TO_KEYBOARD_VIEW,
                                   texts::MENU_TO_GENERAL_VIEW,
                                   texts::MENU_EXIT,
                                   texts::TITLE_GENERAL_VIEW,
                                   texts::TITLE_KEYBOARD_VIEW,
                                   texts::ABOUT_TITLE,
                                   texts::ABOUT_OK,
                                   texts::ABOUT_NAME,
                                   texts::ABOUT_NOTICE,
                                   texts::ABOUT_ENTRY,
                                   texts::INSTRUCTIONS_CAPTION,
                                   texts::SOFTWARE_INFO_CAPTION,
                                   texts::UPDATE_CAPTION,
                                   texts::UPDATE_QUESTION,
                                   texts::KEYBOARD_TIPS};
    for (const auto& row : texts::CAPTION_TABLE) pairs.push_back(row.text);
    for (const TextPair& p : texts::INSTRUCTIONS) pairs.push_back(p);
    for (const TextPair& p : texts::SOFTWARE_INFO) pairs.push_back(p);
    for (const TextPair& p : pairs)
        for (const char* form : {p.zh, p.en}) {
            EXPECT_FALSE(std::string(form).empty());
            EXPECT_EQ(tk::GbkToUtf8(tk::Utf8ToGbk(form)), form);
        }
}

}  // namespace

namespace {

TEST_F(DialogFixture, ScreenReaderNamesFollowTheLanguage) {
    Start();
    EXPECT_EQ(ui.AccessibleName(1000), "输出窗口");
    ui.Click(1070);
    EXPECT_EQ(ui.AccessibleName(1000), "Output pane");
    EXPECT_EQ(ui.AccessibleDescription(1142), "Status line");
    EXPECT_EQ(ui.AccessibleName(1142), "December,07,2026 09:00:00 Monday");  // the clock is read
    EXPECT_EQ(ui.AccessibleName(1042), "Middle separator:");  // a caption is its own name
    ui.Click(1069);
    EXPECT_EQ(ui.AccessibleDescription(1142), "状态栏");
}

}  // namespace
