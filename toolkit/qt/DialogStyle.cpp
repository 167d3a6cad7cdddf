#include "toolkit/qt/DialogStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyleOption>
#include <algorithm>

namespace tk {
namespace {

constexpr int INDICATOR_SIZE = 13;
constexpr int LABEL_SPACING = 3;
// The group box frame: where Fusion has it, in a darker shade of the window.
constexpr int GROUP_TOP_MARGIN = 3;
constexpr int GROUP_LINE_DARKER = 125;

// An arrow drawn by the style itself at whatever size it is shown.
class ArrowIconEngine : public QIconEngine {
  public:
    ArrowIconEngine(const QStyle* style, QStyle::PrimitiveElement arrow)
        : m_style(style), m_arrow(arrow) {}

    QIconEngine* clone() const override { return new ArrowIconEngine(m_style, m_arrow); }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        QStyleOption option;
        option.rect = rect;
        option.palette = QApplication::palette();
        option.state = mode == QIcon::Disabled ? QStyle::State_None : QStyle::State_Enabled;
        m_style->drawPrimitive(m_arrow, &option, painter);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

  private:
    const QStyle* m_style;
    QStyle::PrimitiveElement m_arrow;
};

}  // namespace

DialogStyle::DialogStyle(const QString& baseKey) : QProxyStyle(baseKey) {}

int DialogStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return INDICATOR_SIZE;
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return LABEL_SPACING;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void DialogStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameGroupBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // Below the title's line, and there without a title too: the template's
    // platform draws a caption-less frame's line where a captioned one's is,
    // so frames side by side line up.
    const int top =
        GROUP_TOP_MARGIN + std::max(pixelMetric(PM_ExclusiveIndicatorHeight, option, widget),
                                    option->fontMetrics.height());
    // One plain line, as the platform the template was drawn for has it:
    // no fill (frames nest) and no anti-aliasing, both costly over areas
    // this large.
    const QRect frame = option->rect.adjusted(0, top, -1, -1);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(option->palette.window().color().darker(GROUP_LINE_DARKER));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(frame);
    painter->restore();
}

QIcon DialogStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                const QWidget* widget) const {
    switch (icon) {
        case SP_ToolBarHorizontalExtensionButton: {
            const bool rtl = widget ? widget->isRightToLeft() : QApplication::isRightToLeft();
            return QIcon(
                new ArrowIconEngine(this, rtl ? PE_IndicatorArrowLeft : PE_IndicatorArrowRight));
        }
        case SP_ToolBarVerticalExtensionButton:
            return QIcon(new ArrowIconEngine(this, PE_IndicatorArrowDown));
        default:
            return QProxyStyle::standardIcon(icon, option, widget);
    }
}

void UseDialogStyle() {
    QStyle* current = QApplication::style();
    if (dynamic_cast<DialogStyle*>(current)) return;
    QApplication::setStyle(new DialogStyle(current->name()));
}

}  // namespace tk
