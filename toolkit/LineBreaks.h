#pragma once
// Line breaks between the dialog, which writes and reads CR LF as the
// platform's multi-line edits hold them, and text widgets that hold LF.

#include <string>

namespace tk {

// CR LF, a lone CR and a lone LF each become one LF.
std::string ToLf(const std::string& text);
// Every LF becomes CR LF.
std::string ToCrLf(const std::string& text);

}  // namespace tk
