#pragma once
// The name under which screen readers announce a control. Both toolkits use
// the same rule, so the behaviour tests can check what the real widgets say.

#include <functional>
#include <string>

#include "toolkit/ControlSpec.h"

namespace tk {

// A caption as it is announced: without the spaces and tabs around it.
std::string TrimCaption(const std::string& caption);

// The name of a control, first match wins: for a static text that is not
// blank, its text (its text is its content, as for the status line); the
// name the dialog gave it
// (assigned, not empty); the control's fixed name; the captions of the controls
// it takes its name from, trimmed and joined by a space; its own caption.
// captionOf returns the current caption of another control.
std::string AccessibleNameOf(const ControlSpec& def, const std::string& caption,
                             const std::string& assigned,
                             const std::function<std::string(int)>& captionOf);

// The description of a control: for a static text named by its own text, the
// name the dialog gave it or else its fixed name (what the text is: "Status
// line"); empty otherwise.
std::string AccessibleDescriptionOf(const ControlSpec& def, const std::string& caption,
                                    const std::string& assigned);

}  // namespace tk
