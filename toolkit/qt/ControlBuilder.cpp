#include "toolkit/qt/ControlBuilder.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tk {
namespace {

// Static texts taller than this many dialog units hold several lines.
constexpr int ONE_LINE_HEIGHT = 16;

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
        case ControlKind::MultiLineEdit: {
            auto* edit = new QPlainTextEdit(client);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            // Tab moves on through the dialog; Enter starts a new line.
            edit->setTabChangesFocus(true);
            // The log grows without bound; an undo history of it would too.
            edit->setUndoRedoEnabled(false);
            return edit;
        }
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
