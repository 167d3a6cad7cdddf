#pragma once
// Dialog units: the control table places controls in quarters of the dialog
// font's average character width and eighths of its character height, as the
// platform the table was drawn on converts them, so the layout grows with the
// font and its captions keep their room.

#include <QFont>
#include <QRect>

#include "toolkit/ControlSpec.h"

namespace tk {

struct BaseUnits {
    int cx = 1;  // average character width in pixels
    int cy = 1;  // character height in pixels
};

// The dialog's font at 9 points: WenQuanYi Zen Hei when installed (TrueType
// outlines, cheap to rasterise, and its base units equal those of the font
// the table was drawn for), else another CJK font, else the application's
// default font.
QFont DialogFont();

// The base units of a font. cx is the average advance of the 52 Latin
// letters, rounded. cy is the height of one character cell: the em box the
// font's OS/2 table gives (typographic ascender plus descender), which for a
// CJK font is the ideographic cell; without that table, ascent plus descent.
BaseUnits BaseUnitsOf(const QFont& font);

// A rectangle in dialog units as pixels; every edge is converted on its own,
// rounding to the nearest pixel.
QRect ToPixels(const DlgRect& r, BaseUnits units);

}  // namespace tk
