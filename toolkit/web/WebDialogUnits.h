#pragma once
// Dialog units to the page's CSS pixels, by the rules the other toolkits use:
// a horizontal unit is a quarter of the font's average character width, a
// vertical one an eighth of its height, each edge rounded on its own.

#include "toolkit/ControlSpec.h"

namespace tk {

struct BaseUnits {
    int cx = 1, cy = 1;
};

// The rectangle in pixels; width and height are differences of rounded edges.
DlgRect ToPagePixels(const DlgRect& r, BaseUnits u);

}  // namespace tk
