#include "toolkit/qt/ControlBuilder.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include "toolkit/qt/LogEdit.h"

namespace tk {
namespace {

// Static texts taller than this many dialog units hold several lines.
constexpr int ONE_LINE_HEIGHT = 16;
// The smallest pixel size a status line shrinks its font to.
constexpr int MIN_FIT_PIXELS = 9;

QColor ToQColor(const Rgb& c) {
    return QColor(c.r, c.g, c.b);
}

void ApplyColours(QWidget* widget, const ControlSpec& def) {
    if (!def.textColour && !def.backgroundColour) return;
    QPalette palette = widget->palette();
    if (def.textColour) {
        // A disabled control keeps the greyed look of the platform.
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            for (QPalette::ColorRole role :
                 {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
                palette.setColor(group, role, ToQColor(*def.textColour));
    }
    if (def.backgroundColour) {
        palette.setColor(QPalette::Window, ToQColor(*def.backgroundColour));
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

QWidget* MakeWidget(const ControlSpec& def, QWidget* client, BuiltControls& built) {
    const QString caption = DisplayCaption(def.caption, def.kind);
    switch (def.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(caption, client);
            // Inside a QDialog every push button would be an auto-default one,
            // and the first would take Enter: only the table names a default.
            button->setAutoDefault(false);
            button->setDefault(def.isDefault);
            return button;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(caption, client);
        case ControlKind::RadioButton: {
            auto* radio = new QRadioButton(caption, client);
            if (def.radioGroup != 0) {
                QButtonGroup*& group = built.radioGroups[def.radioGroup];
                if (!group) group = new QButtonGroup(client);
                group->addButton(radio);
            } else {
                // Radio buttons that share a parent would otherwise exclude each other.
                radio->setAutoExclusive(false);
            }
            return radio;
        }
        case ControlKind::GroupBox: {
            auto* box = new QGroupBox(caption, client);
            box->setFocusPolicy(Qt::NoFocus);
            return box;
        }
        case ControlKind::StaticText: {
            auto* label = new QLabel(caption, client);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment((def.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
            label->setWordWrap(def.rect.height > ONE_LINE_HEIGHT);
            return label;
        }
        case ControlKind::Edit:
            return new QLineEdit(QString::fromStdString(def.caption), client);
        case ControlKind::MultiLineEdit:
            return new LogEdit(client);
    }
    return new QWidget(client);
}

}  // namespace

QString DisplayCaption(const std::string& caption, ControlKind kind) {
    QString text = QString::fromStdString(caption);
    text.replace(QLatin1Char('\t'), QStringLiteral("  "));
    const bool mnemonics = kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
                           kind == ControlKind::RadioButton || kind == ControlKind::GroupBox;
    if (mnemonics) text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return text;
}

QString MenuText(const std::string& text) {
    QString out = QString::fromStdString(text);
    out.replace(QLatin1Char('\t'), QStringLiteral("  "));
    out.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return out;
}

void FitLabelText(QLabel* label) {
    const bool wrap = label->wordWrap();
    if (!wrap && !(label->alignment() & Qt::AlignHCenter)) return;
    QFont font = label->parentWidget() ? label->parentWidget()->font() : label->font();
    if (font.pixelSize() < 0) font.setPixelSize(QFontInfo(font).pixelSize());
    const QRect room = label->contentsRect();
    auto fits = [&](const QFont& f) {
        const QFontMetrics fm(f);
        if (!wrap) return fm.horizontalAdvance(label->text()) <= room.width();
        const QRect need = fm.boundingRect(room, Qt::TextWordWrap, label->text());
        return need.width() <= room.width() && need.height() <= room.height();
    };
    while (font.pixelSize() > MIN_FIT_PIXELS && !fits(font))
        font.setPixelSize(font.pixelSize() - 1);
    if (font != label->font()) label->setFont(font);
}

int ControlIdOf(const QWidget* widget) {
    return widget ? widget->property(CONTROL_ID_PROPERTY).toInt() : 0;
}

BuiltControls BuildControls(const DialogSpec& def, QWidget* client, BaseUnits units) {
    BuiltControls built;
    for (const ControlSpec& s : def.controls) {
        QWidget* w = MakeWidget(s, client, built);
        w->setObjectName(QStringLiteral("ctl_%1").arg(s.id));
        w->setProperty(CONTROL_ID_PROPERTY, s.id);
        w->setGeometry(ToPixels(s.rect, units));
        ApplyColours(w, s);
        w->setVisible(s.shown);
        w->setEnabled(!s.disabled);
        built.widgets[s.id] = w;
    }
    // Group boxes are frames drawn behind the controls they surround.
    for (const ControlSpec& s : def.controls)
        if (s.kind == ControlKind::GroupBox) built.widgets[s.id]->lower();
    return built;
}

}  // namespace tk
