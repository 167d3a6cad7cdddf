#include <gtest/gtest.h>

#include <string>

#include "e2e/driver/ProgramRun.h"

namespace {

struct RunCase {
    const char* name;
    const char* script;  // for /bin/sh -c
    int timeoutMs;
    int status;
    size_t outSize, errSize;
    const char* out;    // a part of standard output
    const char* err;    // a part of standard error
    const char* error;  // a part of why there is no status
};

// The case's name, not its bytes, in test listings.
void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgramRunCase : public ::testing::TestWithParam<RunCase> {};

TEST_P(ProgramRunCase, GivesStatusAndBothOutputs) {
    const RunCase& c = GetParam();
    const e2e::ProgramRun r = e2e::RunProgram("/bin/sh", {"-c", c.script}, c.timeoutMs);
    EXPECT_EQ(r.status, c.status) << r.error;
    if (c.outSize) {
        EXPECT_EQ(r.out.size(), c.outSize);
    }
    if (c.errSize) {
        EXPECT_EQ(r.err.size(), c.errSize);
    }
    EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
    EXPECT_EQ(r.error.empty(), r.status >= 0);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramRunCase,
    ::testing::Values(
        RunCase{"Exits", "echo said; echo warned >&2; exit 3", 5000, 3, 0, 0, "said\n", "warned\n",
                ""},
        // More than a pipe holds on both streams: neither may stall the other.
        RunCase{"FloodsBoth",
                "head -c 300000 /dev/zero; head -c 200000 /dev/zero >&2; head -c 100000 /dev/zero",
                5000, 0, 400000, 200000, "", "", ""},
        RunCase{"ReadsNothing", "cat; echo end", 5000, 0, 4, 0, "end", "", ""},
        RunCase{"Hangs", "echo started; exec sleep 10", 100, -1, 0, 0, "started", "", "killed"},
        RunCase{"Killed", "kill -9 $$", 5000, -1, 0, 0, "", "", "signal 9"}),
    [](const ::testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST(ProgramRun, AProgramThatCannotStartSaysSo) {
    const e2e::ProgramRun r = e2e::RunProgram("/nonexistent/reader-config", {}, 5000);
    EXPECT_EQ(r.status, -1);
    EXPECT_NE(r.error.find("could not start"), std::string::npos) << r.error;
}

}  // namespace
