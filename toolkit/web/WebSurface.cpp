#include "toolkit/web/WebSurface.h"

#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "toolkit/AccessibleNames.h"
#include "toolkit/ControlAt.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/LineBreaks.h"
#include "toolkit/web/WebKeys.h"

namespace tk {
namespace {

WebSurface* g_current = nullptr;

// The page's side (dom_toolkit.js). Texts cross as UTF-8.
EM_JS(void, dom_base_units, (int* cx, int* cy), {
    const u = ReaderDom.baseUnits();
    HEAP32[cx >> 2] = u.cx;
    HEAP32[cy >> 2] = u.cy;
});
EM_JS(void, dom_begin, (const char* title, int width, int height),
      { ReaderDom.begin(UTF8ToString(title), width, height); });
EM_JS(void, dom_add_control,
      (int id, int kind, const char* caption, int x, int y, int w, int h, int shown, int disabled,
       int group, int centred, int fg, int bg),
      {
          ReaderDom.addControl(id, kind, UTF8ToString(caption), x, y, w, h, shown, disabled, group,
                               centred, fg, bg);
      });
EM_JS(void, dom_set_caption, (int id, const char* text),
      { ReaderDom.setCaption(id, UTF8ToString(text)); });
EM_JS(void, dom_set_value, (int id, const char* text),
      { ReaderDom.setValue(id, UTF8ToString(text)); });
EM_JS(void, dom_append_value, (int id, const char* text),
      { ReaderDom.appendValue(id, UTF8ToString(text)); });
EM_JS(char*, dom_value, (int id), { return allocateUTF8(ReaderDom.value(id)); });
EM_JS(void, dom_caret_to_end, (int id), { ReaderDom.caretToEnd(id); });
EM_JS(int, dom_checked, (int id), { return ReaderDom.checked(id); });
EM_JS(void, dom_set_checked, (int id, int on), { ReaderDom.setChecked(id, on); });
EM_JS(void, dom_set_enabled, (int id, int on), { ReaderDom.setEnabled(id, on); });
EM_JS(void, dom_set_visible, (int id, int on), { ReaderDom.setVisible(id, on); });
EM_JS(void, dom_set_label, (int id, const char* name, const char* description),
      { ReaderDom.setLabel(id, UTF8ToString(name), UTF8ToString(description)); });
EM_JS(void, dom_focus, (int id), { ReaderDom.focus(id); });
EM_JS(void, dom_set_title, (const char* text), { ReaderDom.setTitle(UTF8ToString(text)); });
EM_JS(void, dom_set_menu, (const char* json), { ReaderDom.setMenu(UTF8ToString(json)); });
EM_JS(void, dom_set_window_menu, (const char* json),
      { ReaderDom.setWindowMenu(UTF8ToString(json)); });
EM_JS(void, dom_message_box, (const char* text, const char* caption, int yesNo),
      { ReaderDom.messageBox(UTF8ToString(text), UTF8ToString(caption), yesNo); });
EM_JS(void, dom_about_box,
      (const char* title, const char* ok, const char* line1, const char* line2), {
          ReaderDom.aboutBox(UTF8ToString(title), UTF8ToString(ok), UTF8ToString(line1),
                             UTF8ToString(line2));
      });
EM_JS(void, dom_save_box, (const char* title, const char* suggested),
      { ReaderDom.saveBox(UTF8ToString(title), UTF8ToString(suggested)); });
EM_JS(void, dom_open_box, (const char* extension), { ReaderDom.openBox(UTF8ToString(extension)); });
EM_JS(void, dom_download, (const char* path), { ReaderDom.download(UTF8ToString(path)); });
EM_JS(void, dom_start_timer, (int id, int ms), { ReaderDom.startTimer(id, ms); });
EM_JS(void, dom_set_busy, (int on), { ReaderDom.setBusy(on); });
EM_JS(void, dom_set_language, (const char* tag), { ReaderDom.setLanguage(UTF8ToString(tag)); });
EM_JS(void, dom_open_url, (const char* url),
      { window.open(UTF8ToString(url), '_blank', 'noopener'); });
EM_JS(void, dom_end, (const char* note), { ReaderDom.end(UTF8ToString(note)); });
EM_JS(void, dom_signal, (), { ReaderDom.signal(); });
// The one place the page's loops wait: until the page has something for the
// dialog (an operation posted, a box answered).
EM_ASYNC_JS(void, dom_wait, (), { await ReaderDom.wait(); });

int Rgb24(const std::optional<Rgb>& c) {
    return c ? (c->r << 16) | (c->g << 8) | c->b : -1;
}

nlohmann::json MenuItemsJson(const std::vector<MenuItem>& items) {
    nlohmann::json out = nlohmann::json::array();
    for (const MenuItem& item : items)
        out.push_back({{"id", item.commandId},
                       {"text", item.text},
                       {"enabled", item.enabled},
                       {"sub", MenuItemsJson(item.popup)}});
    return out;
}

nlohmann::json EntriesJson(const std::vector<WindowEntry>& entries) {
    nlohmann::json out = nlohmann::json::array();
    for (const WindowEntry& e : entries)
        out.push_back({{"id", e.commandId},
                       {"text", e.text},
                       {"shortcut", e.shortcut},
                       {"enabled", e.enabled},
                       {"checkable", e.checkable},
                       {"checked", e.checked},
                       {"sub", EntriesJson(e.submenu)}});
    return out;
}

// The command entry with this shortcut; nullptr when none or it is greyed.
const WindowEntry* EntryWithShortcut(const std::vector<WindowEntry>& entries,
                                     const std::string& shortcut) {
    for (const WindowEntry& e : entries) {
        if (!e.enabled) continue;
        if (!e.submenu.empty()) {
            if (const WindowEntry* inner = EntryWithShortcut(e.submenu, shortcut)) return inner;
        } else if (!e.shortcut.empty() && e.shortcut == shortcut) {
            return &e;
        }
    }
    return nullptr;
}

// The notes the page shows when the program has ended: it cannot close itself.
const char* EndedNote(const std::string& language) {
    return language == "zh-CN" ? "程序已退出。重新载入本页即可再次启动。"
                               : "The program has ended. Reload the page to start it again.";
}

}  // namespace

WebSurface* WebSurface::Current() {
    return g_current;
}

WebSurface::WebSurface(const DialogSpec& def)
    : m_title(def.title), m_menu(def.menu), m_language(def.language) {
    g_current = this;
    dom_base_units(&m_units.cx, &m_units.cy);
    const DlgRect size = ToPagePixels({0, 0, def.size.width, def.size.height}, m_units);
    dom_begin(def.title.c_str(), size.width, size.height);
    for (const ControlSpec& s : def.controls) {
        Control& c = m_controls[s.id];
        c.def = s;
        c.caption = s.caption;
        for (int source : s.nameFrom) m_namedBy[source].push_back(s.id);
        const DlgRect r = ToPagePixels(s.rect, m_units);
        dom_add_control(s.id, static_cast<int>(s.kind), s.caption.c_str(), r.x, r.y, r.width,
                        r.height, s.shown, s.disabled, s.radioGroup, s.centred, Rgb24(s.textColour),
                        Rgb24(s.backgroundColour));
    }
    for (auto& [id, c] : m_controls) UpdateAccessibleName(c);
    SetMenuBar(def.menu);
    SetInterfaceLanguage(def.language);
}

WebSurface::~WebSurface() {
    if (g_current == this) g_current = nullptr;
}

WebSurface::Control& WebSurface::At(int id) {
    return ControlAt(m_controls, id);
}

const WebSurface::Control& WebSurface::At(int id) const {
    return ControlAt(m_controls, id);
}

bool WebSurface::IsEdit(const Control& c) {
    return c.def.kind == ControlKind::Edit || c.def.kind == ControlKind::MultiLineEdit;
}

void WebSurface::SetText(int id, const std::string& text) {
    Control& c = At(id);
    if (IsEdit(c)) {
        dom_set_value(id, ToLf(text).c_str());
        if (m_sink) m_sink->OnEditChange(id);
        return;
    }
    if (c.caption == text) return;
    c.caption = text;
    dom_set_caption(id, text.c_str());
    UpdateAccessibleName(c);
    if (auto named = m_namedBy.find(id); named != m_namedBy.end())
        for (int other : named->second) UpdateAccessibleName(At(other));
}

std::string WebSurface::GetText(int id) const {
    const Control& c = At(id);
    if (!IsEdit(c)) return c.caption;
    char* value = dom_value(id);
    std::string text = value ? value : "";
    std::free(value);
    return c.def.kind == ControlKind::MultiLineEdit ? ToCrLf(text) : text;
}

void WebSurface::AppendText(int id, const std::string& text) {
    Control& c = At(id);
    if (!IsEdit(c)) {
        SetText(id, c.caption + text);
        return;
    }
    dom_append_value(id, ToLf(text).c_str());
    if (m_sink) m_sink->OnEditChange(id);
}

void WebSurface::MoveCaretToEnd(int id) {
    if (IsEdit(At(id))) dom_caret_to_end(id);
}

bool WebSurface::IsChecked(int id) const {
    const ControlKind kind = At(id).def.kind;
    return (kind == ControlKind::CheckBox || kind == ControlKind::RadioButton) && dom_checked(id);
}

void WebSurface::SetChecked(int id, bool checked) {
    dom_set_checked(id, checked);
}

bool WebSurface::IsEnabled(int id) const {
    return !At(id).def.disabled;
}

void WebSurface::SetEnabled(int id, bool enabled) {
    At(id).def.disabled = !enabled;
    dom_set_enabled(id, enabled);
}

bool WebSurface::IsVisible(int id) const {
    return At(id).def.shown;
}

void WebSurface::SetVisible(int id, bool visible) {
    At(id).def.shown = visible;
    dom_set_visible(id, visible);
}

void WebSurface::SetAccessibleName(int id, const std::string& name) {
    Control& c = At(id);
    c.assignedName = name;
    UpdateAccessibleName(c);
}

void WebSurface::UpdateAccessibleName(const Control& c) {
    const std::string caption = IsEdit(c) ? std::string() : c.caption;
    const std::string name = AccessibleNameOf(c.def, caption, c.assignedName, [this](int other) {
        auto it = m_controls.find(other);
        return it == m_controls.end() ? std::string() : it->second.caption;
    });
    const std::string description = AccessibleDescriptionOf(c.def, caption, c.assignedName);
    dom_set_label(c.def.id, name.c_str(), description.c_str());
}

void WebSurface::SetFocus(int id) {
    Control& c = At(id);
    // The page's focus event comes back as OnFocusIn, which then finds the
    // focus already noted.
    const bool moved = m_focusId != id;
    m_focusId = id;
    dom_focus(id);
    if (moved && IsEdit(c) && m_sink) m_sink->OnEditFocus(id);
}

void WebSurface::OnFocusIn(int id) {
    if (id == m_focusId || !m_controls.count(id)) return;
    m_focusId = id;
    if (IsEdit(At(id)) && m_sink) m_sink->OnEditFocus(id);
}

void WebSurface::WaitForAnswer() {
    ++m_boxDepth;
    ++m_boxesShown;
    m_answered = false;
    UpdateBusy();
    while (!m_answered) dom_wait();
    --m_boxDepth;
    UpdateBusy();
}

void WebSurface::OnBoxAnswer(int answer, const std::string& fileName) {
    m_answer = answer;
    m_answerName = fileName;
    m_answered = true;
    dom_signal();
}

MsgBoxResult WebSurface::MessageBox(const std::string& text, const std::string& caption,
                                    MsgBoxButtons buttons) {
    dom_message_box(text.c_str(), caption.c_str(), buttons == MsgBoxButtons::YesNo);
    WaitForAnswer();
    if (buttons == MsgBoxButtons::Ok) return MsgBoxResult::Ok;
    return m_answer == static_cast<int>(MsgBoxResult::Yes) ? MsgBoxResult::Yes : MsgBoxResult::No;
}

void WebSurface::ShowAboutBox(const AboutTexts& texts) {
    dom_about_box(texts.title.c_str(), texts.okButton.c_str(), texts.line1.c_str(),
                  texts.line2.c_str());
    WaitForAnswer();
}

std::string WebSurface::AskFileName(const FileDialogRequest& request) {
    if (request.kind == FileDialogRequest::Kind::Open) {
        dom_open_box(request.extension.c_str());
        WaitForAnswer();
        return m_answerName;
    }
    dom_save_box(request.title.c_str(), request.suggestedName.c_str());
    WaitForAnswer();
    std::string name = std::filesystem::path(m_answerName).filename().string();
    if (name.empty() || name == "." || name == "..") return "";
    if (!request.extension.empty() && std::filesystem::path(name).extension().empty())
        name += "." + request.extension;
    // What the dialog writes there goes to the browser as a download once
    // the operation has returned (DeliverDownloads). The name is given
    // relative to that folder, so the output pane names the download the
    // user gets, not a folder of the page's own.
    mkdir(DOWNLOADS_DIR, 0700);
    if (chdir(DOWNLOADS_DIR) != 0) return std::string(DOWNLOADS_DIR) + "/" + name;
    return name;
}

void WebSurface::DeliverDownloads() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(DOWNLOADS_DIR, error))
        if (entry.is_regular_file(error)) dom_download(entry.path().c_str());
}

void WebSurface::SetWindowTitle(const std::string& title) {
    m_title = title;
    dom_set_title(title.c_str());
}

void WebSurface::SetMenuBar(const MenuBar& bar) {
    m_menu = bar;
    dom_set_menu(MenuItemsJson(bar.items).dump().c_str());
}

std::string WebSurface::WindowEntriesJson() const {
    nlohmann::json all = nlohmann::json::array();
    for (const std::string& about : m_aboutEntries)
        all.push_back(
            {{"id", -1}, {"text", about}, {"enabled", true}, {"sub", nlohmann::json::array()}});
    for (const auto& e : EntriesJson(m_windowEntries)) all.push_back(e);
    return all.dump();
}

void WebSurface::AddAboutEntry(const std::string& text) {
    m_aboutEntries.push_back(text);
    dom_set_window_menu(WindowEntriesJson().c_str());
}

void WebSurface::SetWindowEntries(const std::vector<WindowEntry>& entries) {
    m_windowEntries = entries;
    dom_set_window_menu(WindowEntriesJson().c_str());
}

void WebSurface::StartTimer(int timerId, int periodMs) {
    dom_start_timer(timerId, periodMs);
}

void WebSurface::OnTimer(int timerId) {
    // A window busy with an operation gets no timer message until it is done;
    // the next tick comes soon enough.
    if (m_sink && !Busy()) m_sink->OnTimer(timerId);
}

void WebSurface::Post(std::function<void()> notification) {
    m_waiting.push_back(std::move(notification));
    dom_signal();
}

void WebSurface::RunWaiting() {
    if (m_running) return;
    m_running = true;
    UpdateBusy();
    while (!m_waiting.empty()) {
        std::function<void()> operation = std::move(m_waiting.front());
        m_waiting.pop_front();
        operation();
    }
    m_running = false;
    UpdateBusy();
    DeliverDownloads();
}

void WebSurface::UpdateBusy() {
    dom_set_busy(Busy());
}

int WebSurface::RunModal() {
    while (!m_ended) {
        RunWaiting();
        if (m_ended) break;
        dom_wait();
    }
    return m_endResult;
}

void WebSurface::EndDialog(int result) {
    m_ended = true;
    m_endResult = result;
    dom_end(EndedNote(m_language));
}

void WebSurface::OpenUrl(const std::string& url) {
    dom_open_url(url.c_str());
}

void WebSurface::SetInterfaceLanguage(const std::string& tag) {
    m_language = tag;
    dom_set_language(tag.c_str());
}

void WebSurface::OnClicked(int id) {
    m_focusId = id;
    Post([this, id] {
        if (m_sink) m_sink->OnCommand(id);
    });
}

void WebSurface::OnMenuCommand(int commandId) {
    Post([this, commandId] {
        if (m_sink) m_sink->OnCommand(commandId);
    });
}

void WebSurface::OnWindowEntry(int commandId) {
    Post([this, commandId] {
        if (m_sink) m_sink->OnCommand(commandId);
    });
}

void WebSurface::OnAboutEntry() {
    Post([this] {
        if (m_sink) m_sink->OnAboutCommand();
    });
}

void WebSurface::OnInput(int id) {
    if (m_sink && m_controls.count(id)) m_sink->OnEditChange(id);
}

void WebSurface::OnCloseRequest() {
    Post([this] {
        if (m_sink && !m_ended) m_sink->OnCancel();
    });
}

bool WebSurface::OnKey(bool press, uint8_t vk, bool autoRepeat, bool typesText,
                       const std::string& shortcut) {
    KeyEvent ev;
    ev.vk = EitherSideOf(vk);
    ev.autoRepeat = autoRepeat;
    ev.focusId = m_focusId;
    if (!press) {
        if (vk != 0) m_keys.Release(vk);
        ev.type = KeyEvent::Type::Release;
        return m_sink && m_sink->PreTranslateMessage(ev);
    }
    // The repeat of a press the dialog has acted on reaches no one.
    if (vk != 0 && !m_keys.Press(vk, autoRepeat)) return true;
    if (!m_sink) return false;
    if (const WindowEntry* entry = EntryWithShortcut(m_windowEntries, shortcut)) {
        ev.type = KeyEvent::Type::Shortcut;
        if (!m_sink->PreTranslateMessage(ev)) {
            OnWindowEntry(entry->commandId);
            return true;
        }
    }
    ev.type = KeyEvent::Type::Press;
    if (m_sink->PreTranslateMessage(ev)) return true;
    if (!typesText) return false;
    ev.type = KeyEvent::Type::Char;
    return m_sink->PreTranslateMessage(ev);
}

}  // namespace tk
