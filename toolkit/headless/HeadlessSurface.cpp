#include "toolkit/headless/HeadlessSurface.h"

#include <stdexcept>

#include "toolkit/AccessibleNames.h"
#include "toolkit/ControlAt.h"
#include "toolkit/KeyCodes.h"

namespace tk {
namespace {

// Byte length of the UTF-8 character starting at s[i].
size_t CharLen(const std::string& s, size_t i) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    size_t n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return i + n > s.size() ? s.size() - i : n;
}

// Byte offset of the start of the character before offset i.
size_t PrevCharStart(const std::string& s, size_t i) {
    if (i == 0) return 0;
    size_t j = i - 1;
    while (j > 0 && (static_cast<unsigned char>(s[j]) & 0xC0) == 0x80) --j;
    return j;
}

}  // namespace

HeadlessSurface::HeadlessSurface(const DialogSpec& def)
    : m_title(def.title), m_menu(def.menu), m_language(def.language) {
    for (const ControlSpec& s : def.controls) {
        Control c;
        c.def = s;
        c.text = s.caption;
        c.visible = s.shown;
        c.enabled = !s.disabled;
        m_controls[s.id] = c;
        m_order.push_back(s.id);
    }
}

HeadlessSurface::Control& HeadlessSurface::At(int id) {
    return ControlAt(m_controls, id);
}

const HeadlessSurface::Control& HeadlessSurface::At(int id) const {
    return ControlAt(m_controls, id);
}

bool HeadlessSurface::IsEdit(const Control& c) const {
    return c.def.kind == ControlKind::Edit || c.def.kind == ControlKind::MultiLineEdit;
}

void HeadlessSurface::ChangeText(Control& c, const std::string& text) {
    c.text = text;
    if (c.caret > static_cast<int>(c.text.size())) c.caret = static_cast<int>(c.text.size());
    if (IsEdit(c) && m_sink) m_sink->OnEditChange(c.def.id);
}

void HeadlessSurface::SetText(int id, const std::string& text) {
    Control& c = At(id);
    c.caret = 0;  // a new text puts the caret at its start, as the platform's edits do
    ChangeText(c, text);
}

std::string HeadlessSurface::GetText(int id) const {
    return At(id).text;
}

void HeadlessSurface::AppendText(int id, const std::string& text) {
    Control& c = At(id);
    ChangeText(c, c.text + text);
}

void HeadlessSurface::MoveCaretToEnd(int id) {
    Control& c = At(id);
    c.caret = static_cast<int>(c.text.size());
}

bool HeadlessSurface::IsChecked(int id) const {
    return At(id).checked;
}
void HeadlessSurface::SetChecked(int id, bool checked) {
    At(id).checked = checked;
}
bool HeadlessSurface::IsEnabled(int id) const {
    return At(id).enabled;
}
void HeadlessSurface::SetEnabled(int id, bool enabled) {
    At(id).enabled = enabled;
}
bool HeadlessSurface::IsVisible(int id) const {
    return At(id).visible;
}
void HeadlessSurface::SetVisible(int id, bool visible) {
    At(id).visible = visible;
}

void HeadlessSurface::SetAccessibleName(int id, const std::string& name) {
    At(id).assignedName = name;
}

std::string HeadlessSurface::AccessibleName(int id) const {
    const Control& c = At(id);
    const std::string caption = IsEdit(c) ? std::string() : c.text;
    return AccessibleNameOf(c.def, caption, c.assignedName, [this](int other) {
        auto it = m_controls.find(other);
        return it == m_controls.end() ? std::string() : it->second.text;
    });
}

std::string HeadlessSurface::AccessibleDescription(int id) const {
    const Control& c = At(id);
    return AccessibleDescriptionOf(c.def, c.text, c.assignedName);
}

void HeadlessSurface::Deliver(std::function<void()> operation) {
    if (m_depth > 0) {
        m_waiting.push_back(std::move(operation));
        return;
    }
    ++m_depth;
    operation();
    while (!m_waiting.empty()) {
        std::function<void()> next = std::move(m_waiting.front());
        m_waiting.pop_front();
        next();
    }
    --m_depth;
}

void HeadlessSurface::SetFocus(int id) {
    Control& c = At(id);
    if (m_focus == id) return;
    m_focus = id;
    if (IsEdit(c) && m_sink) m_sink->OnEditFocus(id);
}

MsgBoxResult HeadlessSurface::MessageBox(const std::string& text, const std::string& caption,
                                         MsgBoxButtons buttons) {
    MsgBoxResult answer = buttons == MsgBoxButtons::Ok ? MsgBoxResult::Ok : MsgBoxResult::No;
    std::function<void()> whileOpen;
    if (!m_answers.empty()) {
        answer = m_answers.front().result;
        whileOpen = std::move(m_answers.front().whileOpen);
        m_answers.pop_front();
    }
    m_boxes.push_back({text, caption, buttons, answer});
    if (whileOpen) {
        ++m_boxDepth;
        whileOpen();
        --m_boxDepth;
    }
    return answer;
}

std::string HeadlessSurface::AskFileName(const FileDialogRequest& request) {
    m_fileDialogs.push_back(request);
    if (m_fileNames.empty()) return "";
    std::string name = m_fileNames.front();
    m_fileNames.pop_front();
    return name;
}

namespace {

// The command entry among entries and their submenus; nullptr when it is
// missing or it or its submenu is greyed.
const WindowEntry* EnabledEntry(const std::vector<WindowEntry>& entries, int commandId) {
    for (const WindowEntry& e : entries) {
        if (!e.submenu.empty()) {
            if (const WindowEntry* inner = EnabledEntry(e.submenu, commandId))
                return e.enabled ? inner : nullptr;
        } else if (e.commandId == commandId) {
            return e.enabled ? &e : nullptr;
        }
    }
    return nullptr;
}

}  // namespace

bool HeadlessSurface::ChooseWindowEntry(int commandId) {
    if (commandId == 0 || !EnabledEntry(m_windowEntries, commandId)) return false;
    if (m_sink) m_sink->OnCommand(commandId);
    return true;
}

void HeadlessSurface::StartTimer(int timerId, int periodMs) {
    m_timers[timerId] = periodMs;
}

int HeadlessSurface::TimerPeriod(int timerId) const {
    auto it = m_timers.find(timerId);
    return it == m_timers.end() ? 0 : it->second;
}

void HeadlessSurface::EndDialog(int result) {
    m_ended = true;
    m_endResult = result;
}

ControlKind HeadlessSurface::KindOf(int id) const {
    return At(id).def.kind;
}
int HeadlessSurface::CaretOf(int id) const {
    return At(id).caret;
}

bool HeadlessSurface::Click(int id) {
    Control& c = At(id);
    if (!c.visible || !c.enabled) return false;
    switch (c.def.kind) {
        case ControlKind::CheckBox:
            c.checked = !c.checked;
            break;
        case ControlKind::RadioButton:
            for (auto& [otherId, other] : m_controls)
                if (other.def.radioGroup == c.def.radioGroup) other.checked = false;
            c.checked = true;
            break;
        case ControlKind::PushButton:
            break;
        default:
            return false;
    }
    m_focus = id;
    Deliver([this, id] {
        if (m_sink) m_sink->OnCommand(id);
    });
    return true;
}

const MenuItem* HeadlessSurface::FindMenuItem(int commandId) const {
    for (const MenuItem& item : m_menu.items) {
        if (item.commandId == commandId) return &item;
        for (const MenuItem& sub : item.popup)
            if (sub.commandId == commandId) return &sub;
    }
    return nullptr;
}

bool HeadlessSurface::ChooseMenu(int commandId) {
    const MenuItem* item = FindMenuItem(commandId);
    if (!item || !item->enabled) return false;
    Deliver([this, commandId] {
        if (m_sink) m_sink->OnCommand(commandId);
    });
    return true;
}

bool HeadlessSurface::ClickInto(int id, int caret) {
    Control& c = At(id);
    if (!c.visible || !c.enabled || !IsEdit(c)) return false;
    SetFocus(id);
    Control& again = At(id);
    again.caret = caret < 0 || caret > static_cast<int>(again.text.size())
                      ? static_cast<int>(again.text.size())
                      : caret;
    return true;
}

void HeadlessSurface::Type(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const size_t n = CharLen(text, i);
        const std::string ch = text.substr(i, n);
        i += n;
        KeyEvent ev;
        ev.type = KeyEvent::Type::Char;
        ev.focusId = m_focus;
        if (m_sink && m_sink->PreTranslateMessage(ev)) continue;
        auto it = m_controls.find(m_focus);
        if (it == m_controls.end() || !IsEdit(it->second)) continue;
        Control& c = it->second;
        const size_t at = static_cast<size_t>(c.caret);
        std::string next = c.text;
        next.insert(at, ch);
        c.caret = static_cast<int>(at + ch.size());
        ChangeText(c, next);
    }
}

void HeadlessSurface::HoldKey(uint8_t vk) {
    DeliverKey(vk, false);
}

void HeadlessSurface::RepeatKey(uint8_t vk) {
    DeliverKey(vk, true);
}

void HeadlessSurface::DeliverKey(uint8_t vk, bool autoRepeat) {
    if (!m_keys.Press(vk, autoRepeat)) return;
    KeyEvent ev;
    ev.type = KeyEvent::Type::Press;
    ev.vk = vk;
    ev.autoRepeat = autoRepeat;
    ev.focusId = m_focus;
    const bool consumed = m_sink && m_sink->PreTranslateMessage(ev);
    // The key goes to the control that had the focus when it was pressed,
    // even when the hook moved the focus meanwhile.
    if (!consumed) DefaultKeyHandling(vk, ev.focusId);
}

void HeadlessSurface::ReleaseKey(uint8_t vk) {
    m_keys.Release(vk);
    KeyEvent ev;
    ev.type = KeyEvent::Type::Release;
    ev.vk = vk;
    ev.focusId = m_focus;
    if (m_sink) m_sink->PreTranslateMessage(ev);
}

void HeadlessSurface::PressKey(uint8_t vk) {
    HoldKey(vk);
    ReleaseKey(vk);
}

void HeadlessSurface::MoveFocusToNext() {
    if (m_order.empty()) return;
    size_t start = 0;
    for (size_t i = 0; i < m_order.size(); ++i)
        if (m_order[i] == m_focus) start = i;
    for (size_t k = 1; k <= m_order.size(); ++k) {
        const Control& c = At(m_order[(start + k) % m_order.size()]);
        const bool focusable =
            c.def.kind != ControlKind::GroupBox && c.def.kind != ControlKind::StaticText;
        if (c.visible && c.enabled && focusable) {
            SetFocus(c.def.id);
            return;
        }
    }
}

void HeadlessSurface::DefaultKeyHandling(uint8_t vk, int targetId) {
    auto it = m_controls.find(targetId);
    Control* edit = it != m_controls.end() && IsEdit(it->second) ? &it->second : nullptr;
    switch (vk) {
        case VK_ESCAPE:
            if (m_sink) m_sink->OnCancel();
            return;
        case VK_TAB:
            MoveFocusToNext();
            return;
        case VK_RETURN:
            if (edit && edit->def.kind == ControlKind::MultiLineEdit) {
                std::string next = edit->text;
                next.insert(static_cast<size_t>(edit->caret), "\r\n");
                edit->caret += 2;
                ChangeText(*edit, next);
            }
            return;
        case VK_BACK:
            if (edit && edit->caret > 0) {
                const size_t from = PrevCharStart(edit->text, static_cast<size_t>(edit->caret));
                std::string next = edit->text;
                next.erase(from, static_cast<size_t>(edit->caret) - from);
                edit->caret = static_cast<int>(from);
                ChangeText(*edit, next);
            }
            return;
        case VK_DELETE:
            if (edit && edit->caret < static_cast<int>(edit->text.size())) {
                std::string next = edit->text;
                next.erase(static_cast<size_t>(edit->caret),
                           CharLen(edit->text, static_cast<size_t>(edit->caret)));
                ChangeText(*edit, next);
            }
            return;
        case VK_LEFT:
            if (edit) edit->caret = static_cast<int>(PrevCharStart(edit->text, edit->caret));
            return;
        case VK_RIGHT:
            if (edit && edit->caret < static_cast<int>(edit->text.size()))
                edit->caret += static_cast<int>(CharLen(edit->text, edit->caret));
            return;
        default:
            return;
    }
}

void HeadlessSurface::FireTimer(int timerId) {
    if (m_sink && m_timers.count(timerId)) m_sink->OnTimer(timerId);
}

void HeadlessSurface::CloseWindow() {
    Deliver([this] {
        if (m_sink) m_sink->OnCancel();
    });
}

}  // namespace tk
