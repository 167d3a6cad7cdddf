#include "toolkit/AccessibleNames.h"

namespace tk {

std::string TrimCaption(const std::string& caption) {
    const char* blanks = " \t\r\n";
    const size_t first = caption.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    const size_t last = caption.find_last_not_of(blanks);
    return caption.substr(first, last - first + 1);
}

std::string AccessibleNameOf(const ControlSpec& def, const std::string& caption,
                             const std::string& assigned,
                             const std::function<std::string(int)>& captionOf) {
    if (def.kind == ControlKind::StaticText && !TrimCaption(caption).empty())
        return TrimCaption(caption);
    if (!assigned.empty()) return assigned;
    if (!def.accessibleName.empty()) return def.accessibleName;
    if (!def.nameFrom.empty()) {
        std::string name;
        for (int id : def.nameFrom) {
            const std::string part = TrimCaption(captionOf(id));
            if (part.empty()) continue;
            if (!name.empty()) name += ' ';
            name += part;
        }
        return name;
    }
    return TrimCaption(caption);
}

std::string AccessibleDescriptionOf(const ControlSpec& def, const std::string& caption,
                                    const std::string& assigned) {
    if (def.kind != ControlKind::StaticText || TrimCaption(caption).empty()) return "";
    return assigned.empty() ? def.accessibleName : assigned;
}

}  // namespace tk
