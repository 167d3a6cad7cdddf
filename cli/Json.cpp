#include "cli/Json.h"

namespace cli {

JsonDocument JsonHead(const char* command) {
    JsonDocument d = JsonDocument::object();
    d["command"] = command;
    d["version"] = JSON_SCHEMA_VERSION;
    return d;
}

std::string JsonText(const JsonDocument& document, bool oneLine) {
    return document.dump(oneLine ? -1 : 2, ' ', false, nlohmann::json::error_handler_t::replace) +
           "\n";
}

JsonDocument JsonDifferences(const std::vector<profile::Difference>& diffs) {
    JsonDocument list = JsonDocument::array();
    for (const profile::Difference& d : diffs)
        list.push_back({{"field", d.field}, {"expected", d.expected}, {"found", d.found}});
    return list;
}

}  // namespace cli
