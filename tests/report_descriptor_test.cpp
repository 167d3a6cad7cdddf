// Report lengths from HID report descriptors, and hidraw node names.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/HidrawPaths.h"
#include "device/ReportDescriptor.h"

namespace {

using dev::ParseReportLengths;

// A vendor-defined interface with one 64-byte input and one 64-byte output
// report and no report ids: the reader's kind of descriptor.
const std::vector<uint8_t> READER = {
    0x06, 0x00, 0xFF,        // usage page (vendor)
    0x09, 0x01,              // usage
    0xA1, 0x01,              // collection (application)
    0x15, 0x00,              //   logical minimum 0
    0x26, 0xFF, 0x00,        //   logical maximum 255
    0x75, 0x08,              //   report size 8
    0x95, 0x40,              //   report count 64
    0x09, 0x01, 0x81, 0x02,  // usage, input
    0x95, 0x40,              //   report count 64
    0x09, 0x01, 0x91, 0x02,  // usage, output
    0xC0,                    // end collection
};

TEST(ReportDescriptorTest, ReaderDescriptorGivesSixtyFiveBytesEachWay) {
    auto lengths = ParseReportLengths(READER.data(), READER.size());
    ASSERT_TRUE(lengths);
    EXPECT_EQ(lengths->input, 65u);
    EXPECT_EQ(lengths->output, 65u);
    EXPECT_FALSE(lengths->numbered);
}

TEST(ReportDescriptorTest, KeyboardCollectionsAreToldFromTheReaders) {
    // A boot keyboard: 8-byte input, the LEDs as a 1-byte output.
    const std::vector<uint8_t> keyboard = {
        0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,  // generic desktop, keyboard, application
        0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,  // modifiers
        0x95, 0x01, 0x75, 0x08, 0x81, 0x01,                                      // reserved
        0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02,  // LEDs
        0x95, 0x01, 0x75, 0x03, 0x91, 0x01,                                      // padding
        0x95, 0x06, 0x75, 0x08, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00,  // keys
        0xC0};
    std::vector<uint8_t> readerThenKeypad = READER;  // one interface with both
    for (uint8_t b : {0x05, 0x01, 0x0A, 0x07, 0x00, 0xA1, 0x01, 0xC0})
        readerThenKeypad.push_back(b);
    // A keyboard usage inside the reader's collection is no top-level keyboard.
    std::vector<uint8_t> nested(READER.begin(), READER.end() - 1);
    for (uint8_t b : {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0xC0, 0xC0}) nested.push_back(b);
    struct Case {
        const char* what;
        const std::vector<uint8_t>& bytes;
        bool keyboard;
        size_t input, output;
    } cases[] = {{"keyboard", keyboard, true, 9, 2},
                 {"reader", READER, false, 65, 65},
                 {"reader and keypad", readerThenKeypad, true, 65, 65},
                 {"nested", nested, false, 65, 65}};
    for (const Case& c : cases) {
        const auto lengths = ParseReportLengths(c.bytes.data(), c.bytes.size());
        ASSERT_TRUE(lengths) << c.what;
        EXPECT_EQ(lengths->keyboard, c.keyboard) << c.what;
        EXPECT_EQ(lengths->input, c.input) << c.what;
        EXPECT_EQ(lengths->output, c.output) << c.what;
    }
}

// The udev rule hands out a node only when its descriptor is the settings
// interface's: never the reader's keyboard, never a node it cannot read.
TEST(ReportDescriptorTest, TheUdevProbeNamesOnlyTheSettingsInterface) {
    std::vector<uint8_t> withKeypad = READER;
    for (uint8_t b : {0x05, 0x01, 0x0A, 0x07, 0x00, 0xA1, 0x01, 0xC0}) withKeypad.push_back(b);
    std::vector<uint8_t> shortReports = READER;
    shortReports[15] = 0x08;  // 8-byte input
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "udev-probe-test" / "hidraw7";
    struct Case {
        const char* what;
        std::optional<std::vector<uint8_t>> descriptor;  // none: no file
        const char* properties;
    } cases[] = {
        {"settings interface", READER, "READER_CONFIG_SETTINGS=1\n"},
        {"with a keypad usage", withKeypad, "READER_CONFIG_SETTINGS=0\n"},
        {"short reports", shortReports, "READER_CONFIG_SETTINGS=0\n"},
        {"broken", std::vector<uint8_t>{0x75}, "READER_CONFIG_SETTINGS=0\n"},
        {"unreadable", std::nullopt, "READER_CONFIG_SETTINGS=0\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "device");
        if (c.descriptor)
            std::ofstream(dir / "device" / "report_descriptor", std::ios::binary)
                .write(reinterpret_cast<const char*>(c.descriptor->data()),
                       static_cast<std::streamsize>(c.descriptor->size()));
        EXPECT_EQ(dev::UdevProperties(dir.string()), c.properties) << c.what;
    }
    std::filesystem::remove_all(dir.parent_path());
}

TEST(ReportDescriptorTest, NumberedReportsTakeTheLongestOfEachKind) {
    const std::vector<uint8_t> d = {
        0x85, 0x01, 0x75, 0x08, 0x95, 0x08, 0x81, 0x02,  // id 1: 8-byte input
        0x85, 0x02, 0x95, 0x20, 0x81, 0x02,              // id 2: 32-byte input
        0x75, 0x01, 0x95, 0x05, 0x81, 0x02,              //       + 5 bits
        0x85, 0x03, 0x75, 0x08, 0x95, 0x10, 0x91, 0x02,  // id 3: 16-byte output
        0x95, 0x30, 0xB1, 0x02,                          // feature: not counted
    };
    auto lengths = ParseReportLengths(d.data(), d.size());
    ASSERT_TRUE(lengths);
    EXPECT_EQ(lengths->input, 1u + 33u);  // 261 bits round up to 33 bytes
    EXPECT_EQ(lengths->output, 17u);
    EXPECT_TRUE(lengths->numbered);
}

TEST(ReportDescriptorTest, PushAndPopRestoreTheGlobals) {
    const std::vector<uint8_t> d = {
        0x75, 0x08, 0x95, 0x04,  // 4 bytes
        0xA4,                    // push
        0x95, 0x40, 0x91, 0x02,  // output of 64 bytes
        0xB4,                    // pop: back to 4
        0x81, 0x02,              // input of 4 bytes
    };
    auto lengths = ParseReportLengths(d.data(), d.size());
    ASSERT_TRUE(lengths);
    EXPECT_EQ(lengths->output, 65u);
    EXPECT_EQ(lengths->input, 5u);
}

TEST(ReportDescriptorTest, LongItemsAreSkippedAndFourByteDataIsRead) {
    const std::vector<uint8_t> d = {
        0xFE, 0x02, 0x10, 0xAA, 0xBB,  // long item with two data bytes
        0x77, 0x08, 0x00, 0x00, 0x00,  // report size 8, as four bytes
        0x97, 0x02, 0x00, 0x00, 0x00,  // report count 2, as four bytes
        0x81, 0x02,
    };
    auto lengths = ParseReportLengths(d.data(), d.size());
    ASSERT_TRUE(lengths);
    EXPECT_EQ(lengths->input, 3u);
    EXPECT_EQ(lengths->output, 0u);
}

TEST(ReportDescriptorTest, BrokenDescriptorsAreRejectedWithoutOverreading) {
    const std::vector<std::vector<uint8_t>> broken = {
        {0x75},                          // data byte missing
        {0x27, 0xFF, 0xFF},              // four data bytes announced, two there
        {0xFE, 0x05, 0x10, 0x00},        // long item cut off
        {0xFE},                          // long item header cut off
        {0xB4},                          // pop without push
        std::vector<uint8_t>(17, 0xA4),  // pushes without end
    };
    for (const auto& d : broken) {
        // Copy into a buffer of exactly the descriptor's size so a read past
        // it would be caught by the sanitizers.
        std::unique_ptr<uint8_t[]> exact(new uint8_t[d.size()]);
        std::copy(d.begin(), d.end(), exact.get());
        EXPECT_FALSE(ParseReportLengths(exact.get(), d.size())) << d.size();
    }
}

TEST(ReportDescriptorTest, HugeCountsDoNotOverflow) {
    const std::vector<uint8_t> d = {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF,
                                    0xFF, 0xFF, 0xFF, 0x81, 0x02, 0x81, 0x02};
    auto lengths = ParseReportLengths(d.data(), d.size());
    ASSERT_TRUE(lengths);
    EXPECT_GT(lengths->input, 128u);  // far too long for the link, as it should be
}

TEST(ReportDescriptorTest, EmptyDescriptorHasNoReports) {
    auto lengths = ParseReportLengths(nullptr, 0);
    ASSERT_TRUE(lengths);
    EXPECT_EQ(lengths->input, 0u);
    EXPECT_EQ(lengths->output, 0u);
}

TEST(HidrawPathsTest, NodesSortByNumber) {
    std::vector<std::string> paths = {"/dev/hidraw10", "/dev/hidraw2", "/dev/hidraw1",
                                      "/dev/hidraw02", "/dev/hidraw"};
    std::sort(paths.begin(), paths.end(), dev::HidrawPathBefore);
    EXPECT_EQ(paths, (std::vector<std::string>{"/dev/hidraw", "/dev/hidraw1", "/dev/hidraw02",
                                               "/dev/hidraw2", "/dev/hidraw10"}));
}

TEST(HidrawPathsTest, DescriptorLivesInSysfsUnderTheNodeName) {
    EXPECT_EQ(dev::ReportDescriptorPathOf("/dev/hidraw3"),
              "/sys/class/hidraw/hidraw3/device/report_descriptor");
    EXPECT_EQ(dev::ReportDescriptorPathOf("hidraw0"),
              "/sys/class/hidraw/hidraw0/device/report_descriptor");
}

}  // namespace
