#include "toolkit/qt/WindowEntries.h"

#include <QActionGroup>
#include <QMenu>
#include <algorithm>

#include "toolkit/qt/ControlBuilder.h"
#include "toolkit/qt/FileDialog.h"
#include "toolkit/qt/QtSurface.h"

namespace tk {
namespace {

constexpr const char* CHECKED_PROPERTY = "windowEntryChecked";

}  // namespace

WindowEntryActions::WindowEntryActions(QWidget* window, std::function<void(int)> command)
    : m_window(window), m_command(std::move(command)) {}

WindowEntryActions::~WindowEntryActions() {
    for (const QPointer<QObject>& o : m_owned) delete o.data();
}

void WindowEntryActions::Set(const std::vector<WindowEntry>& entries) {
    // An open context menu may still show the old actions: they go once it closes.
    for (const QPointer<QAction>& a : m_shortcuts)
        if (a) m_window->removeAction(a);
    for (const QPointer<QObject>& o : m_owned)
        if (o) o->deleteLater();
    m_shortcuts.clear();
    m_owned.clear();
    m_top.clear();
    for (const WindowEntry& e : entries) m_top.emplace_back(Make(e, true));
}

QAction* WindowEntryActions::Make(const WindowEntry& e, bool enabled) {
    const QString text = MenuText(e.text);  // "&" is a character, as in the menu bar
    if (!e.submenu.empty()) {
        auto* menu = new QMenu(text, m_window);
        const bool choice = std::all_of(e.submenu.begin(), e.submenu.end(),
                                        [](const WindowEntry& inner) { return inner.checkable; });
        auto* group = choice ? new QActionGroup(menu) : nullptr;  // radio marks
        for (const WindowEntry& inner : e.submenu) {
            QAction* action = Make(inner, enabled && e.enabled);
            if (group) group->addAction(action);
            menu->addAction(action);
        }
        menu->setEnabled(e.enabled);
        m_owned.emplace_back(menu);
        return menu->menuAction();
    }
    auto* action = new QAction(text, m_window);
    if (!e.shortcut.empty()) action->setShortcut(QKeySequence(QString::fromStdString(e.shortcut)));
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(e.enabled && enabled);
    action->setCheckable(e.checkable);
    const bool checked = e.checkable && e.checked;
    action->setChecked(checked);
    action->setData(e.commandId);
    const int id = e.commandId;
    // The dialog sets the entries anew: a click does not move the check mark.
    action->setProperty(CHECKED_PROPERTY, checked);
    QObject::connect(action, &QAction::triggered, action, [this, action, id] {
        const QList<QAction*> choice =
            action->actionGroup() ? action->actionGroup()->actions() : QList<QAction*>{action};
        for (QAction* a : choice) a->setChecked(a->property(CHECKED_PROPERTY).toBool());
        m_command(id);
    });
    m_window->addAction(action);
    m_shortcuts.emplace_back(action);
    m_owned.emplace_back(action);
    return action;
}

void WindowEntryActions::AddTo(QMenu* menu) const {
    for (const QPointer<QAction>& a : m_top)
        if (a) menu->addAction(a);
}

void QtSurface::SetWindowEntries(const std::vector<WindowEntry>& entries) {
    if (!m_windowEntries) {
        // Chosen entries are queued operations, as the menu bar's commands.
        m_windowEntries = std::make_unique<WindowEntryActions>(m_dialog.get(), [this](int id) {
            Post([this, id] {
                if (m_sink) m_sink->OnCommand(id);
            });
        });
        m_menus->SetMoreEntries([this](QMenu* menu) { m_windowEntries->AddTo(menu); });
    }
    m_windowEntries->Set(entries);
}

std::string QtSurface::AskFileName(const FileDialogRequest& request) {
    return RunFileDialog(m_dialog.get(), m_modal, request, m_translations.Language());
}

}  // namespace tk
