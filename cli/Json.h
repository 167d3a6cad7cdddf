#pragma once
// The commands' JSON documents (--json), built with nlohmann-json. Each
// document names its command and the version of its schema, which the man
// page's JSON OUTPUT describes: a member added keeps the version, a member
// removed or changed in meaning raises it.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "profile/Profile.h"

namespace cli {

using JsonDocument = nlohmann::ordered_json;

// The version of the documents of list, apply, verify and batch.
constexpr int JSON_SCHEMA_VERSION = 1;

// A document's first members: {"command": NAME, "version": 1}.
JsonDocument JsonHead(const char* command);
// Two-space indent and a line end; a batch line is one line. Bytes that are
// no UTF-8 (a device's own strings) become U+FFFD.
std::string JsonText(const JsonDocument& document, bool oneLine = false);
// [{"field", "expected", "found"}, ...]
JsonDocument JsonDifferences(const std::vector<profile::Difference>& diffs);

}  // namespace cli
