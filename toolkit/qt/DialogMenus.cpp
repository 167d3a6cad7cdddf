#include "toolkit/qt/DialogMenus.h"

#include <QMenu>

#include "toolkit/qt/ControlBuilder.h"

namespace tk {

DialogMenus::DialogMenus(QMenuBar* bar, QWidget* actionOwner, std::function<void(int)> command,
                         std::function<void()> about)
    : m_bar(bar),
      m_actionOwner(actionOwner),
      m_command(std::move(command)),
      m_about(std::move(about)) {}

DialogMenus::~DialogMenus() {
    delete m_context;
}

void DialogMenus::SetMenuBar(const MenuBar& bar) {
    m_menu = bar;
    // The old items go when control is back in the event loop, whoever is
    // still looking at them now.
    m_bar->clear();
    for (QPointer<QObject>& old : m_objects)
        if (old) old->deleteLater();
    m_objects.clear();

    auto addCommand = [this](QWidget* owner, const MenuItem& item) {
        auto* action = new QAction(MenuText(item.text), owner);
        action->setEnabled(item.enabled);
        const int id = item.commandId;
        action->setData(id);
        QObject::connect(action, &QAction::triggered, action, [this, id] { m_command(id); });
        return action;
    };
    for (const MenuItem& item : bar.items) {
        if (item.commandId == 0) {
            auto* popup = new QMenu(MenuText(item.text), m_bar);
            popup->setEnabled(item.enabled);
            for (const MenuItem& sub : item.popup) popup->addAction(addCommand(popup, sub));
            m_bar->addMenu(popup);
            m_objects.emplace_back(popup);
        } else {
            QAction* action = addCommand(m_actionOwner, item);
            m_bar->addAction(action);
            m_objects.emplace_back(action);
        }
    }
}

bool DialogMenus::Trigger(int id) {
    if (id == 0) return false;
    for (QAction* top : m_bar->actions()) {
        QList<QAction*> candidates{top};
        if (QMenu* popup = top->menu()) {
            if (!popup->isEnabled()) continue;
            candidates = popup->actions();
        }
        for (QAction* action : candidates) {
            if (action->data().toInt() != id) continue;
            if (!action->isEnabled()) return false;
            action->trigger();
            return true;
        }
    }
    return false;
}

QMenu* DialogMenus::NewWindowMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    AddAboutActions(menu);
    return menu;
}

void DialogMenus::AddAboutActions(QMenu* menu) {
    if (m_aboutEntries.empty()) return;
    if (!menu->isEmpty()) menu->addSeparator();
    for (const std::string& entry : m_aboutEntries) {
        QAction* action = menu->addAction(MenuText(entry));
        QObject::connect(action, &QAction::triggered, action, [this] { m_about(); });
    }
    if (m_moreEntries) m_moreEntries(menu);
}

void DialogMenus::ShowContextMenu(QMenu* menu, const QPoint& globalPos) {
    if (m_context) m_context->deleteLater();
    m_context = menu;
    QObject::connect(menu, &QMenu::aboutToHide, menu, &QObject::deleteLater);
    menu->popup(globalPos);
}

}  // namespace tk
