// Default Setting and the input rules of the general settings view.

#include <gtest/gtest.h>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "base/Gbk.h"
#include "support/DialogFixture.h"

using namespace ids;

namespace {

class DefaultsTest : public DialogFixture {
  protected:
    void ExpectFactoryValues() {
        EXPECT_FALSE(ui.IsChecked(IDC_COMPUTER_SLOW));
        EXPECT_TRUE(ui.IsChecked(IDC_SHIELD_KEYS));
        for (int id = IDC_FORMAT_FIRST; id <= IDC_FORMAT_LAST; ++id)
            EXPECT_EQ(ui.IsChecked(id), id == IDC_FORMAT_FIRST) << id;
        for (int id : {IDC_MIDDLE_SEP, IDC_START_SEP, IDC_END_SEP, IDC_FILTER_EQUALS, IDC_CR_TRACK1,
                       IDC_CR_TRACK2, IDC_CR_TRACK3})
            EXPECT_FALSE(ui.IsChecked(id)) << id;
        for (int id :
             {IDC_ENTER_AFTER, IDC_SENTINELS, IDC_TRACK1, IDC_TRACK2, IDC_TRACK3, IDC_CR_PACKET})
            EXPECT_TRUE(ui.IsChecked(id)) << id;
        const std::pair<int, const char*> texts[] = {
            {IDC_MIDDLE_SEP_TEXT, ","}, {IDC_START_SEP_TEXT, ";"}, {IDC_END_SEP_TEXT, "?"},
            {IDC_T1_START, "%"},        {IDC_T1_END, "?"},         {IDC_T2_START, ";"},
            {IDC_T2_END, "?"},          {IDC_T3_START, "+"},       {IDC_T3_END, "?"}};
        for (const auto& [id, text] : texts) EXPECT_EQ(ui.GetText(id), text) << id;
        for (int id : SENTINEL_EDITS) EXPECT_TRUE(ui.IsEnabled(id)) << id;
        for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3})
            EXPECT_FALSE(ui.IsEnabled(id)) << id;
        EXPECT_EQ(ui.IsChecked(IDC_CHINESE), g_bEnglish == 0);
        EXPECT_EQ(ui.IsChecked(IDC_ENGLISH), g_bEnglish != 0);
    }
};

TEST_F(DefaultsTest, StartUpAppliesTheFactoryValuesSilently) {
    Start();
    ExpectFactoryValues();
    EXPECT_EQ(OutputLines().size(), 3u);  // the welcome text and the presence line
    EXPECT_EQ(g_bDefaultsApplied, 1);
}

TEST_F(DefaultsTest, DefaultSettingRestoresEverythingAndSaysSo) {
    Start();
    ui.Click(IDC_COMPUTER_SLOW);
    ui.Click(IDC_SHIELD_KEYS);
    ui.Click(IDC_FORMAT_FIRST + 9);
    for (int id : {IDC_MIDDLE_SEP, IDC_START_SEP, IDC_END_SEP, IDC_ENTER_AFTER, IDC_TRACK2,
                   IDC_FILTER_EQUALS})
        ui.Click(id);
    ui.Click(IDC_CR_PACKET);
    ui.Click(IDC_CR_TRACK2);
    for (int id : SENTINEL_EDITS) ui.SetText(id, "ab");
    ui.Click(IDC_SENTINELS);  // empties and disables the sentinel fields
    for (int id : {IDC_MIDDLE_SEP_TEXT, IDC_START_SEP_TEXT, IDC_END_SEP_TEXT})
        ui.SetText(id, "xyz");
    ui.ClickInto(IDC_T1_END);

    const size_t mark = LineCount();
    clock.SetDateTime({2026, 12, 7, 10, 11, 12, 0});
    ASSERT_TRUE(ui.Click(IDC_DEFAULT_SETTING));
    ExpectFactoryValues();
    EXPECT_EQ(LinesSince(mark), (std::vector<std::string>{"恢复默认设置成功！ 10:11:12"}));
    EXPECT_EQ(ui.FocusedControl(), IDC_OUTPUT);
    EXPECT_EQ(ui.CaretOf(IDC_OUTPUT), static_cast<int>(ui.GetText(IDC_OUTPUT).size()));
}

TEST_F(DefaultsTest, DefaultSettingInEnglishLeavesTheKeypadAlone) {
    Start();
    g_bEnglish = 1;
    ui.SetChecked(IDC_AUTO_KEYBOARD, true);
    ui.SetText(KeyFieldId(1), "F9");
    ui.SetEnabled(IDC_MIDDLE_SEP_TEXT, false);
    ui.Click(IDC_DEFAULT_SETTING);
    EXPECT_TRUE(ui.IsChecked(IDC_ENGLISH));
    EXPECT_FALSE(ui.IsChecked(IDC_CHINESE));
    EXPECT_EQ(g_bEnglish, 1);
    EXPECT_EQ(LastLine(), Stamped("Restore the default Settings success!", clock));
    EXPECT_TRUE(ui.IsChecked(IDC_AUTO_KEYBOARD));
    EXPECT_EQ(ui.GetText(KeyFieldId(1)), "F9");
    EXPECT_FALSE(ui.IsEnabled(IDC_MIDDLE_SEP_TEXT));
}

TEST_F(DefaultsTest, TypingATenthCharacterDropsTheFirst) {
    Start();
    const int fields[] = {IDC_T1_START,        IDC_T1_END,         IDC_T2_START,
                          IDC_T2_END,          IDC_T3_START,       IDC_T3_END,
                          IDC_MIDDLE_SEP_TEXT, IDC_START_SEP_TEXT, IDC_END_SEP_TEXT};
    for (int id : fields) {
        ui.SetText(id, "");
        ASSERT_TRUE(ui.ClickInto(id));
        ui.Type("abcdefghi");
        EXPECT_EQ(ui.GetText(id), "abcdefghi");
        ui.ClickInto(IDC_OUTPUT);
        ui.ClickInto(id);
        ui.Type("j");
        EXPECT_EQ(ui.GetText(id), "bcdefghij") << id;
        EXPECT_EQ(ui.CaretOf(id), 9) << id;
        EXPECT_EQ(ui.FocusedControl(), id);
    }
}

TEST_F(DefaultsTest, NineByteLimit) {
    struct Case {
        const char *in, *out;
    } cases[] = {
        {"abcdefghijklmnopqrst", "lmnopqrst"},  // pasted: the last nine
        {"abcdefghi", "abcdefghi"},
        {"", ""},
        {"一二三四五", "二三四五"},   // 10 bytes: the first character goes whole
        {"ab一二三四", "b一二三四"},  // 10 bytes: one byte is enough
        {"a一二三四五", "二三四五"},  // 11 bytes
        {"一二三四a", "一二三四a"},   // 9 bytes
    };
    Start();
    for (const Case& c : cases) {
        ui.SetText(IDC_START_SEP_TEXT, c.in);
        EXPECT_EQ(ui.GetText(IDC_START_SEP_TEXT), c.out) << c.in;
        EXPECT_LE(tk::Utf8ToGbk(ui.GetText(IDC_START_SEP_TEXT)).size(), 9u);
    }
    // A character outside GBK stays as typed, for Set Device to refuse by
    // name, rather than becoming "?" unseen.
    ui.SetText(IDC_START_SEP_TEXT, "abcdefgh😀x");
    EXPECT_EQ(ui.GetText(IDC_START_SEP_TEXT), "abcdefgh😀x");
}

TEST_F(DefaultsTest, SentinelBox) {
    Start();
    for (int id : SENTINEL_EDITS) ui.SetText(id, "xy");
    ASSERT_TRUE(ui.Click(IDC_SENTINELS));
    EXPECT_FALSE(ui.IsChecked(IDC_SENTINELS));
    for (int id : SENTINEL_EDITS) {
        EXPECT_EQ(ui.GetText(id), "") << id;
        EXPECT_FALSE(ui.IsEnabled(id)) << id;
    }
    ui.Click(IDC_SENTINELS);
    const char* expected[] = {"%", "?", ";", "?", "+", "?"};
    for (size_t i = 0; i < SENTINEL_EDITS.size(); ++i) {
        EXPECT_EQ(ui.GetText(SENTINEL_EDITS[i]), expected[i]);
        EXPECT_TRUE(ui.IsEnabled(SENTINEL_EDITS[i]));
    }
}

TEST_F(DefaultsTest, PacketCarriageReturnBox) {
    Start();
    ui.Click(IDC_CR_PACKET);  // cleared
    for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3}) {
        EXPECT_TRUE(ui.IsEnabled(id));
        EXPECT_TRUE(ui.IsChecked(id));
    }
    ui.Click(IDC_CR_TRACK2);
    ui.Click(IDC_CR_PACKET);  // ticked
    for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3}) {
        EXPECT_FALSE(ui.IsEnabled(id));
        EXPECT_FALSE(ui.IsChecked(id));
    }
    ui.Click(IDC_CR_PACKET);
    for (int id : {IDC_CR_TRACK1, IDC_CR_TRACK2, IDC_CR_TRACK3}) EXPECT_TRUE(ui.IsChecked(id));
}

}  // namespace
