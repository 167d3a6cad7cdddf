#pragma once
// The application's style, adjusted for dialogs drawn from a template:
// - check boxes and radio buttons keep the indicator size and caption gap of
//   the platform the template was drawn for (13 and 3 pixels), so a caption
//   has the room the template gave it;
// - nothing is read from image files: the group box frame (a PNG in the
//   Fusion style) is drawn with lines, and the menu bar's overflow arrows
//   (PNG stock icons, read when the menu bar is built although this one
//   never overflows) are drawn when shown. Reading the first image loads
//   every image-format plugin installed.

#include <QProxyStyle>

namespace tk {

class DialogStyle : public QProxyStyle {
  public:
    explicit DialogStyle(const QString& baseKey);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

// Makes the application's style a DialogStyle over the style it has,
// once; needs a QApplication.
void UseDialogStyle();

}  // namespace tk
