// Telling why the reader's node may not be opened.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "device/AccessDenial.h"

namespace {

namespace fs = std::filesystem;

TEST(AccessDenial, RuleFoundAsUdevReadsItsDirectories) {
    const fs::path root = fs::temp_directory_path() / ("access_denial_" + std::to_string(getpid()));
    const std::vector<std::string> dirs = {(root / "etc").string(), (root / "usr").string()};
    enum Entry { None, Rule, Empty, DevNull };
    struct Case {
        Entry etc, usr;
        bool installed;
    } cases[] = {
        {None, None, false},  {None, Rule, true},     {Rule, None, true},
        {Rule, Rule, true},   {DevNull, Rule, false},  // masked by the administrator
        {Empty, Rule, false}, {None, DevNull, false},
    };
    for (const Case& c : cases) {
        fs::remove_all(root);
        const Entry entries[] = {c.etc, c.usr};
        for (size_t i = 0; i < dirs.size(); ++i) {
            fs::create_directories(dirs[i]);
            const fs::path rule = fs::path(dirs[i]) / dev::UDEV_RULE_NAME;
            if (entries[i] == DevNull) fs::create_symlink("/dev/null", rule);
            if (entries[i] == Rule || entries[i] == Empty) {
                std::ofstream out(rule);
                if (entries[i] == Rule) out << "SUBSYSTEM==\"hidraw\", TAG+=\"uaccess\"\n";
            }
        }
        EXPECT_EQ(dev::UdevRuleInstalled(dirs), c.installed) << c.etc << " " << c.usr;
    }
    fs::remove_all(root);
}

TEST(AccessDenial, ReasonFromRuleAndTag) {
    using dev::AccessDenial;
    struct Case {
        bool rule;
        std::optional<bool> tagged;
        AccessDenial reason;
    } cases[] = {
        {false, std::nullopt, AccessDenial::RuleMissing},
        {false, false, AccessDenial::RuleMissing},
        {true, std::nullopt, AccessDenial::RuleNotApplied},  // udev has not seen the node
        {true, false, AccessDenial::RuleNotApplied},
        {true, true, AccessDenial::NotLocalSeat},
        {false, true, AccessDenial::NotLocalSeat},  // tagged by another rule: still by seat
    };
    for (const Case& c : cases)
        EXPECT_EQ(dev::ClassifyAccessDenial(c.rule, c.tagged), c.reason)
            << c.rule << " " << c.tagged.value_or(-1);
}

}  // namespace
