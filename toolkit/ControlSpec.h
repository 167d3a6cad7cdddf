#pragma once
// What the toolkit needs to know to build one control of a dialog: its id,
// kind, start-up caption, whether the template shows or disables it, and its
// place in dialog units (1/4 of the average character width across, 1/8 of
// the character height down).

#include <string>
#include <vector>

namespace tk {

enum class ControlKind {
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    StaticText,
    Edit,           // single-line edit
    MultiLineEdit,  // vertical scroll bar, Enter accepted
};

struct DlgRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct ControlSpec {
    int id = 0;
    ControlKind kind = ControlKind::StaticText;
    std::string caption;  // UTF-8
    bool shown = true;
    bool disabled = false;
    DlgRect rect;
    int radioGroup = 0;  // radio buttons with the same nonzero group exclude each other
    bool centred = false;
    bool isDefault = false;  // default push button
};

struct DialogSpec {
    std::string title;
    DlgRect size;  // width and height in dialog units
    std::vector<ControlSpec> controls;
};

}  // namespace tk
