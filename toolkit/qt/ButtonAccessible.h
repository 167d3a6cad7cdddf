#pragma once
// What assistive technology sees of the dialog's buttons, check boxes and
// radio buttons. Qt's own interface toggles a check box for the toggle action
// without a click, so the dialog would never hear of it; here press and
// toggle are one click: the check state changes and the dialog gets its
// command, once, as for a mouse click.

namespace tk {

// Installs the interface for every widget that carries a control id; once per
// process, later calls do nothing.
void InstallButtonAccessibility();

}  // namespace tk
