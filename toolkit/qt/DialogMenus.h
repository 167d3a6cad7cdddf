#pragma once
// The dialog's menus: the menu bar built from its description, the About
// entries of the window's own menu and the context menus that offer them
// (the dialog's background, the output pane). Choosing an item only hands
// its command on; the surface queues it, so no dialog code runs inside a
// menu's own emission.

#include <QMenuBar>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/ControlSpec.h"

class QMenu;

namespace tk {

class DialogMenus {
  public:
    // bar: the dialog's menu bar; actionOwner owns top-level command items.
    DialogMenus(QMenuBar* bar, QWidget* actionOwner, std::function<void(int)> command,
                std::function<void()> about);
    ~DialogMenus();
    DialogMenus(const DialogMenus&) = delete;
    DialogMenus& operator=(const DialogMenus&) = delete;

    void SetMenuBar(const MenuBar& bar);
    const MenuBar& Current() const { return m_menu; }
    // Chooses the bar's command id as the user would; false when the bar has
    // no such command or it is greyed.
    bool Trigger(int id);

    void AddAboutEntry(const std::string& text) { m_aboutEntries.push_back(text); }
    bool HasAboutEntries() const { return !m_aboutEntries.empty(); }
    // Adds the About entries at the end of menu, after a separator, and
    // then what the hook adds (the window's further entries).
    void AddAboutActions(QMenu* menu);
    void SetMoreEntries(std::function<void(QMenu*)> add) { m_moreEntries = std::move(add); }
    // A menu with the About entries only; the caller owns it.
    QMenu* NewWindowMenu(QWidget* parent);
    // Pops a context menu up; it deletes itself once closed. Only one is open.
    void ShowContextMenu(QMenu* menu, const QPoint& globalPos);
    QMenu* OpenContextMenu() const { return m_context; }

  private:
    QMenuBar* m_bar;
    QWidget* m_actionOwner;
    std::function<void(int)> m_command;
    std::function<void()> m_about;
    MenuBar m_menu;
    std::vector<QPointer<QObject>> m_objects;
    std::vector<std::string> m_aboutEntries;
    std::function<void(QMenu*)> m_moreEntries;
    QPointer<QMenu> m_context;
};

}  // namespace tk
