// What a reader or keypad holds comes back unchanged through Read and a
// following Set or Config, with no edit in between: every key code, every
// one-byte setting, and long texts of any bytes.

#include <gtest/gtest.h>

#include <random>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "support/KeypadFixture.h"
#include "support/ReaderFixture.h"

using namespace ids;

namespace {

class KeyCodeRoundTrip : public KeypadFixture {};

TEST_F(KeyCodeRoundTrip, EveryCodeComesBackThroughReadConfigAndConfigKeyboard) {
    for (bool english : {false, true}) {
        for (int first = 0; first < 256; first += KEYPAD_KEY_COUNT) {
            kp::KeyCodes codes{};
            for (size_t i = 0; i < codes.size(); ++i)
                codes[i] = static_cast<uint8_t>((first + static_cast<int>(i)) % 256);
            SCOPED_TRACE(std::to_string(first) + (english ? " en" : " zh"));
            StartInKeyboardView(Keypad(codes));
            g_bEnglish = english;
            ui.Click(IDC_READ_CONFIG);
            ui.Click(IDC_CONFIG_KEY);
            EXPECT_EQ(device->ModelAs<sim::KeypadModel>().StoredCodes(), codes);
            EXPECT_EQ(Frames().back(), KeyCodeFrame(codes));
            dlg.reset();
            port.DetachQuietly(*device);
        }
    }
}

TEST_F(KeyCodeRoundTrip, AChineseCharacterKeepsItsFirstByte) {
    StartInKeyboardView(Keypad());
    ui.SetText(KeyFieldId(1), "中");
    for (int pass = 0; pass < 2; ++pass) {
        ui.Click(IDC_CONFIG_KEY);
        EXPECT_EQ(device->ModelAs<sim::KeypadModel>().StoredCodes()[0], 0xD6) << pass;
        ui.Click(IDC_READ_CONFIG);
    }
    EXPECT_EQ(ui.GetText(KeyFieldId(1)), "«D6»");
}

TEST_F(KeyCodeRoundTrip, AKeyThatCannotTravelAsItLooksIsRefused) {
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {"😀",
         "KEY3中的字符 \"😀\" (U+1F600) 无法按原样发送给设备，没有发送任何数据。请修改后再试！"},
        {"«00»A", "KEY3中的字符 «00» 无法按原样发送给设备，没有发送任何数据。请修改后再试！"},
    };
    for (const Case& c : cases) {
        StartInKeyboardView(Keypad());
        const kp::KeyCodes before = g_keyCodesOut;
        SetKeyFields({"ESC", "F1",   c.text.c_str(), "F3", "7", "8", "9",  "F4",    "4",
                      "5",   "6",    "F5",           "1",  "2", "3", "F6", "CLEAR", "0",
                      ".",   "ENTER"});
        ui.Click(IDC_CONFIG_KEY);
        EXPECT_TRUE(Frames().empty());
        EXPECT_EQ(g_keyCodesOut, before);
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].text, c.message);
        dlg.reset();
        port.DetachQuietly(*device);
        ui.ClearMessageBoxes();
    }
}

class SettingsRoundTrip : public ReaderFixture {
  protected:
    // Reads what the reader holds, sets it straight back, and says whether
    // the reader holds the same afterwards.
    void ReadThenSet(const reader::StoredSettings& stored,
                     const std::array<std::string, 10>& longTexts = {}) {
        StartWithReader().SetSettings(stored);
        for (int index = 1; index <= 9; ++index)
            reader->SetLongText(index, longTexts[static_cast<size_t>(index)]);
        ui.Click(IDC_READ_DEVICE);
        ui.Click(IDC_SET_DEVICE);
        EXPECT_EQ(reader->StoredSettings(), stored);
        for (int index = 1; index <= 9; ++index) {
            if (!longTexts[static_cast<size_t>(index)].empty()) {
                EXPECT_EQ(reader->LongText(index), longTexts[static_cast<size_t>(index)]) << index;
            }
        }
        EXPECT_TRUE(ui.MessageBoxes().empty());
        dlg.reset();
        port.DetachQuietly(*device);
    }
};

const reader::StoredSettings FACTORY = {'%', '?', ';', '?',  '+',  '?',  '7',
                                        '8', '0', '1', 0x04, 0x04, 0x04, '1'};

TEST_F(SettingsRoundTrip, EveryOneByteTextComesBack) {
    // Every code that stands for one character (0xC8 up announce long texts).
    for (int code = 0x01; code < 0xC8; ++code) {
        SCOPED_TRACE(code);
        reader::StoredSettings stored = FACTORY;
        for (size_t i : {0, 1, 2, 3, 4, 5, 10, 11, 12}) stored[i] = static_cast<uint8_t>(code);
        ReadThenSet(stored);
    }
}

TEST_F(SettingsRoundTrip, LongTextsOfAnyBytesComeBack) {
    std::vector<std::string> texts = {"\xFF\xFE", "\xB0\xA1\xB0", std::string("\0A", 2),
                                      "\x81\x40", "\x80\x80",     "«»"};
    std::mt19937 random(14);
    for (int n = 0; n < 40; ++n) {
        std::string t(2 + random() % 8, '\0');
        for (char& c : t) c = static_cast<char>(random() % 256);
        texts.push_back(t);
    }
    for (const std::string& text : texts) {
        SCOPED_TRACE(::testing::PrintToString(text));
        reader::StoredSettings stored = FACTORY;
        stored[0] = static_cast<uint8_t>(reader::LONG_TEXT_BASE + text.size());   // track 1 start
        stored[12] = static_cast<uint8_t>(reader::LONG_TEXT_BASE + text.size());  // end string
        std::array<std::string, 10> longTexts;
        longTexts[1] = longTexts[9] = text;
        ReadThenSet(stored, longTexts);
    }
}

}  // namespace
