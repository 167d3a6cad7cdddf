#include "cli/Texts.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace cli {

std::string Say(Language language, const Text& text, std::initializer_list<std::string_view> args) {
    const std::string_view pattern = language == Language::Chinese ? text.zh : text.en;
    std::string out;
    out.reserve(pattern.size() + 32);
    auto arg = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 1 < pattern.size() && pattern[i + 1] == '}' &&
            arg != args.end()) {
            out += *arg++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool IsPlainLocale(std::string_view locale) {
    return locale.empty() || locale == "C" || locale == "POSIX" || locale.rfind("C.", 0) == 0;
}

const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

}  // namespace

Language LanguageOfLocale(std::string_view locale) {
    if (IsPlainLocale(locale)) return Language::English;
    const std::string l = Lower(locale);
    if (l.rfind("zh", 0) != 0 || (l.size() > 2 && l[2] != '_' && l[2] != '.' && l[2] != '@'))
        return Language::English;
    // Modifiers (@...) come after the character set.
    const size_t dot = l.find('.');
    if (dot == std::string::npos) return Language::English;
    const std::string charset = l.substr(
        dot + 1, l.find('@') == std::string::npos ? std::string::npos : l.find('@') - dot - 1);
    return charset == "utf-8" || charset == "utf8" ? Language::Chinese : Language::English;
}

Language LanguageOfEnvironment() {
    const char* locale = nullptr;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if ((locale = Variable(name))) break;
    if (!locale || IsPlainLocale(locale)) return Language::English;
    const Language ofLocale = LanguageOfLocale(locale);
    if (const char* languages = Variable("LANGUAGE")) {
        // The characters are still the locale's: Chinese only where it is UTF-8.
        const std::string first =
            Lower(std::string_view(languages).substr(0, std::string_view(languages).find(':')));
        const bool chinese = first.rfind("zh", 0) == 0;
        if (!chinese) return Language::English;
        const std::string codeset = Lower(locale);
        const bool utf8 = codeset.find(".utf-8") != std::string::npos ||
                          codeset.find(".utf8") != std::string::npos;
        return utf8 ? Language::Chinese : Language::English;
    }
    return ofLocale;
}

}  // namespace cli
