#pragma once
// The window's own menu entries after About (with their shortcuts) and the
// file dialogs, for QtSurface.

#include <QAction>
#include <QPointer>
#include <functional>
#include <vector>

#include "toolkit/DialogSurface.h"

class QMenu;
class QWidget;

namespace tk {

class WindowEntryActions {
  public:
    // command receives an entry's id when it is chosen or its shortcut pressed.
    WindowEntryActions(QWidget* window, std::function<void(int)> command);
    ~WindowEntryActions();
    WindowEntryActions(const WindowEntryActions&) = delete;
    WindowEntryActions& operator=(const WindowEntryActions&) = delete;

    // Replaces the entries; their shortcuts work while the window is active.
    // Each command's action carries its command id as data.
    void Set(const std::vector<WindowEntry>& entries);
    // Appends the entries to a context menu.
    void AddTo(QMenu* menu) const;

  private:
    // The action of one entry (a submenu's menu action for a submenu);
    // enabled: whether the submenu it is in is.
    QAction* Make(const WindowEntry& e, bool enabled);

    QWidget* m_window;
    std::function<void(int)> m_command;
    std::vector<QPointer<QAction>> m_top;        // what AddTo adds, in order
    std::vector<QPointer<QObject>> m_owned;      // every action and submenu made
    std::vector<QPointer<QAction>> m_shortcuts;  // added to the window
};

}  // namespace tk
