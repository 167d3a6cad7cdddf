// reader-config in a web page: the main dialog on the DOM toolkit, the reader
// reached over WebHID (or, with ?simulate=KIND,..., virtual readers behind a
// fake navigator.hid that page.js installs before the program starts). Every
// report goes into a trace the page can save, as --trace does for the tool.

#include <emscripten.h>

#include <sstream>

#include "app/ControlTable.h"
#include "app/ReaderConfigApp.h"
#include "base/Clock.h"
#include "device/ReportTrace.h"
#include "device/webhid/WebHidPort.h"
#include "toolkit/web/WebSurface.h"

namespace {

std::ostringstream& Trace() {
    static std::ostringstream trace;
    return trace;
}

}  // namespace

// The reports so far, in the trace format of the tool's --trace.
extern "C" EMSCRIPTEN_KEEPALIVE const char* web_trace() {
    static std::string text;
    text = Trace().str();
    return text.c_str();
}

int main() {
    tk::SystemClock clock;
    dev::TraceWriter writer(Trace(), clock);
    tk::WebSurface surface(app::MainDialogSpec());
    dev::WebHidPort port;
    dev::WebHidWatcher watcher;
    return CReaderConfigApp().InitInstance(surface, port, watcher, clock, &writer);
}
