#include "e2e/driver/DialogSession.h"

#include <string_view>

#include "app/ControlTable.h"

namespace e2e {

std::string Step::Transfers() const {
    return std::to_string(writes + reads + timeouts) + " transfers (" + std::to_string(writes) +
           " writes, " + std::to_string(reads) + " reads, " + std::to_string(timeouts) +
           " timed out)";
}

DialogSession::DialogSession(Context& context)
    : ui(app::MainDialogSpec()),
      m_context(context),
      m_dlg(ui, context.Port(), context.Watcher(), m_clock) {
    context.DropPendingEvents();
    m_dlg.Link().SetTracer(this);
    m_startup = Do([this] {
        m_dlg.OnInitDialog();
        return true;
    });
    // Events reach the dialog through this session, which counts them.
    context.Watcher().Register(this);
}

DialogSession::~DialogSession() {
    m_dlg.Link().SetTracer(nullptr);
}

Step DialogSession::Click(int id) {
    return Do([this, id] { return ui.Click(id); });
}

Step DialogSession::Menu(int commandId) {
    return Do([this, commandId] { return ui.ChooseMenu(commandId); });
}

Step DialogSession::Do(const std::function<bool()>& action) {
    m_count = Step{};
    const std::string before = OutputText();
    const size_t boxes = ui.MessageBoxes().size();
    const Stopwatch sw;
    const bool done = action();
    Step s = m_count;
    s.ms = sw.Ms();
    s.done = done;
    const std::string after = OutputText();
    s.added = after.starts_with(before) ? after.substr(before.size()) : after;
    s.boxes.assign(ui.MessageBoxes().begin() + static_cast<std::ptrdiff_t>(boxes),
                   ui.MessageBoxes().end());
    return s;
}

bool DialogSession::OnDeviceChange(uint32_t event, uintptr_t data) {
    ++m_events;
    return m_dlg.OnDeviceChange(event, data);
}

bool DialogSession::PumpEventsUntil(const std::function<bool()>& done, int timeoutMs) {
    return m_context.PumpEventsUntil(done, timeoutMs);
}

bool RecordStartup(Context& context, const char* scenario, DialogSession& session) {
    const bool present = session.Dialog().Link().IsPresent();
    return context.results.Record(scenario, "start-up", present, session.Startup().ms,
                                  present ? "reader found" : "no reader found");
}

bool OutputIs(const std::string& added, const std::vector<std::string>& messages) {
    // " HH:MM:SS\r\n"
    constexpr size_t STAMP_LEN = 11;
    size_t at = 0;
    for (const std::string& m : messages) {
        if (added.compare(at, m.size(), m) != 0 || added.size() < at + m.size() + STAMP_LEN)
            return false;
        const std::string_view stamp(added.data() + at + m.size(), STAMP_LEN);
        if (stamp[0] != ' ' || stamp[3] != ':' || stamp[6] != ':' || !stamp.ends_with("\r\n"))
            return false;
        at += m.size() + STAMP_LEN;
    }
    return at == added.size();
}

std::string OneLine(const std::string& added) {
    std::string s;
    for (size_t i = 0; i < added.size(); ++i) {
        if (added.compare(i, 2, "\r\n") == 0) {
            if (i + 2 < added.size()) s += " / ";
            ++i;
        } else {
            s += added[i];
        }
    }
    return s;
}

}  // namespace e2e
