// Profiles: the JSON file format, what it refuses, and loading and saving
// through the window's entries as the user sees it.

#include "profile/Profile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "app/ControlIds.h"
#include "app/Globals.h"
#include "app/profile/ProfileControls.h"
#include "base/Gbk.h"
#include "keypad/KeyNameTable.h"
#include "profile/ProfileFile.h"
#include "support/ReaderFixture.h"

using namespace ids;
using profile::Profile;

namespace {

Profile Custom() {
    Profile p;
    p.idFormat = 13;
    p.SetIdSymbol(reader::FIELD_ID_MIDDLE, true, "--");
    p.SetIdSymbol(reader::FIELD_ID_START, true, tk::Utf8ToGbk("读卡"));
    p.SetIdSymbol(reader::FIELD_ID_END, false, "?");
    p.enter = false;
    p.tracks = {true, false, true};
    p.sentinelsOn = true;
    const char* sentinels[] = {"%", "", "中文", "123456789", "+", "?"};
    for (size_t i = 0; i < 6; ++i) p.Text(reader::SENTINEL_FIELDS[i]) = tk::Utf8ToGbk(sentinels[i]);
    p.crAfterPacket = false;
    p.crAfterTrack = {true, false, true};
    p.filterEquals = true;
    reader::KeyCodes keys;
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = i % 2 ? KeyNameToCode("F1") : static_cast<uint8_t>('a' + i);
    keys[19] = KeyNameToCode(tk::Utf8ToGbk("确认"));
    p.keys = keys;
    return p;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(Profile, JsonRoundTripKeepsEverySetting) {
    for (const Profile& p : {Profile{}, Custom()}) {
        const std::string json = profile::ProfileToJson(p);
        const profile::ParseResult r = profile::ParseProfile(json);
        ASSERT_TRUE(r.profile) << r.error;
        EXPECT_EQ(profile::ProfileToJson(*r.profile), json);
        EXPECT_TRUE(profile::Differences(p, *r.profile).empty());
    }
}

TEST(Profile, BrokenProfilesAreRefusedNamingTheField) {
    const std::string good = profile::ProfileToJson(Custom());
    struct Case {
        std::string json, fieldAndWhy;
    } cases[] = {
        {"{\"version\": 1,", "profile: not valid JSON (parse error at line 1, column 15"},
        {"[1]", "profile: must be a JSON object"},
        {Replace(good, "\"version\": 1", "\"version\": 3"), "version: unknown version 3"},
        {Replace(good, "\"version\": 1,", ""), "version: missing"},
        {Replace(good, "\"idFormat\": 13", "\"idFormat\": 14"), "idFormat: must be a whole"},
        {Replace(good, "\"idFormat\": 13", "\"idFormat\": 0"), "idFormat: must be a whole"},
        {Replace(good, "\"idFormat\": 13", "\"idFormat\": \"13\""), "idFormat: must be a whole"},
        {Replace(good, "\"--\"", "\"0123456789\""), "middleSeparator.text: is 10 bytes long"},
        {Replace(good, "\"中文\"", "\"中文中文中\""), "sentinels.track2Start: is 10 bytes long"},
        {Replace(good, "\"中文\"", "\"\xF0\x9F\x98\x80\""),
         "sentinels.track2Start: holds a character that cannot be sent"},
        {Replace(good, "\"--\"", "\"a\\u0001\""), "middleSeparator.text: holds a control"},
        {Replace(good, "\"读卡\"", "\"\""), "startString.text: must not be empty while enabled"},
        {Replace(good, "\"enter\": false", "\"enter\": 0"), "enter: must be true or false"},
        {Replace(good, "\"filterEquals\": true", "\"filterEquals\": true, \"colour\": 1"),
         "colour: unknown field"},
        {Replace(good, "\"track2\": false,\n    \"track3\"", "\"track3\""),
         "tracks.track2: missing"},
        {Replace(good, "\"F1\",\n    \"c\",", ""), "keys: must be an array of 20 key names"},
        {Replace(good, "\"ENTER\"", "\"FX\""), "KEY20: \"FX\" is neither a key name"},
    };
    for (const Case& c : cases) {
        const profile::ParseResult r = profile::ParseProfile(c.json);
        EXPECT_FALSE(r.profile) << c.fieldAndWhy;
        EXPECT_EQ(r.error.rfind(c.fieldAndWhy, 0), 0u) << r.error;
    }
}

// Version 1 files load as they always have; version 2 holds every byte as
// «XX», with the window's rule for what may be sent. The same table runs on
// Linux and on Windows, so a file means the same bytes on both.
TEST(Profile, Version2HoldsEveryByteTheReaderCanHold) {
    const std::string good = profile::ProfileToJson(Custom());
    const std::string gbkOut = "cannot be sent (not in the reader's GBK";
    struct Case {
        bool key;          // KEY1, else the track 2 end sentinel
        const char* json;  // its value
        // "=" and the bytes read, or how the error starts after the field's name
        std::string v1, v2;
        int written;  // the version it is written back in
    } cases[] = {
        {false, "\"«80»\"", "holds a character that " + gbkOut, "=\x80", 1},  // as "€"
        {false, "\"«D6»«D0»\"", "holds a character that " + gbkOut, "=\xD6\xD0", 1},
        {false, "\"«AA»«A1»\"", "=\xAA\xA1", "=\xAA\xA1", 1},  // no character in GBK
        {false, "\"a«0D»b\"", "holds a character that " + gbkOut, "=a\rb", 2},
        {false, "\"\\r\\t\"", "holds a control character", "=\r\t", 2},
        {false, "\"«00»«FF»«C8»«01»«04»«1B»«7F»«81»@\"", "holds a character that " + gbkOut,
         std::string("=\0\xFF\xC8\x01\x04\x1B\x7F\x81\x40", 10), 2},
        {false, "\"\\ue000\"", "holds a character that " + gbkOut,
         "the character \"\xEE\x80\x80\" (U+E000) cannot be sent to the device as it looks", 0},
        {false, "\"a\\u0000\"", "holds a control character",
         "the character U+0000 cannot be sent to the device as it looks", 0},
        {false, "\"«00»«00»«00»«00»«00»«00»«00»«00»«00»«00»\"", "is 10 bytes long in GBK",
         "is 10 bytes long in GBK", 0},
        {true, "\"«D6»\"", "\"«D6»\" is neither", "=\xD6", 2},
        {true, "\"中\"", "\"中\" is neither", "=\xD6", 2},
        {true, "\"«01»\"", "\"«01»\" is neither", "=\x01", 2},
        {true, "\"F1\"", "=\xF8", "=\xF8", 1},
        {true, "\"ab\"", "\"ab\" is neither",
         "\"ab\" is neither a key name (F1, ENTER, ...) nor one character nor one byte", 0},
        {true, "\"«00»\"", "\"«00»\" is neither",
         "the character «00» cannot be sent to the device as it looks", 0},
    };
    for (const Case& c : cases) {
        for (int version : {1, 2}) {
            SCOPED_TRACE(std::string(c.json) + " in version " + std::to_string(version));
            std::string json = c.key ? Replace(good, "\"a\",", std::string(c.json) + ",")
                                     : Replace(good, "\"123456789\"", c.json);
            if (version == 2) json = Replace(json, "\"version\": 1", "\"version\": 2");
            const std::string& expected = version == 1 ? c.v1 : c.v2;
            const profile::ParseResult r = profile::ParseProfile(json);
            if (expected[0] != '=') {
                EXPECT_FALSE(r.profile);
                const std::string field = c.key ? "KEY1: " : "sentinels.track2End: ";
                EXPECT_EQ(r.error.rfind(field + expected, 0), 0u) << r.error;
                continue;
            }
            ASSERT_TRUE(r.profile) << r.error;
            const auto held = [&](const Profile& p) {
                return c.key ? std::string(1, static_cast<char>((*p.keys)[0]))
                             : p.Text(reader::FIELD_T2_END);
            };
            EXPECT_EQ(held(*r.profile), expected.substr(1));
            // Written back, in the version that holds it, it reads the same.
            const std::string written = profile::ProfileToJson(*r.profile);
            const profile::ParseResult again = profile::ParseProfile(written);
            ASSERT_TRUE(again.profile) << again.error;
            EXPECT_EQ(held(*again.profile), expected.substr(1));
            EXPECT_NE(written.find("\"version\": " + std::to_string(c.written)), std::string::npos);
        }
    }
}

TEST(Profile, DifferencesCountOnlyWhatTakesEffect) {
    Profile a, b;
    a.SetIdSymbol(reader::FIELD_ID_MIDDLE, false, ",");
    b.SetIdSymbol(reader::FIELD_ID_MIDDLE, false, "x");  // a text behind a box that is off
    a.crAfterPacket = b.crAfterPacket = true;
    b.crAfterTrack = {true, true, true};  // greyed under the whole-packet box
    a.sentinelsOn = false;
    for (int index : reader::SENTINEL_FIELDS)
        b.Text(index) = "";  // six empty sentinels send what "off" sends
    EXPECT_TRUE(profile::Differences(a, b).empty());

    b.idFormat = 4;
    b.idSymbolOn[0] = true;
    reader::KeyCodes keys{};
    a.keys = keys;
    keys[3] = KeyNameToCode("CLEAR");
    b.keys = keys;
    const auto d = profile::Differences(a, b);
    // The separator's text, in effect on b only, shows as its box.
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[0].field, "idFormat");
    EXPECT_EQ(d[0].expected, "1");
    EXPECT_EQ(d[0].found, "4");
    EXPECT_EQ(d[1].field, "middleSeparator.enabled");
    EXPECT_EQ(d[1].found, "true");
    EXPECT_EQ(d[2].field, "KEY4");
    EXPECT_EQ(d[2].found, "\"CLEAR\"");
}

class ProfileWindowTest : public ReaderFixture {
  protected:
    void SetUp() override {
        dir =
            std::filesystem::temp_directory_path() / ("profile-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::filesystem::path dir;
};

TEST_F(ProfileWindowTest, LoadingSetsTheControlsAsAUserWouldAndSendsNothing) {
    StartWithReader();
    const Profile p = Custom();
    Write(Path("p.json"), profile::ProfileToJson(p));
    ui.QueueFileName(Path("p.json"));
    ASSERT_TRUE(ui.ChooseWindowEntry(ID_LOAD_PROFILE));
    EXPECT_TRUE(device->Received().empty());
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(Unstamped(LastLine()), "已载入配置文件：" + Path("p.json"));
    EXPECT_TRUE(profile::Differences(p, profile::ProfileFromControls(ui, true)).empty());
    // The per-track boxes are clickable, as the user left them.
    EXPECT_TRUE(ui.IsEnabled(IDC_CR_TRACK1));
    EXPECT_TRUE(ui.IsEnabled(IDC_T2_START));

    // Set Device then sends what the controls hold, as after typing them.
    ASSERT_TRUE(ui.Click(IDC_SET_DEVICE));
    EXPECT_EQ(WireKinds(), (std::vector<std::string>{"write 2", "write 5", "write 7", "write 8",
                                                     "settings", "settings"}));
}

TEST_F(ProfileWindowTest, ABrokenFileIsRefusedAndChangesNothing) {
    StartWithReader();
    const std::string before = profile::ProfileToJson(profile::ProfileFromControls(ui, true));
    Write(Path("bad.json"),
          Replace(profile::ProfileToJson(Custom()), "\"idFormat\": 13", "\"idFormat\": 99"));
    for (const std::string& name : {Path("bad.json"), Path("missing.json")}) {
        ui.QueueFileName(name);
        ASSERT_TRUE(ui.ChooseWindowEntry(ID_LOAD_PROFILE));
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_NE(ui.MessageBoxes()[0].text.find("未做任何更改"), std::string::npos);
        ui.ClearMessageBoxes();
        EXPECT_EQ(profile::ProfileToJson(profile::ProfileFromControls(ui, true)), before);
    }
    EXPECT_NE(profile::ReadProfileFile(Path("bad.json")).error.find("idFormat"), std::string::npos);
    // Cancelling the file dialog does nothing at all.
    ASSERT_TRUE(ui.ChooseWindowEntry(ID_LOAD_PROFILE));
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(ProfileWindowTest, SavedProfileHoldsTheControlsAndEntriesFollowTheLanguage) {
    StartWithReader();
    ASSERT_EQ(ui.WindowEntries().size(), 3u);
    EXPECT_EQ(ui.WindowEntries()[0].text, "保存配置文件...");
    EXPECT_EQ(ui.WindowEntries()[0].shortcut, "Ctrl+S");
    EXPECT_EQ(ui.WindowEntries()[1].shortcut, "Ctrl+O");
    EXPECT_FALSE(ui.WindowEntries()[2].enabled);  // no batch run yet
    ASSERT_TRUE(ui.Click(IDC_ENGLISH));
    EXPECT_EQ(ui.WindowEntries()[0].text, "Save profile...");
    EXPECT_EQ(ui.WindowEntries()[1].text, "Load profile...");
    EXPECT_EQ(ui.WindowEntries()[2].text, "Save batch log...");

    ASSERT_TRUE(ui.Click(IDC_FORMAT_FIRST + 6));
    ASSERT_TRUE(ui.Click(IDC_ENTER_AFTER));
    ui.QueueFileName(Path("saved.json"));
    ASSERT_TRUE(ui.ChooseWindowEntry(ID_SAVE_PROFILE));
    const profile::ParseResult r = profile::ReadProfileFile(Path("saved.json"));
    ASSERT_TRUE(r.profile) << r.error;
    EXPECT_EQ(r.profile->idFormat, 7);
    EXPECT_FALSE(r.profile->enter);
    EXPECT_FALSE(r.profile->keys);  // the key fields hold no layout yet
    EXPECT_EQ(ui.FileDialogs().back().extension, "json");

    // A file that cannot be written is said so, in a box.
    ui.QueueFileName(Path("no-such-dir/saved.json"));
    ASSERT_TRUE(ui.ChooseWindowEntry(ID_SAVE_PROFILE));
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text.rfind("Cannot write the file: ", 0), 0u);
}

TEST_F(ProfileWindowTest, BatchLogRowsAreSavedAsCsv) {
    StartWithReader();
    ASSERT_TRUE(ui.Click(IDC_BATCH));
    port.Detach(*device);
    auto silent = std::make_unique<sim::CardReaderModel>();
    silent->SetSilent(true);
    device = &port.Attach(std::move(silent));
    port.Detach(*device);
    device = &port.Attach(std::make_unique<sim::CardReaderModel>());
    ASSERT_TRUE(ui.WindowEntries()[2].enabled);
    ui.QueueFileName(Path("batch.csv"));
    ASSERT_TRUE(ui.ChooseWindowEntry(ID_SAVE_BATCH_LOG));
    std::ifstream in(Path("batch.csv"), std::ios::binary);
    const std::string csv((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(csv,
              "time,count,result,device,serial\r\n"
              "2026-12-07 09:00:00,1,configured,/dev/vhidraw0,VR000001\r\n"
              // Each attempt: the silent reader is tried on its arrival and
              // again on the device-tree change that follows.
              "2026-12-07 09:00:00,1,failed,/dev/vhidraw0,VR000002\r\n"
              "2026-12-07 09:00:01,1,failed,/dev/vhidraw0,VR000002\r\n"
              "2026-12-07 09:00:02,2,configured,/dev/vhidraw0,VR000003\r\n");
}

}  // namespace

namespace {

// The schema in the repository describes the files the tool writes.
TEST(Profile, SchemaNamesWhatTheToolWritesAndReads) {
    std::ifstream in(READER_CONFIG_SOURCE_DIR "/profile/profile.schema.json");
    const nlohmann::json schema = nlohmann::json::parse(in);
    const nlohmann::json written = nlohmann::json::parse(profile::ProfileToJson(Profile{}));
    std::set<std::string> required(schema["required"].begin(), schema["required"].end());
    std::set<std::string> members;
    for (const auto& item : written.items()) members.insert(item.key());
    EXPECT_EQ(required, members);
    std::set<std::string> names;
    for (const auto& name : schema["$defs"]["key"]["anyOf"][1]["enum"]) {
        names.insert(name.get<std::string>());
        EXPECT_EQ(profile::CheckKeyName(name.get<std::string>()), "") << name;
    }
    for (const KeyNameEntry& e : KEY_NAME_TABLE) {
        for (const char* form : {e.shown.zh, e.shown.en, e.aliases[0], e.aliases[1]}) {
            if (!form) continue;
            EXPECT_TRUE(names.count(form)) << form;
        }
    }
}

}  // namespace
