#pragma once
// Why the reader's node may not be opened, told apart so that the user gets
// the commands that help: a missing udev rule is installed, a rule that has
// not reached the node yet is applied, and a rule that is applied but gives
// the node to another seat's user calls for a group instead.

#include <optional>
#include <string>
#include <vector>

namespace dev {

enum class AccessDenial {
    Unknown,         // the platform cannot tell
    RuleMissing,     // the tool's udev rule is in none of udev's rule directories
    RuleNotApplied,  // the rule is installed, but the node does not carry its uaccess tag
    NotLocalSeat,    // the node carries the tag: this user is not at the active local seat
};

inline constexpr const char* UDEV_RULE_NAME = "70-reader-config.rules";

// udev's rule directories, in its order of precedence.
std::vector<std::string> UdevRuleDirs();

// True when the first of dirs that holds UDEV_RULE_NAME holds a rule there: a
// file that is empty or links to /dev/null masks the rules of later
// directories, as udev has it.
bool UdevRuleInstalled(const std::vector<std::string>& dirs);

// nodeTagged: whether udev's database gives the node the uaccess tag now;
// nullopt when udev has no record of the node.
AccessDenial ClassifyAccessDenial(bool ruleInstalled, std::optional<bool> nodeTagged);

}  // namespace dev
