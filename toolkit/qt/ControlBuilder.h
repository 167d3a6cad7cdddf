#pragma once
// Builds the widgets of a dialog's control table inside a client widget:
// one widget per control, placed in dialog units, captioned, coloured, hidden
// and disabled as the table says. Each widget carries its control id in the
// property "controlId" and in its object name "ctl_<id>".

#include <QButtonGroup>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <map>
#include <string>

#include "toolkit/ControlSpec.h"
#include "toolkit/qt/DialogUnits.h"

namespace tk {

inline constexpr const char* CONTROL_ID_PROPERTY = "controlId";

struct BuiltControls {
    std::map<int, QWidget*> widgets;
    std::map<int, QButtonGroup*> radioGroups;  // by ControlSpec::radioGroup
};

BuiltControls BuildControls(const DialogSpec& def, QWidget* client, BaseUnits units);

// A caption as a widget shows it. Tabs become two spaces (a tab does not
// render in a one-line caption); for widgets that read "&" as a mnemonic
// marker, "&" is doubled so it shows as written.
QString DisplayCaption(const std::string& caption, ControlKind kind);
// A menu item's text: tabs become two spaces (a tab would start the shortcut
// column), "&" is doubled.
QString MenuText(const std::string& text);

// A static text whose text would be cut off (a centred one-line text too
// wide, as the English clock; a wrapped text too long, as the keypad tips at
// the dialog font's line spacing) takes a smaller size of the dialog font,
// down to 9 pixels, rather than lose text; text that fits keeps the font.
void FitLabelText(QLabel* label);

// The control id a widget carries, 0 for none.
int ControlIdOf(const QWidget* widget);

}  // namespace tk
