#pragma once
// The command line's own texts in English and Chinese. A command speaks the
// language of the user's locale (LC_ALL, LC_MESSAGES, LANG; on Windows the
// user interface language), or the one --lang chose. The Chinese texts use
// the window's wording where the window has one ("读取设备" for Read Device);
// the window's texts themselves live in app/, which the command line does
// not use.

#include <initializer_list>
#include <string>
#include <string_view>

namespace cli {

enum class Language { English, Chinese };

// One text in both languages; "{}" in either stands for the next argument
// given to Say.
struct Text {
    const char* en;
    const char* zh;
};

// text in language, each "{}" replaced by the next of args in turn.
std::string Say(Language language, const Text& text,
                std::initializer_list<std::string_view> args = {});

// The language a locale name stands for ("zh_CN.UTF-8": Chinese). A Chinese
// locale whose characters are not UTF-8 ("zh_CN" is GB2312 to glibc) gets
// English, which every terminal shows. "C", "POSIX" and empty: English.
Language LanguageOfLocale(std::string_view locale);

// The language of the environment as a POSIX program reads it: the first of
// LC_ALL, LC_MESSAGES and LANG that is set and not empty; then LANGUAGE's
// first entry, which gettext lets choose the messages' language, decides
// between Chinese and English unless the locale is C or POSIX.
Language LanguageOfEnvironment();

}  // namespace cli
