#include "device/AccessDenial.h"

#include <filesystem>
#include <system_error>

namespace dev {

std::vector<std::string> UdevRuleDirs() {
    return {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/local/lib/udev/rules.d",
            "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
}

bool UdevRuleInstalled(const std::vector<std::string>& dirs) {
    namespace fs = std::filesystem;
    for (const std::string& dir : dirs) {
        const fs::path rule = fs::path(dir) / UDEV_RULE_NAME;
        std::error_code ec;
        const fs::file_status link = fs::symlink_status(rule, ec);
        if (ec || !fs::exists(link)) continue;
        if (fs::is_symlink(link) && fs::read_symlink(rule, ec) == "/dev/null") return false;
        const auto size = fs::file_size(rule, ec);
        return !ec && size > 0;
    }
    return false;
}

AccessDenial ClassifyAccessDenial(bool ruleInstalled, std::optional<bool> nodeTagged) {
    // A tagged node is shared by seat, whichever rule tagged it.
    if (nodeTagged.value_or(false)) return AccessDenial::NotLocalSeat;
    return ruleInstalled ? AccessDenial::RuleNotApplied : AccessDenial::RuleMissing;
}

}  // namespace dev
