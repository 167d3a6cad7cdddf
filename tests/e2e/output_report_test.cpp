#include <gtest/gtest.h>

#include <vector>

#include "e2e/uhid/ModelFactory.h"
#include "e2e/uhid/OutputReport.h"

namespace {

std::vector<uint8_t> Bytes(size_t n, uint8_t first) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(first + i);
    return v;
}

sim::Frame FrameOf(const std::vector<uint8_t>& payload) {
    sim::Frame f{};
    std::copy(payload.begin(), payload.end(), f.begin());
    return f;
}

TEST(OutputReport, UhidFormWithReportIdZeroGivesThePayload) {
    std::vector<uint8_t> report = Bytes(65, 0x30);
    report[0] = 0;
    const auto frame = e2e::FrameFromOutput(report.data(), report.size());
    ASSERT_TRUE(frame);
    EXPECT_EQ(*frame, FrameOf(std::vector<uint8_t>(report.begin() + 1, report.end())));
}

TEST(OutputReport, UsbFormWithoutReportIdIsTakenAsItIs) {
    const std::vector<uint8_t> payload = Bytes(64, 0x20);
    const auto frame = e2e::FrameFromOutput(payload.data(), payload.size());
    ASSERT_TRUE(frame);
    EXPECT_EQ(*frame, FrameOf(payload));
}

TEST(OutputReport, ShortReportIsPaddedWithZeros) {
    const std::vector<uint8_t> payload = {0x20, 0x01, 0x02};
    const auto frame = e2e::FrameFromOutput(payload.data(), payload.size());
    ASSERT_TRUE(frame);
    EXPECT_EQ(*frame, FrameOf(payload));
    EXPECT_EQ((*frame)[63], 0);
}

TEST(OutputReport, ReportsNoHostSendsAreRefused) {
    std::vector<uint8_t> numbered = Bytes(65, 0x20);  // report id 0x20
    EXPECT_FALSE(e2e::FrameFromOutput(numbered.data(), numbered.size()));
    std::vector<uint8_t> tooLong(66, 0);
    EXPECT_FALSE(e2e::FrameFromOutput(tooLong.data(), tooLong.size()));
}

TEST(ModelFactory, EveryListedNameMakesAModelAndOthersNone) {
    const std::vector<std::string> names = e2e::ModelNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "acking"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "silent"), names.end());
    for (const std::string& n : names) EXPECT_NE(e2e::MakeModel(n), nullptr) << n;
    EXPECT_EQ(e2e::MakeModel("Acking"), nullptr);
    EXPECT_EQ(e2e::MakeModel(""), nullptr);
}

TEST(ModelFactory, NamesChooseTheBehaviour) {
    const sim::Frame request = FrameOf(Bytes(64, 0x20));
    EXPECT_TRUE(e2e::MakeModel("silent")->OnFrame(request).empty());
    const auto answers = e2e::MakeModel("acking")->OnFrame(request);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0][2], 'Y');
}

}  // namespace
