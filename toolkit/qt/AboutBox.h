#pragma once
// The About box: the application icon, the product line, a notice line and
// an OK button, with the texts the dialog hands over.

#include <QDialog>
#include <memory>

#include "toolkit/DialogSurface.h"

namespace tk {

// Control ids of the About box, as its template numbers them.
constexpr int ABOUT_OK = 1;
constexpr int ABOUT_PRODUCT_LINE = 1072;
constexpr int ABOUT_NOTICE_LINE = 1073;

// Builds the box, owned by parent; the caller runs it.
std::unique_ptr<QDialog> MakeAboutBox(QWidget* parent, const AboutTexts& texts);

}  // namespace tk
