#include "toolkit/web/WebDialogUnits.h"

namespace tk {
namespace {

// value * numerator / denominator, rounded half away from zero.
int Scale(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

DlgRect ToPagePixels(const DlgRect& r, BaseUnits u) {
    const int left = Scale(r.x, u.cx, 4);
    const int top = Scale(r.y, u.cy, 8);
    return {left, top, Scale(r.x + r.width, u.cx, 4) - left, Scale(r.y + r.height, u.cy, 8) - top};
}

}  // namespace tk
