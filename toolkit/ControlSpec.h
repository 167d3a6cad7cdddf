#pragma once
// What the toolkit needs to know to build one control of a dialog: its id,
// kind, start-up caption, whether the template shows or disables it, and its
// place in dialog units (1/4 of the average character width across, 1/8 of
// the character height down). A dialog is its title, size, controls and the
// menu bar it starts with.

#include <cstdint>
#include <optional>
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

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
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
    // Colours of the dialog's colour hook. Without a background colour the
    // control's background is not painted and the dialog shows through.
    std::optional<Rgb> textColour;
    std::optional<Rgb> backgroundColour;
    // Screen readers: a control without a caption is named by the captions of
    // these controls (its label, its check box, its group), joined by a space,
    // or else by its fixed name.
    std::vector<int> nameFrom;
    std::string accessibleName;
};

struct MenuItem {
    int commandId = 0;  // 0 for a popup
    std::string text;
    bool enabled = true;
    std::vector<MenuItem> popup;  // items of a popup
};

struct MenuBar {
    std::vector<MenuItem> items;
};

struct DialogSpec {
    std::string title;
    DlgRect size;  // width and height in dialog units
    std::vector<ControlSpec> controls;
    MenuBar menu;                 // the menu bar the dialog starts with
    std::string language = "en";  // BCP 47 tag of the language the dialog starts in
};

}  // namespace tk
