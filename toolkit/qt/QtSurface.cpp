#include "toolkit/qt/QtSurface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <stdexcept>

#include "toolkit/AccessibleNames.h"
#include "toolkit/ControlAt.h"
#include "toolkit/DepthGuard.h"
#include "toolkit/LineBreaks.h"
#include "toolkit/qt/AboutBox.h"
#include "toolkit/qt/AppIcon.h"
#include "toolkit/qt/DialogStyle.h"
#include "toolkit/qt/DialogUnits.h"
#include "toolkit/qt/LogEdit.h"
#include "toolkit/qt/WindowEntries.h"

namespace tk {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

QtSurface::QtSurface(const DialogSpec& def) : m_title(def.title) {
    DialogWindow::Handlers handlers;
    // Esc: at once, while the key state still says how the dialog was asked.
    handlers.cancel = [this] {
        if (m_sink) m_sink->OnCancel();
    };
    handlers.close = [this] {
        Post([this] {
            if (m_sink && !m_ended) m_sink->OnCancel();
        });
    };
    // Without a dialog behind it the window closes as any window does.
    handlers.ended = [this] { return m_ended || !m_sink; };
    handlers.backgroundMenu = [this](const QPoint& pos) {
        if (m_menus->HasAboutEntries())
            m_menus->ShowContextMenu(m_menus->NewWindowMenu(m_dialog.get()), pos);
    };
    // Message boxes, the pane's document and the dialog share one font;
    // another family would be loaded for nothing.
    QApplication::setFont(DialogFont());
    UseDialogStyle();
    m_dialog = std::make_unique<DialogWindow>(std::move(handlers));
    m_dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                             Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    m_dialog->setFont(DialogFont());
    m_dialog->setWindowTitle(Q(def.title));
    m_dialog->setWindowIcon(AppIcon());
    const BaseUnits units = BaseUnitsOf(m_dialog->font());

    m_menuBar = new QMenuBar(m_dialog.get());
    m_menuBar->setNativeMenuBar(false);
    m_menus = std::make_unique<DialogMenus>(
        m_menuBar, m_dialog.get(),
        [this](int id) {
            Post([this, id] {
                if (m_sink) m_sink->OnCommand(id);
            });
        },
        [this] {
            Post([this] {
                if (m_sink) m_sink->OnAboutCommand();
            });
        });
    SetMenuBar(def.menu);
    SetInterfaceLanguage(def.language);
    m_client = new QWidget;
    m_client->setFixedSize(ToPixels({0, 0, def.size.width, def.size.height}, units).size());
    m_dialog->SetContents(m_menuBar, m_client);

    BuiltControls built = BuildControls(def, m_client, units);
    m_radioGroups = built.radioGroups;
    for (const ControlSpec& s : def.controls) {
        Control& c = m_controls[s.id];
        c.def = s;
        c.widget = built.widgets.at(s.id);
        c.caption = s.caption;
        for (int source : s.nameFrom) m_namedBy[source].push_back(s.id);
        ConnectNotifications(c);
    }
    for (auto& [id, c] : m_controls) UpdateAccessibleName(c);

    QObject::connect(qApp, &QApplication::focusChanged, m_dialog.get(),
                     [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    m_keyFilter = std::make_unique<KeyEventFilter>(
        m_dialog.get(), m_keys, [this] { return m_sink; }, [this] { return m_focusId; });
    qApp->installEventFilter(m_keyFilter.get());
}

QtSurface::~QtSurface() {
    qApp->removeEventFilter(m_keyFilter.get());
    m_sink = nullptr;
    m_operations.Clear();
    m_menus.reset();
    // The widgets go first, while the state their signals reach still exists.
    QObject::disconnect(qApp, nullptr, m_dialog.get(), nullptr);
    m_dialog.reset();
}

QtSurface::Control& QtSurface::At(int id) {
    return ControlAt(m_controls, id);
}

const QtSurface::Control& QtSurface::At(int id) const {
    return ControlAt(m_controls, id);
}

QWidget* QtSurface::Widget(int id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second.widget;
}

bool QtSurface::IsEdit(const Control& c) {
    return c.def.kind == ControlKind::Edit || c.def.kind == ControlKind::MultiLineEdit;
}

void QtSurface::ConnectNotifications(Control& c) {
    const int id = c.def.id;
    switch (c.def.kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            ConnectButton(c);
            break;
        case ControlKind::Edit:
            QObject::connect(static_cast<QLineEdit*>(c.widget), &QLineEdit::textChanged, c.widget,
                             [this, id] {
                                 if (m_silent == 0) NotifyChange(id);
                             });
            break;
        case ControlKind::MultiLineEdit: {
            auto* edit = static_cast<LogEdit*>(c.widget);
            QObject::connect(edit, &QTextEdit::textChanged, edit, [this, id] {
                if (m_silent == 0) NotifyChange(id);
            });
            edit->setContextMenuPolicy(Qt::CustomContextMenu);
            QObject::connect(edit, &QWidget::customContextMenuRequested, edit,
                             [this, edit](const QPoint& pos) {
                                 QMenu* menu = edit->createStandardContextMenu();
                                 m_menus->AddAboutActions(menu);
                                 m_menus->ShowContextMenu(menu, edit->viewport()->mapToGlobal(pos));
                             });
            break;
        }
        default:
            break;
    }
}

void QtSurface::ConnectButton(Control& c) {
    const int id = c.def.id;
    auto* button = static_cast<QAbstractButton*>(c.widget);
    auto command = [this, id] {
        Post([this, id] {
            if (m_sink) m_sink->OnCommand(id);
        });
    };
    // clicked comes after the button has changed its check state; the
    // command runs once the button's own handling is over.
    QObject::connect(button, &QAbstractButton::clicked, button, [this, id, command] {
        m_toggledWithoutClick.erase(id);
        command();
    });
    if (c.def.kind == ControlKind::PushButton) return;
    // Assistive technology's toggle action changes the check state without a
    // click. A click follows its toggle at once, before the queue runs: a
    // toggle still unclaimed when its turn comes is such an action and
    // commands as a click does. A radio button that its group clears is the
    // other side of a click and commands nothing.
    const bool radio = c.def.kind == ControlKind::RadioButton;
    QObject::connect(button, &QAbstractButton::toggled, button, [this, id, radio](bool on) {
        if (m_programmaticChecks > 0 || (radio && !on)) return;
        m_toggledWithoutClick.insert(id);
        Post([this, id] {
            if (m_toggledWithoutClick.erase(id) != 0 && m_sink) m_sink->OnCommand(id);
        });
    });
}

void QtSurface::NotifyChange(int id) {
    if (m_sink) m_sink->OnEditChange(id);
}

void QtSurface::SetText(int id, const std::string& text) {
    Control& c = At(id);
    switch (c.def.kind) {
        case ControlKind::Edit: {
            auto* edit = static_cast<QLineEdit*>(c.widget);
            const QString value = Q(text);
            {
                DepthGuard quiet(m_silent);
                // The same text again leaves the widget as it is (nothing
                // to repaint); the dialog hears of it all the same.
                if (edit->text() != value) edit->setText(value);
                // A new text starts with the caret at its beginning.
                if (edit->cursorPosition() != 0) edit->setCursorPosition(0);
            }
            NotifyChange(id);
            return;
        }
        case ControlKind::MultiLineEdit: {
            {
                DepthGuard quiet(m_silent);
                static_cast<LogEdit*>(c.widget)->SetAllText(Q(ToLf(text)));
            }
            NotifyChange(id);
            return;
        }
        default:
            break;
    }
    if (c.caption == text) return;
    c.caption = text;
    const QString shown = DisplayCaption(text, c.def.kind);
    if (auto* button = qobject_cast<QAbstractButton*>(c.widget))
        button->setText(shown);
    else if (auto* box = qobject_cast<QGroupBox*>(c.widget))
        box->setTitle(shown);
    else if (auto* label = qobject_cast<QLabel*>(c.widget)) {
        label->setText(shown);
        FitLabelText(label);
    }
    UpdateAccessibleName(c);
    auto named = m_namedBy.find(id);
    if (named != m_namedBy.end())
        for (int other : named->second) UpdateAccessibleName(At(other));
}

std::string QtSurface::GetText(int id) const {
    const Control& c = At(id);
    if (c.def.kind == ControlKind::Edit)
        return static_cast<QLineEdit*>(c.widget)->text().toStdString();
    if (c.def.kind == ControlKind::MultiLineEdit)
        return ToCrLf(static_cast<LogEdit*>(c.widget)->toPlainText().toStdString());
    return c.caption;
}

void QtSurface::AppendText(int id, const std::string& text) {
    Control& c = At(id);
    if (c.def.kind == ControlKind::MultiLineEdit) {
        {
            DepthGuard quiet(m_silent);
            static_cast<LogEdit*>(c.widget)->AppendAtEnd(Q(ToLf(text)));
        }
        NotifyChange(id);
        return;
    }
    if (c.def.kind == ControlKind::Edit) {
        auto* edit = static_cast<QLineEdit*>(c.widget);
        {
            DepthGuard quiet(m_silent);
            edit->setText(edit->text() + Q(text));
        }
        NotifyChange(id);
        return;
    }
    SetText(id, c.caption + text);
}

void QtSurface::MoveCaretToEnd(int id) {
    Control& c = At(id);
    if (c.def.kind == ControlKind::Edit) {
        static_cast<QLineEdit*>(c.widget)->end(false);
    } else if (c.def.kind == ControlKind::MultiLineEdit) {
        static_cast<LogEdit*>(c.widget)->MoveCaretToEnd();
    }
}

bool QtSurface::IsChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(At(id).widget);
    return button && button->isCheckable() && button->isChecked();
}

void QtSurface::SetChecked(int id, bool checked) {
    Control& c = At(id);
    auto* button = qobject_cast<QAbstractButton*>(c.widget);
    if (!button || !button->isCheckable()) return;
    // An exclusive group refuses to clear its checked button; the dialog
    // may leave a group with none checked.
    QButtonGroup* group = button->group();
    const bool relax = group && group->exclusive() && !checked;
    if (relax) group->setExclusive(false);
    DepthGuard programmatic(m_programmaticChecks);
    button->setChecked(checked);
    if (relax) group->setExclusive(true);
}

bool QtSurface::IsEnabled(int id) const {
    return At(id).widget->isEnabledTo(m_client);
}

bool QtSurface::IsVisible(int id) const {
    return At(id).widget->isVisibleTo(m_client);
}

void QtSurface::SetEnabled(int id, bool enabled) {
    QWidget* w = At(id).widget;
    const bool hadFocus = w->hasFocus() || w->isAncestorOf(QApplication::focusWidget());
    {
        DepthGuard quiet(m_focusQuiet);
        w->setEnabled(enabled);
    }
    if (!enabled && hadFocus) ParkFocus();
}

void QtSurface::SetVisible(int id, bool visible) {
    QWidget* w = At(id).widget;
    const bool hadFocus = w->hasFocus() || w->isAncestorOf(QApplication::focusWidget());
    {
        DepthGuard quiet(m_focusQuiet);
        w->setVisible(visible);
    }
    if (!visible && hadFocus) ParkFocus();
}

void QtSurface::ParkFocus() {
    // Qt hands the focus of a control that goes away to the next one, which
    // may be an edit that then never reports being entered. The focus stays
    // with the dialog instead, and the control keeps counting as focused.
    DepthGuard quiet(m_focusQuiet);
    m_client->setFocus(Qt::OtherFocusReason);
}

void QtSurface::SetAccessibleName(int id, const std::string& name) {
    Control& c = At(id);
    c.assignedName = name;
    UpdateAccessibleName(c);
}

void QtSurface::UpdateAccessibleName(const Control& c) {
    const std::string name = AccessibleNameOf(
        c.def, IsEdit(c) ? std::string() : c.caption, c.assignedName, [this](int other) {
            auto it = m_controls.find(other);
            return it == m_controls.end() ? std::string() : it->second.caption;
        });
    // Each change is announced to assistive technology: only real ones.
    if (c.widget->accessibleName() != Q(name)) c.widget->setAccessibleName(Q(name));
    const QString description =
        Q(AccessibleDescriptionOf(c.def, IsEdit(c) ? std::string() : c.caption, c.assignedName));
    if (c.widget->accessibleDescription() != description)
        c.widget->setAccessibleDescription(description);
}

void QtSurface::SetFocus(int id) {
    Control& c = At(id);
    c.widget->setFocus(Qt::OtherFocusReason);
    // A window not yet shown or not active takes the focus later, silently.
    if (m_focusId == id) return;
    m_focusId = id;
    if (IsEdit(c) && m_sink) m_sink->OnEditFocus(id);
}

void QtSurface::OnFocusChanged(QWidget* now) {
    if (m_focusQuiet > 0 || !now || !m_client->isAncestorOf(now)) return;
    int id = 0;
    for (QWidget* w = now; w && w != m_client && id == 0; w = w->parentWidget())
        id = ControlIdOf(w);
    if (id == 0 || id == m_focusId) return;
    m_focusId = id;
    if (IsEdit(At(id)) && m_sink) m_sink->OnEditFocus(id);
}

MsgBoxResult QtSurface::MessageBox(const std::string& text, const std::string& caption,
                                   MsgBoxButtons buttons) {
    QMessageBox box(m_dialog.get());
    box.setFont(m_dialog->font());
    box.setWindowTitle(Q(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(Q(ToLf(text)));
    box.setIcon(QMessageBox::NoIcon);
    if (buttons == MsgBoxButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        m_modal.Exec(box);
        return MsgBoxResult::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    m_modal.Exec(box);
    return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? MsgBoxResult::Yes
                                                                       : MsgBoxResult::No;
}

void QtSurface::SetWindowTitle(const std::string& title) {
    m_title = title;
    m_dialog->setWindowTitle(Q(title));
}

void QtSurface::SetMenuBar(const MenuBar& bar) {
    m_menus->SetMenuBar(bar);
}

void QtSurface::ShowAboutBox(const AboutTexts& texts) {
    std::unique_ptr<QDialog> box = MakeAboutBox(m_dialog.get(), texts);
    m_modal.Exec(*box);
}

void QtSurface::StartTimer(int timerId, int periodMs) {
    QTimer*& timer = m_timers[timerId];
    if (!timer) {
        timer = new QTimer(m_dialog.get());
        QObject::connect(timer, &QTimer::timeout, timer, [this, timerId] {
            if (m_sink) m_sink->OnTimer(timerId);
        });
    }
    timer->start(periodMs);
}

int QtSurface::RunModal() {
    if (m_ended) return m_endResult;
    const int result = m_modal.Exec(*m_dialog, false);
    return m_ended ? m_endResult : result;
}

void QtSurface::EndDialog(int result) {
    m_ended = true;
    m_endResult = result;
    m_dialog->done(result);
}

void QtSurface::Post(std::function<void()> notification) {
    m_operations.Post(std::move(notification));
}

void QtSurface::FinishOperations() {
    if (m_operations.Running()) return;
    while (!m_operations.Idle()) QCoreApplication::processEvents();
}

void QtSurface::SetInterfaceLanguage(const std::string& tag) {
    m_translations.Switch(tag);
}

void QtSurface::OpenUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(Q(url)));
}

}  // namespace tk
