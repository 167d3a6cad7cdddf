#pragma once
// The file dialog of the window's profile and batch-log entries: Qt's own
// dialog, whose texts follow the interface language through Qt's
// translations, with the file list's size, type and date in that language
// too, and its columns as wide as what they show.

#include <QWidget>
#include <string>

#include "toolkit/DialogSurface.h"

namespace tk {

class ModalRunner;

// Runs the file dialog modally over parent; the chosen name in the file
// system's encoding, empty when cancelled. language: BCP 47, as
// DialogSurface::SetInterfaceLanguage takes it.
std::string RunFileDialog(QWidget* parent, ModalRunner& modal, const FileDialogRequest& request,
                          const std::string& language);

}  // namespace tk
