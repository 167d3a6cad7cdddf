#pragma once
// Parsing JSON a user or another program wrote, within bounds: a document
// nested deeper than a file of this tool ever is, or an object that names
// a member twice (the last one would silently win), is refused with a
// reason, and a value is put into a message only as a short description.
// Header only: the layers that read JSON link the library themselves.

#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

namespace tk {

// Deeper than any file the tool writes, far below where recursion over a
// value could exhaust the stack.
inline constexpr int MAX_JSON_DEPTH = 32;

struct BoundedJson {
    nlohmann::json value;
    std::string error;    // empty when value holds the document
    std::string errorZh;  // the same reason in Chinese
};

// The line and column (from 1) of a byte offset (from 1) of text.
inline std::string LineAndColumnZh(const std::string& text, size_t byte) {
    size_t line = 1, column = 1;
    for (size_t i = 0; i + 1 < byte && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "第 " + std::to_string(line) + " 行第 " + std::to_string(column) + " 列";
}

inline BoundedJson ParseBoundedJson(const std::string& text) {
    BoundedJson r;
    // Depth first, on the text itself, before any value is built.
    int depth = 0;
    bool inString = false, escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > MAX_JSON_DEPTH) {
                r.error = "nested deeper than " + std::to_string(MAX_JSON_DEPTH) + " levels";
                r.errorZh = "嵌套超过 " + std::to_string(MAX_JSON_DEPTH) + " 层";
                return r;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    std::vector<std::set<std::string>> members;  // of each open object
    std::string twice;
    const auto callback = [&](int, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
        using E = nlohmann::json::parse_event_t;
        if (event == E::object_start) members.emplace_back();
        if (event == E::object_end && !members.empty()) members.pop_back();
        if (event == E::key && !members.empty()) {
            const std::string key = parsed.get<std::string>();
            if (!members.back().insert(key).second && twice.empty()) twice = key;
        }
        return true;
    };
    try {
        r.value = nlohmann::json::parse(text, callback);
    } catch (const nlohmann::json::exception& e) {
        // The library's message says where: "... at line 3, column 5: ...".
        const std::string what = e.what();
        const size_t bracket = what.find("] ");
        r.error = "not valid JSON (" +
                  (bracket == std::string::npos ? what : what.substr(bracket + 2)) + ")";
        const auto* parse = dynamic_cast<const nlohmann::json::parse_error*>(&e);
        r.errorZh = parse ? "不是有效的 JSON（" + LineAndColumnZh(text, parse->byte) + "有误）"
                          : std::string("不是有效的 JSON");
        return r;
    }
    if (!twice.empty()) {
        r.value = nullptr;
        r.error = "the member \"" + twice.substr(0, 40) + "\" appears twice in one object";
        r.errorZh = "成员 \"" + twice.substr(0, 40) + "\" 在同一对象中出现了两次";
    }
    return r;
}

// A value as a message may show it: a number, true, false or null as
// written, a string cut short, an array or object only by its kind (in
// Chinese when chinese is set).
inline std::string DescribeJson(const nlohmann::json& v, bool chinese = false) {
    if (v.is_array()) return chinese ? "数组" : "an array";
    if (v.is_object()) return chinese ? "对象" : "an object";
    if (v.is_string()) {
        const std::string s = v.get<std::string>();
        return s.size() > 40
                   ? nlohmann::json(s.substr(0, 40))
                             .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
                         "..."
                   : v.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
    return v.dump();
}

}  // namespace tk
