#include "toolkit/qt/DialogUnits.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QRawFont>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace tk {
namespace {

constexpr int DIALOG_POINT_SIZE = 9;

// Offsets into the OpenType tables (big-endian fields).
constexpr int HEAD_UNITS_PER_EM = 18;
constexpr int OS2_TYPO_ASCENDER = 68;
constexpr int OS2_TYPO_DESCENDER = 70;

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

int Field16(const QByteArray& table, int offset, bool isSigned) {
    if (table.size() < offset + 2) return 0;
    const auto* at = reinterpret_cast<const uchar*>(table.constData()) + offset;
    return isSigned ? qFromBigEndian<qint16>(at) : qFromBigEndian<quint16>(at);
}

// The em box height in pixels from the font's own tables, 0 when it has none.
int EmBoxPixels(const QFont& font) {
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid()) return 0;
    const QByteArray head = raw.fontTable("head");
    const QByteArray os2 = raw.fontTable("OS/2");
    const int unitsPerEm = Field16(head, HEAD_UNITS_PER_EM, false);
    const int ascender = Field16(os2, OS2_TYPO_ASCENDER, true);
    const int descender = Field16(os2, OS2_TYPO_DESCENDER, true);
    if (unitsPerEm <= 0 || ascender - descender <= 0) return 0;
    return static_cast<int>(std::lround(raw.pixelSize() * (ascender - descender) / unitsPerEm));
}

}  // namespace

QFont DialogFont() {
    const QStringList installed = QFontDatabase::families();
    for (const char* family :
         {"WenQuanYi Zen Hei", "Noto Sans CJK SC", "WenQuanYi Micro Hei", "Droid Sans Fallback"}) {
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
    const int emBox = EmBoxPixels(font);
    u.cy = std::max(1, emBox > 0 ? emBox : fm.height());
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
