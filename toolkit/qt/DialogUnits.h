#pragma once
// Dialog units: the control table places controls in quarters of the dialog
// font's average character width and eighths of its character height, so the
// layout grows with the font and its captions keep their room.

#include <QFont>
#include <QRect>

#include "toolkit/ControlSpec.h"

namespace tk {

struct BaseUnits {
    int cx = 1;  // average character width in pixels
    int cy = 1;  // character height in pixels
};

// The dialog's font: a CJK font at 9 points when one is installed, else the
// application's default font at 9 points.
QFont DialogFont();

// The average width of the Latin letters (rounded) and the font's height.
BaseUnits BaseUnitsOf(const QFont& font);

// A rectangle in dialog units as pixels; every edge is converted on its own,
// rounding to the nearest pixel.
QRect ToPixels(const DlgRect& r, BaseUnits units);

}  // namespace tk
