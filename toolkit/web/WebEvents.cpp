// What the page reports to the toolkit: dom_toolkit.js calls these exports
// from its event handlers. Each returns at once; what may wait (a click's
// command, a close) is posted as an operation for the dialog's loop.

#include <emscripten.h>

#include <string>

#include "toolkit/web/WebKeys.h"
#include "toolkit/web/WebSurface.h"

using tk::WebSurface;

extern "C" {

EMSCRIPTEN_KEEPALIVE void web_clicked(int id) {
    if (WebSurface* ui = WebSurface::Current()) ui->OnClicked(id);
}

EMSCRIPTEN_KEEPALIVE void web_menu(int commandId) {
    if (WebSurface* ui = WebSurface::Current()) ui->OnMenuCommand(commandId);
}

EMSCRIPTEN_KEEPALIVE void web_window_entry(int commandId) {
    if (WebSurface* ui = WebSurface::Current()) ui->OnWindowEntry(commandId);
}

EMSCRIPTEN_KEEPALIVE void web_about() {
    if (WebSurface* ui = WebSurface::Current()) ui->OnAboutEntry();
}

EMSCRIPTEN_KEEPALIVE void web_input(int id) {
    if (WebSurface* ui = WebSurface::Current()) ui->OnInput(id);
}

EMSCRIPTEN_KEEPALIVE void web_focus(int id) {
    if (WebSurface* ui = WebSurface::Current()) ui->OnFocusIn(id);
}

EMSCRIPTEN_KEEPALIVE int web_key(int press, const char* code, int autoRepeat, int typesText,
                                 const char* shortcut) {
    WebSurface* ui = WebSurface::Current();
    if (!ui) return 0;
    return ui->OnKey(press != 0, tk::VirtualKeyOfCode(code ? code : ""), autoRepeat != 0,
                     typesText != 0, shortcut ? shortcut : "");
}

EMSCRIPTEN_KEEPALIVE void web_close() {
    if (WebSurface* ui = WebSurface::Current()) ui->OnCloseRequest();
}

EMSCRIPTEN_KEEPALIVE void web_timer(int id) {
    if (WebSurface* ui = WebSurface::Current()) ui->OnTimer(id);
}

EMSCRIPTEN_KEEPALIVE void web_box_answer(int answer, const char* fileName) {
    if (WebSurface* ui = WebSurface::Current()) ui->OnBoxAnswer(answer, fileName ? fileName : "");
}

EMSCRIPTEN_KEEPALIVE void web_blur() {
    if (WebSurface* ui = WebSurface::Current()) ui->OnBlur();
}

EMSCRIPTEN_KEEPALIVE int web_idle() {
    WebSurface* ui = WebSurface::Current();
    return ui && ui->Idle();
}

}  // extern "C"
