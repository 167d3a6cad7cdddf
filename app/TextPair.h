#pragma once
// A user-visible text in its Chinese and English forms. The form is chosen
// from g_bEnglish at the moment the text is produced.

#include <string>

#include "app/Globals.h"

struct TextPair {
    const char* zh;
    const char* en;
    // The form of the current UI language.
    const char* Get() const { return g_bEnglish ? en : zh; }
    operator std::string() const { return Get(); }
};
