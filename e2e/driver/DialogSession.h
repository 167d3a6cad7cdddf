#pragma once
// The tool's main dialog over the headless toolkit, on the platform's real
// port and watcher and the system clock: what a person at the screen does,
// timed, with the transfers each step made and what it wrote to the output
// pane. Device events reach the dialog through the watcher when the context
// pumps them, counted on the way.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/ReaderConfigDlg.h"
#include "base/Clock.h"
#include "e2e/driver/ScenarioSupport.h"
#include "toolkit/headless/HeadlessSurface.h"

namespace e2e {

// One user action and what came of it.
struct Step {
    bool done = false;  // the control could be used (visible and enabled)
    double ms = 0;
    int writes = 0;                          // output reports the link sent
    int reads = 0;                           // input reports it received
    int timeouts = 0;                        // reads that timed out
    std::string added;                       // what the output pane gained, time stamps included
    std::vector<tk::ShownMessageBox> boxes;  // message boxes it showed

    // "N transfers (W writes, R reads, T timed out)"
    std::string Transfers() const;
};

class DialogSession : public dev::ReportTracer, public dev::DeviceChangeReceiver {
  public:
    // Drops device events still waiting from earlier scenarios, builds the
    // dialog and runs its start-up.
    explicit DialogSession(Context& context);
    ~DialogSession() override;
    DialogSession(const DialogSession&) = delete;
    DialogSession& operator=(const DialogSession&) = delete;

    // The start-up itself (presence check and registration), as a step.
    const Step& Startup() const { return m_startup; }
    Step Click(int id);
    Step Menu(int commandId);
    // Runs any action the same way; action says whether it could be done.
    Step Do(const std::function<bool()>& action);

    // Hands waiting device events to the dialog until done() or the time is up.
    bool PumpEventsUntil(const std::function<bool()>& done, int timeoutMs);
    int EventsDelivered() const { return m_events; }
    std::string OutputText() const { return ui.GetText(ids::IDC_OUTPUT); }

    tk::HeadlessSurface ui;
    CReaderConfigDlg& Dialog() { return m_dlg; }

    // dev::ReportTracer
    void OnReportWritten(const std::string&, const uint8_t*, size_t) override { ++m_count.writes; }
    void OnReportRead(const std::string&, const uint8_t*, size_t) override { ++m_count.reads; }
    void OnReadTimeout(const std::string&) override { ++m_count.timeouts; }
    // dev::DeviceChangeReceiver: counts the event and hands it to the dialog.
    bool OnDeviceChange(uint32_t event, uintptr_t data) override;

  private:
    Context& m_context;
    tk::SystemClock m_clock;
    CReaderConfigDlg m_dlg;
    Step m_count;  // transfers of the step under way
    Step m_startup;
    int m_events = 0;
};

// Records the dialog's start-up: it must have found the reader.
bool RecordStartup(Context& context, const char* scenario, DialogSession& session);

// Whether added consists of exactly these messages, in order, each followed
// by its time stamp " HH:MM:SS" and CR LF as the output pane writes them.
bool OutputIs(const std::string& added, const std::vector<std::string>& messages);
// The added text in one line for a result's detail: CR LF shown as " / ".
std::string OneLine(const std::string& added);

}  // namespace e2e
