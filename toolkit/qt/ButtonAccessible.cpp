#include "toolkit/qt/ButtonAccessible.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QRadioButton>

#include "toolkit/qt/ControlBuilder.h"

namespace tk {
namespace {

// A caption as spoken: "&&" is a written "&", a single "&" marks a mnemonic.
QString WithoutMnemonics(const QString& caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
        out += caption[i];
    }
    return out;
}

class ButtonAccessible : public QAccessibleWidget {
  public:
    ButtonAccessible(QAbstractButton* button, QAccessible::Role role)
        : QAccessibleWidget(button, role) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const QAbstractButton* b = Button();
        if (b->isCheckable()) {
            s.checkable = true;
            s.checked = b->isChecked();
        }
        if (b->isDown()) s.pressed = true;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty()) s = WithoutMnemonics(Button()->text());
        return s;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled())
            names << (Button()->isCheckable() ? toggleAction() : pressAction());
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name != pressAction() && name != toggleAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (widget()->isEnabled()) Button()->click();
    }

  private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    auto* button = qobject_cast<QAbstractButton*>(object);
    if (!button || ControlIdOf(button) == 0) return nullptr;
    QAccessible::Role role = QAccessible::Button;
    if (qobject_cast<QCheckBox*>(button)) role = QAccessible::CheckBox;
    if (qobject_cast<QRadioButton*>(button)) role = QAccessible::RadioButton;
    return new ButtonAccessible(button, role);
}

}  // namespace

void InstallButtonAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

}  // namespace tk
