#include "app/MainMenu.h"

#include "app/ControlIds.h"
#include "app/LanguageTexts.h"

namespace app {
namespace {

tk::MenuItem Command(int id, const char* text, bool enabled = true) {
    tk::MenuItem item;
    item.commandId = id;
    item.text = text;
    item.enabled = enabled;
    return item;
}

}  // namespace

tk::MenuBar MainMenuBar(bool english, bool keyboardView, bool viewSwitchEnabled) {
    const auto in = [english](const TextPair& p) { return english ? p.en : p.zh; };
    tk::MenuItem popup;
    popup.text = in(texts::MENU_ABOUT_POPUP);
    popup.popup = {Command(ids::ID_INSTRUCTIONS, in(texts::MENU_INSTRUCTIONS)),
                   Command(ids::ID_SOFTWARE_INFO, in(texts::MENU_SOFTWARE_INFO)),
                   Command(ids::ID_UPDATE, in(texts::MENU_UPDATE))};
    tk::MenuBar bar;
    bar.items = {
        popup,
        Command(ids::ID_TOGGLE_VIEW,
                in(keyboardView ? texts::MENU_TO_GENERAL_VIEW : texts::MENU_TO_KEYBOARD_VIEW),
                viewSwitchEnabled),
        Command(ids::ID_EXIT, in(texts::MENU_EXIT))};
    return bar;
}

}  // namespace app
