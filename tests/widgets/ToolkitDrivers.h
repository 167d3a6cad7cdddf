#pragma once
// The user's side of a toolkit: one driver per DialogSurface implementation,
// so that the toolkit contract runs as one suite over the headless toolkit
// and over the real Qt widgets (offscreen). A driver acts as a user, an
// assistive technology or a test answering message boxes does.

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/KeyCodes.h"
#include "toolkit/headless/HeadlessSurface.h"
#include "toolkit/qt/QtSurface.h"
#include "widgets/WidgetTestSupport.h"

namespace widgettest {

enum class Toolkit { Headless, Qt };

inline std::string ToolkitName(const ::testing::TestParamInfo<Toolkit>& info) {
    return info.param == Toolkit::Headless ? "Headless" : "Qt";
}

class Driver {
  public:
    virtual ~Driver() = default;
    virtual tk::DialogSurface& Ui() = 0;
    // Shows the window as the active one (the Qt window needs it for keys).
    virtual void Show() = 0;
    // A mouse click; false when the control is hidden or disabled.
    virtual bool Click(int id) = 0;
    virtual bool ChooseMenu(int commandId) = 0;
    // Clicks into an edit: it gets the focus, the caret goes to the end.
    virtual void ClickInto(int id) = 0;
    // Presses and releases a key.
    virtual void Press(uint8_t vk) = 0;
    // Holds a key through repeats auto-repeated presses, then releases it.
    virtual void Hold(uint8_t vk, int repeats) = 0;
    virtual void Type(const std::string& text) = 0;
    // The press or toggle action of a screen reader.
    virtual void AccessibleAction(int id) = 0;
    virtual void CloseWindow() = 0;
    // Answers the next message box from inside its loop; whileOpen runs
    // there first.
    virtual void QueueAnswer(tk::MsgBoxResult answer, std::function<void()> whileOpen = {}) = 0;
    virtual int BoxesShown() = 0;
    // The busy indication is showing.
    virtual bool Busy() = 0;
    // What a screen reader announces.
    virtual std::string AccessibleName(int id) = 0;
    // Lets queued operations run, as the event loop does after a user action.
    virtual void Settle() = 0;
    // The window's own menu as a user sees it: About, then the entries, one
    // line each ("[x] " for a check mark, " (grey)" when greyed, a submenu as
    // "title >" followed by its entries indented).
    virtual std::vector<std::string> WindowMenu() = 0;
    // Chooses an entry of that menu, also in a submenu; false when it is
    // missing or greyed.
    virtual bool ChooseWindowEntry(int commandId) = 0;
};

// One line of WindowMenu().
inline std::string WindowMenuLine(const std::string& text, bool checkable, bool checked,
                                  bool enabled) {
    return std::string(checkable ? (checked ? "[x] " : "[ ] ") : "") + text +
           (enabled ? "" : " (grey)");
}

class HeadlessDriver : public Driver {
  public:
    explicit HeadlessDriver(const tk::DialogSpec& def) : ui(def) {}
    tk::DialogSurface& Ui() override { return ui; }
    void Show() override {}
    bool Click(int id) override { return ui.Click(id); }
    bool ChooseMenu(int commandId) override { return ui.ChooseMenu(commandId); }
    void ClickInto(int id) override { ui.ClickInto(id); }
    void Press(uint8_t vk) override { ui.PressKey(vk); }
    void Hold(uint8_t vk, int repeats) override {
        ui.HoldKey(vk);
        for (int i = 0; i < repeats; ++i) ui.RepeatKey(vk);
        ui.ReleaseKey(vk);
    }
    void Type(const std::string& text) override { ui.Type(text); }
    void AccessibleAction(int id) override { ui.AccessibleAction(id); }
    void CloseWindow() override { ui.CloseWindow(); }
    void QueueAnswer(tk::MsgBoxResult answer, std::function<void()> whileOpen) override {
        ui.QueueAnswer(answer, std::move(whileOpen));
    }
    int BoxesShown() override { return static_cast<int>(ui.MessageBoxes().size()); }
    bool Busy() override { return ui.Busy(); }
    std::string AccessibleName(int id) override { return ui.AccessibleName(id); }
    void Settle() override {}
    std::vector<std::string> WindowMenu() override {
        std::vector<std::string> out = ui.AboutEntries();
        for (const tk::WindowEntry& e : ui.WindowEntries()) {
            if (e.submenu.empty()) {
                out.push_back(WindowMenuLine(e.text, e.checkable, e.checked, e.enabled));
                continue;
            }
            out.push_back(WindowMenuLine(e.text + " >", false, false, e.enabled));
            for (const tk::WindowEntry& sub : e.submenu)
                out.push_back("  " +
                              WindowMenuLine(sub.text, sub.checkable, sub.checked, sub.enabled));
        }
        return out;
    }
    bool ChooseWindowEntry(int commandId) override { return ui.ChooseWindowEntry(commandId); }

    tk::HeadlessSurface ui;
};

class QtDriver : public Driver {
  public:
    explicit QtDriver(const tk::DialogSpec& def) : ui((App(), def)) {}
    tk::DialogSurface& Ui() override { return ui; }
    void Show() override {
        ui.Dialog()->show();
        ui.Dialog()->activateWindow();
        (void)QTest::qWaitForWindowActive(ui.Dialog());
    }
    bool Click(int id) override {
        QWidget* w = ui.Widget(id);
        if (!w->isVisible() || !w->isEnabled()) return false;
        // On the caption, where a click counts for check boxes.
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(6, w->height() / 2));
        ui.FinishOperations();
        return true;
    }
    bool ChooseMenu(int commandId) override {
        const bool chosen = ui.TriggerMenuCommand(commandId);
        ui.FinishOperations();
        return chosen;
    }
    void ClickInto(int id) override {
        QWidget* w = ui.Widget(id);
        if (auto* pane = qobject_cast<QAbstractScrollArea*>(w)) w = pane->viewport();
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        ui.MoveCaretToEnd(id);
        ui.FinishOperations();
    }
    void Press(uint8_t vk) override {
        QTest::keyClick(Window(), QtKey(vk));
        ui.FinishOperations();
    }
    void Hold(uint8_t vk, int repeats) override {
        const Qt::Key key = QtKey(vk);
        QTest::simulateEvent(Window(), true, key, Qt::NoModifier, QString(), false);
        // The platform's auto-repeat: a release and a press, both marked repeated.
        for (int i = 0; i < repeats; ++i) {
            QTest::simulateEvent(Window(), false, key, Qt::NoModifier, QString(), true);
            QTest::simulateEvent(Window(), true, key, Qt::NoModifier, QString(), true);
        }
        QTest::simulateEvent(Window(), false, key, Qt::NoModifier, QString(), false);
        ui.FinishOperations();
    }
    void Type(const std::string& text) override {
        for (char c : text) QTest::keyClick(Window(), c);  // ASCII only
        ui.FinishOperations();
    }
    void AccessibleAction(int id) override {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(ui.Widget(id));
        QAccessibleActionInterface* actions = iface ? iface->actionInterface() : nullptr;
        if (!actions) return;
        const QStringList names = actions->actionNames();
        actions->doAction(names.contains(QAccessibleActionInterface::toggleAction())
                              ? QAccessibleActionInterface::toggleAction()
                              : QAccessibleActionInterface::pressAction());
        ui.FinishOperations();
    }
    void CloseWindow() override {
        ui.Dialog()->close();
        ui.FinishOperations();
    }
    void QueueAnswer(tk::MsgBoxResult answer, std::function<void()> whileOpen) override {
        ui.Modal().QueueAnswer(answer, std::move(whileOpen));
    }
    int BoxesShown() override { return ui.Modal().BoxesRun(); }
    bool Busy() override {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::WaitCursor;
    }
    std::string AccessibleName(int id) override {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(ui.Widget(id));
        return iface ? iface->text(QAccessible::Name).toStdString() : std::string();
    }
    void Settle() override { ui.FinishOperations(); }
    std::vector<std::string> WindowMenu() override {
        std::unique_ptr<QMenu> menu(ui.NewWindowMenu(ui.Dialog()));
        std::vector<std::string> out;
        auto text = [](const QAction* a) {
            return a->text().replace(QStringLiteral("&&"), QStringLiteral("&")).toStdString();
        };
        for (const QAction* a : menu->actions()) {
            if (a->isSeparator()) continue;
            if (!a->menu()) {
                out.push_back(
                    WindowMenuLine(text(a), a->isCheckable(), a->isChecked(), a->isEnabled()));
                continue;
            }
            out.push_back(WindowMenuLine(text(a) + " >", false, false, a->menu()->isEnabled()));
            for (const QAction* sub : a->menu()->actions())
                out.push_back("  " + WindowMenuLine(text(sub), sub->isCheckable(), sub->isChecked(),
                                                    sub->isEnabled()));
        }
        return out;
    }
    bool ChooseWindowEntry(int commandId) override {
        std::unique_ptr<QMenu> menu(ui.NewWindowMenu(ui.Dialog()));
        for (QAction* a : menu->actions()) {
            QList<QAction*> candidates{a};
            if (a->menu()) {
                if (!a->menu()->isEnabled()) continue;
                candidates = a->menu()->actions();
            }
            for (QAction* c : candidates) {
                if (c->menu() || c->isSeparator() || c->data().toInt() != commandId) continue;
                if (!c->isEnabled()) return false;
                c->trigger();
                ui.FinishOperations();
                return true;
            }
        }
        return false;
    }

    static Qt::Key QtKey(uint8_t vk) {
        switch (vk) {
            case tk::VK_RETURN:
                return Qt::Key_Return;
            case tk::VK_BACK:
                return Qt::Key_Backspace;
            case tk::VK_ESCAPE:
                return Qt::Key_Escape;
            case tk::VK_LEFT:
                return Qt::Key_Left;
            case tk::VK_TAB:
                return Qt::Key_Tab;
            case tk::VK_F5:
                return Qt::Key_F5;
            default:
                return Qt::Key_unknown;
        }
    }
    QWindow* Window() { return ui.Dialog()->windowHandle(); }

    tk::QtSurface ui;
};

inline std::unique_ptr<Driver> MakeDriver(Toolkit kind, const tk::DialogSpec& def) {
    if (kind == Toolkit::Headless) return std::make_unique<HeadlessDriver>(def);
    return std::make_unique<QtDriver>(def);
}

}  // namespace widgettest
