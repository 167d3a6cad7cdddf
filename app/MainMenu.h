#pragma once
// The main dialog's menu bar: the "About the software" popup, the view
// switch and Exit.

#include "toolkit/DialogSurface.h"

namespace app {

// The bar in one language for the view shown; the view switch item is greyed
// unless viewSwitchEnabled.
tk::MenuBar MainMenuBar(bool english, bool keyboardView, bool viewSwitchEnabled);

// The bar of the dialog's menu template, which the dialog starts with: Chinese,
// general settings view, view switch enabled.
inline tk::MenuBar StartupMenuBar() {
    return MainMenuBar(false, false, true);
}

}  // namespace app
