#include "e2e/driver/Results.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

TEST(Results, CountsAndFormatsEachOperation) {
    std::FILE* sink = std::tmpfile();
    ASSERT_NE(sink, nullptr);
    e2e::Results results(sink);
    EXPECT_TRUE(results.Record("s", "a", true, 1.25, "fine"));
    EXPECT_FALSE(results.Record("s", "b", false, 600.0));
    results.Info("s", "not counted");
    std::fclose(sink);
    EXPECT_EQ(results.Passed(), 1);
    EXPECT_EQ(results.Failed(), 1);
    EXPECT_EQ(results.Summary(), "vm-driver: 2 operations, 1 ok, 1 failed");
    const std::string line = e2e::FormatResult("presence", "CheckPresence", false, 12.34, "gone");
    EXPECT_EQ(line.rfind("RESULT FAIL presence/CheckPresence ", 0), 0u) << line;
    EXPECT_NE(line.find(" 12.3 ms  gone"), std::string::npos) << line;
}

}  // namespace
