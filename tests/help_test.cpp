// The help, information and update commands of the menu bar and the keypad
// tip text.

#include <gtest/gtest.h>

#include <string>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "support/DialogFixture.h"

using namespace ids;

namespace {

class HelpTest : public DialogFixture {
  protected:
    // Chooses a menu command and returns the one message box it showed.
    tk::ShownMessageBox Choose(int command) {
        ui.ClearMessageBoxes();
        EXPECT_TRUE(ui.ChooseMenu(command));
        EXPECT_EQ(ui.MessageBoxes().size(), 1u);
        return ui.MessageBoxes().empty() ? tk::ShownMessageBox{} : ui.MessageBoxes().back();
    }
};

// "V4.0" for version 4.0.0: the texts show the build's major and minor version.
std::string MajorMinor(const std::string& version) {
    const size_t minorEnd = version.find('.', version.find('.') + 1);
    return version.substr(0, minorEnd);
}

bool StartsWith(const std::string& s, const std::string& head) {
    return s.rfind(head, 0) == 0;
}
bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(HelpTest, InstructionsInBothLanguages) {
    struct Case {
        bool english;
        const char* caption;
        const char* head;
        const char* middle;
        const char* tail;
    } cases[] = {
        {false, "软件操作说明", "第一步：插入USB读卡器\r\n第二步：",
         "按钮进行配置读卡器\r\n\r\n注意：\r\r1、点击“默认设置”",
         "\r7、热键捕捉无法捕捉PAGE_UP、PAGE_DOWN、END！\r\n"},
        {true, "Software instructions", "Step 1: Insert the USB card reader\r\nStep 2: ",
         "card reader\r\n\r\nNote: \r\n, 1、Click on the “Default Setting” button",
         "\r7、Hotkey capture not capture PAGE_UP, PAGE_DOWN, END!\r\n"},
    };
    Start();
    for (const Case& c : cases) {
        ui.Click(c.english ? IDC_ENGLISH : IDC_CHINESE);
        const size_t lines = LineCount();
        const tk::ShownMessageBox box = Choose(ID_INSTRUCTIONS);
        EXPECT_EQ(box.caption, c.caption);
        EXPECT_EQ(box.buttons, tk::MsgBoxButtons::Ok);
        EXPECT_TRUE(StartsWith(box.text, c.head)) << box.text;
        EXPECT_NE(box.text.find(c.middle), std::string::npos) << box.text;
        EXPECT_TRUE(EndsWith(box.text, c.tail)) << box.text;
        for (const char* item : {"\r2、", "\r3、", "\r4、", "\r5、", "\r6、"})
            EXPECT_NE(box.text.find(item), std::string::npos) << item;
        EXPECT_EQ(LineCount(), lines);
    }
}

TEST_F(HelpTest, SoftwareInformation) {
    struct Case {
        int radio;
        const char* caption;
        const char* text;
    } cases[] = {
        {IDC_ENGLISH, "Software information",
         "\t\tUSB card reader configuration software\r\n\r\n"
         "This software is a USB card reader Settings and USB keyboard key code setting "
         "software，\r\n"
         "Software is introduced in detail refer to the menu bar “About the software - > "
         "Software instructions”.\r\n\r\n\r\nSoftware version: V"},
        {IDC_CHINESE, "软件信息",
         "\t\tUSB读卡器配置软件\r\n\r\n本软件是USB读卡器设置及USB键盘键码设置软件，\r\n"
         "详细软件介绍参考菜单栏“关于软件->软件操作说明”。\r\n\r\n\r\n软件版本：V"},
    };
    Start();
    for (const Case& c : cases) {
        ui.Click(c.radio);
        const tk::ShownMessageBox box = Choose(ID_SOFTWARE_INFO);
        EXPECT_EQ(box.caption, c.caption);
        EXPECT_EQ(box.buttons, tk::MsgBoxButtons::Ok);
        EXPECT_EQ(box.text, c.text + MajorMinor(READER_CONFIG_VERSION));
    }
}

TEST_F(HelpTest, UpdateAnsweredNoChangesNothing) {
    Start();
    for (int radio : {IDC_CHINESE, IDC_ENGLISH}) {
        ui.Click(radio);
        const std::string pane = ui.GetText(IDC_OUTPUT);
        ui.QueueAnswer(tk::MsgBoxResult::No);
        const tk::ShownMessageBox box = Choose(ID_UPDATE);
        EXPECT_EQ(box.buttons, tk::MsgBoxButtons::YesNo);
        if (radio == IDC_ENGLISH) {
            EXPECT_EQ(box.caption, "Update prompt");
            EXPECT_EQ(box.text, "This version is V" + MajorMinor(READER_CONFIG_VERSION) +
                                    ",Download the latest version!");
        } else {
            EXPECT_EQ(box.caption, "更新提示");
            EXPECT_EQ(box.text,
                      "本版本为V" + MajorMinor(READER_CONFIG_VERSION) + "，下载最新版本！");
        }
        EXPECT_TRUE(ui.OpenedUrls().empty());
        EXPECT_EQ(ui.GetText(IDC_OUTPUT), pane);
        EXPECT_FALSE(ui.Ended());
    }
}

TEST_F(HelpTest, UpdateAnsweredYesOpensTheOneDownloadLink) {
    Start();
    for (int radio : {IDC_CHINESE, IDC_ENGLISH}) {
        ui.Click(radio);
        const std::string pane = ui.GetText(IDC_OUTPUT);
        ui.QueueAnswer(tk::MsgBoxResult::Yes);
        Choose(ID_UPDATE);
        EXPECT_EQ(ui.GetText(IDC_OUTPUT), pane);
    }
    ASSERT_EQ(ui.OpenedUrls().size(), 2u);
    EXPECT_TRUE(StartsWith(ui.OpenedUrls()[0], "https://")) << ui.OpenedUrls()[0];
    EXPECT_EQ(ui.OpenedUrls()[0], ui.OpenedUrls()[1]);
}

TEST_F(HelpTest, KeyboardTipsInBothLanguages) {
    Start();
    ui.Click(IDC_ENGLISH);
    const std::string en = ui.GetText(IDC_TIP_TEXT);
    EXPECT_TRUE(StartsWith(en,
                           "1.\nChange the key code you just need to put the cursor in the "
                           "corresponding key,and then"))
        << en;
    EXPECT_TRUE(EndsWith(en,
                         "set in the general Settings interface equipmentas well as the "
                         "current key code data configuration together!\n\n\r\n"))
        << en;

    ui.Click(IDC_CHINESE);
    const std::string zh = ui.GetText(IDC_TIP_TEXT);
    EXPECT_TRUE(StartsWith(zh, "\n1、\n更改键码")) << zh;
    EXPECT_NE(zh.find("（支持全键盘84键）！\r\n\r\n\r\n2、\n按下“配置键盘”"), std::string::npos);
    EXPECT_TRUE(EndsWith(zh, "也把当前键码数据一起配置！\n\n\r\n")) << zh;
}

TEST_F(HelpTest, SwitchInTheKeyboardViewRewritesTheTipsAtOnce) {
    Start();
    dlg->ShowView(0);
    g_bKeyboardView = 1;
    ui.Click(IDC_ENGLISH);
    EXPECT_TRUE(ui.IsVisible(IDC_TIP_TEXT));
    EXPECT_TRUE(StartsWith(ui.GetText(IDC_TIP_TEXT), "1.\n"));
    ui.Click(IDC_CHINESE);
    EXPECT_TRUE(StartsWith(ui.GetText(IDC_TIP_TEXT), "\n1、\n"));
}

}  // namespace
