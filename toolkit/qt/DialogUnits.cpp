#include "toolkit/qt/DialogUnits.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>

namespace tk {
namespace {

constexpr int DIALOG_POINT_SIZE = 9;

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

QFont DialogFont() {
    const QStringList installed = QFontDatabase::families();
    for (const char* family :
         {"Noto Sans CJK SC", "WenQuanYi Zen Hei", "WenQuanYi Micro Hei", "Droid Sans Fallback"}) {
        if (installed.contains(QString::fromLatin1(family)))
            return QFont(QString::fromLatin1(family), DIALOG_POINT_SIZE);
    }
    QFont font = QApplication::font();
    font.setPointSize(DIALOG_POINT_SIZE);
    return font;
}

BaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    BaseUnits u;
    u.cx = std::max(1, (width / 26 + 1) / 2);
    u.cy = std::max(1, fm.height());
    return u;
}

QRect ToPixels(const DlgRect& r, BaseUnits u) {
    const int left = MulDiv(r.x, u.cx, 4);
    const int top = MulDiv(r.y, u.cy, 8);
    const int right = MulDiv(r.x + r.width, u.cx, 4);
    const int bottom = MulDiv(r.y + r.height, u.cy, 8);
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace tk
