#include "toolkit/win32/Win32Surface.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstdlib>
#include <stdexcept>

#include "toolkit/ControlAt.h"
#include "toolkit/DepthGuard.h"
#include "toolkit/LineBreaks.h"
#include "toolkit/win32/DialogTemplate.h"

namespace tk {
namespace {

using win32::Utf8;
using win32::Wide;

// The About command of the system menu, as the dialog toolkit numbers it.
constexpr UINT IDM_ABOUTBOX = 0x0010;
constexpr int ABOUT_NAME_ID = 1072;
constexpr int ABOUT_NOTICE_ID = 1073;
constexpr int APP_ICON_ID = 128;
// System menu commands are multiples of 16: the window entries get 0x20, 0x30, ...
constexpr UINT IDM_FIRST_WINDOW_ENTRY = 0x0020;
constexpr UINT IDM_ENTRY_STEP = 0x0010;
constexpr UINT IDM_LAST_WINDOW_ENTRY = 0xF000;  // the system's own commands start here
constexpr UINT WM_REFIT = WM_APP + 1;

// "Ctrl+S" as an accelerator; false for a shortcut it cannot express.
bool ParseShortcut(const std::string& text, ACCEL* out) {
    const std::string prefix = "Ctrl+";
    if (text.size() != prefix.size() + 1 || text.compare(0, prefix.size(), prefix) != 0)
        return false;
    const char key = text.back();
    if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) return false;
    out->fVirt = FVIRTKEY | FCONTROL;
    out->key = static_cast<WORD>(key);
    return true;
}

bool IsEditKind(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::MultiLineEdit;
}

}  // namespace

// Captions and menu texts as the controls draw them: a tab, which buttons and
// the menu bar do not expand (a top-level menu item whose text starts with
// one shows nothing), becomes two spaces, and "&" stays a character instead
// of marking a mnemonic.
std::string DisplayText(const std::string& text, ControlKind kind) {
    const bool mnemonics = kind != ControlKind::StaticText && !IsEditKind(kind);
    std::string out;
    for (char ch : text) {
        if (ch == '\t')
            out += "  ";
        else if (ch == '&' && mnemonics)
            out += "&&";
        else
            out += ch;
    }
    return out;
}

namespace {

std::wstring TemplateFace(const std::vector<std::wstring>& preferred) {
    std::vector<std::wstring> faces = preferred;
    // Where the dialog's own face is missing (Wine without Windows fonts),
    // a CJK face the system does have, then the dialog default.
    for (const wchar_t* f :
         {L"Microsoft YaHei", L"Noto Sans CJK SC", L"WenQuanYi Zen Hei", L"MS Shell Dlg"})
        faces.emplace_back(f);
    return win32::FirstInstalledFace(faces);
}

std::string WindowText(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), n + 1);
    return Utf8(text.data(), static_cast<size_t>(got > 0 ? got : 0));
}

HMENU BuildPopup(const MenuItem& item) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItem& sub : item.popup)
        AppendMenuW(popup, MF_STRING | (sub.enabled ? 0 : MF_GRAYED),
                    static_cast<UINT_PTR>(sub.commandId),
                    Wide(DisplayText(sub.text, ControlKind::PushButton)).c_str());
    return popup;
}

void AppendItem(HMENU bar, const MenuItem& item) {
    if (item.commandId == 0) {
        AppendMenuW(bar, MF_POPUP | (item.enabled ? 0 : MF_GRAYED),
                    reinterpret_cast<UINT_PTR>(BuildPopup(item)),
                    Wide(DisplayText(item.text, ControlKind::PushButton)).c_str());
    } else {
        AppendMenuW(bar, MF_STRING | (item.enabled ? 0 : MF_GRAYED),
                    static_cast<UINT_PTR>(item.commandId),
                    Wide(DisplayText(item.text, ControlKind::PushButton)).c_str());
    }
}

// The About box: template 100's texts, in 楷体 14 points where present.
struct AboutState {
    const AboutTexts* texts;
    HICON icon;
};

INT_PTR CALLBACK AboutProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG: {
            const auto* state = reinterpret_cast<const AboutState*>(lp);
            SetWindowTextW(hwnd, Wide(state->texts->title).c_str());
            SetDlgItemTextW(hwnd, IDOK, Wide(state->texts->okButton).c_str());
            SetDlgItemTextW(hwnd, ABOUT_NAME_ID, Wide(state->texts->line1).c_str());
            SetDlgItemTextW(hwnd, ABOUT_NOTICE_ID, Wide(state->texts->line2).c_str());
            if (state->icon)
                SendDlgItemMessageW(hwnd, APP_ICON_ID, STM_SETICON,
                                    reinterpret_cast<WPARAM>(state->icon), 0);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
                ::EndDialog(hwnd, LOWORD(wp));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

// Dialog code runs inside; device changes that arrive meanwhile wait for
// the outermost scope to end.
class Win32Surface::BusyScope {
  public:
    explicit BusyScope(Win32Surface& s) : m_s(s) { ++m_s.m_busy; }
    ~BusyScope() {
        if (--m_s.m_busy == 0) m_s.RunWaiting();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    Win32Surface& m_s;
};

Win32Surface::Win32Surface(const DialogSpec& def, const std::vector<std::wstring>& faces)
    : m_size(def.size) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(APP_ICON_ID), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));

    win32::TemplateHeader header;
    header.style =
        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER | DS_3DLOOK;
    header.title = Wide(def.title);
    header.size = def.size;
    header.fontFace = TemplateFace(faces);
    header.pointSize = 9;
    std::vector<win32::TemplateItem> items;
    for (const ControlSpec& c : def.controls) items.push_back(win32::ItemFor(c));
    const std::vector<uint32_t> bytes = win32::BuildDialogTemplate(header, items);

    for (const ControlSpec& c : def.controls) {
        m_controls[c.id].def = c;
        m_hasDefaultButton = m_hasDefaultButton || c.isDefault;
    }
    SetInterfaceLanguage(def.language);
    m_hwnd = CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                        nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
    if (!m_hwnd) throw std::runtime_error("cannot create the dialog window");
    for (auto& [id, c] : m_controls) {
        c.hwnd = GetDlgItem(m_hwnd, id);
        c.caption = c.def.caption;
        if (c.def.backgroundColour) {
            const Rgb& b = *c.def.backgroundColour;
            c.background = CreateSolidBrush(RGB(b.r, b.g, b.b));
        }
        // The output pane grows without the edit's default limit.
        if (c.def.kind == ControlKind::MultiLineEdit) SendMessageW(c.hwnd, EM_SETLIMITTEXT, 0, 0);
    }
    if (m_icon) {
        SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
        SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    }
    SetMenuBar(def.menu);
}

Win32Surface::~Win32Surface() {
    m_sink = nullptr;
    if (m_hwnd) DestroyWindow(m_hwnd);
    for (auto& [id, c] : m_controls)
        if (c.background) DeleteObject(c.background);
    if (m_icon) DestroyIcon(m_icon);
}

Win32Surface::Control& Win32Surface::At(int id) {
    return ControlAt(m_controls, id);
}

const Win32Surface::Control& Win32Surface::At(int id) const {
    return ControlAt(m_controls, id);
}

void Win32Surface::Post(std::function<void()> notification) {
    if (m_busy > 0) {
        m_waiting.push_back(std::move(notification));
        return;
    }
    BusyScope busy(*this);
    // The window shows that it is busy while the operation blocks it.
    ++m_operations;
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    notification();
    --m_operations;
    SetCursor(previous);
}

void Win32Surface::Operation(const std::function<void(DialogEvents&)>& call) {
    Post([this, call] {
        if (m_sink) call(*m_sink);
    });
}

void Win32Surface::SetInterfaceLanguage(const std::string& tag) {
    m_language = tag.rfind("zh", 0) == 0 ? MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)
                                         : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

void Win32Surface::Notify(const std::function<void(DialogEvents&)>& call) {
    if (!m_sink) return;
    BusyScope busy(*this);
    call(*m_sink);
}

void Win32Surface::SetText(int id, const std::string& text) {
    Control& c = At(id);
    if (!IsEditKind(c.def.kind)) {
        c.caption = text;
        SetWindowTextW(c.hwnd, Wide(DisplayText(text, c.def.kind)).c_str());
        return;
    }
    const std::string shown = c.def.kind == ControlKind::MultiLineEdit ? ToCrLf(ToLf(text)) : text;
    {
        DepthGuard quiet(m_silent);
        SetWindowTextW(c.hwnd, Wide(shown).c_str());
    }
    if (m_sink) m_sink->OnEditChange(id);
}

std::string Win32Surface::GetText(int id) const {
    const Control& c = At(id);
    return IsEditKind(c.def.kind) ? WindowText(c.hwnd) : c.caption;
}

void Win32Surface::AppendText(int id, const std::string& text) {
    Control& c = At(id);
    if (!IsEditKind(c.def.kind)) {
        SetText(id, GetText(id) + text);
        return;
    }
    const std::wstring add =
        Wide(c.def.kind == ControlKind::MultiLineEdit ? ToCrLf(ToLf(text)) : text);
    {
        DepthGuard quiet(m_silent);
        DWORD start = 0, end = 0;
        SendMessageW(c.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        const LRESULT length = GetWindowTextLengthW(c.hwnd);
        SendMessageW(c.hwnd, EM_SETSEL, static_cast<WPARAM>(length), length);
        SendMessageW(c.hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(add.c_str()));
        SendMessageW(c.hwnd, EM_SETSEL, start, end);  // the user's caret stays where it was
    }
    if (m_sink) m_sink->OnEditChange(id);
}

void Win32Surface::MoveCaretToEnd(int id) {
    Control& c = At(id);
    if (!IsEditKind(c.def.kind)) return;
    const LRESULT length = GetWindowTextLengthW(c.hwnd);
    SendMessageW(c.hwnd, EM_SETSEL, static_cast<WPARAM>(length), length);
    SendMessageW(c.hwnd, EM_SCROLLCARET, 0, 0);
}

bool Win32Surface::IsChecked(int id) const {
    const Control& c = At(id);
    if (c.def.kind != ControlKind::CheckBox && c.def.kind != ControlKind::RadioButton) return false;
    return SendMessageW(c.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Surface::SetChecked(int id, bool checked) {
    Control& c = At(id);
    if (c.def.kind != ControlKind::CheckBox && c.def.kind != ControlKind::RadioButton) return;
    SendMessageW(c.hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32Surface::IsEnabled(int id) const {
    return IsWindowEnabled(At(id).hwnd) != FALSE;
}

void Win32Surface::SetEnabled(int id, bool enabled) {
    EnableWindow(At(id).hwnd, enabled ? TRUE : FALSE);
}

bool Win32Surface::IsVisible(int id) const {
    return (GetWindowLongW(At(id).hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Surface::SetVisible(int id, bool visible) {
    ShowWindow(At(id).hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Surface::SetAccessibleName(int id, const std::string&) {
    // Win32 screen readers name a control by its caption or the static text
    // before it in the tab order; the dialog's names follow those.
    At(id);
}

void Win32Surface::MoveFocusTo(const Control& c) {
    DepthGuard quiet(m_focusQuiet);
    // The dialog manager selects the whole text of an edit it moves the focus
    // to; the dialog's caret stays where the dialog put it.
    DWORD start = 0, end = 0;
    const bool edit = IsEditKind(c.def.kind);
    if (edit)
        SendMessageW(c.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
    SendMessageW(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c.hwnd), TRUE);
    if (edit) SendMessageW(c.hwnd, EM_SETSEL, start, end);
}

void Win32Surface::SetFocus(int id) {
    Control& c = At(id);
    MoveFocusTo(c);
    ScrollIntoView(c.hwnd);
    if (m_focusId == id) return;
    m_focusId = id;
    if (IsEditKind(c.def.kind) && m_sink) m_sink->OnEditFocus(id);
}

void Win32Surface::FocusEntered(int id) {
    if (m_controls.count(id)) ScrollIntoView(At(id).hwnd);
    if (m_focusQuiet > 0 || id == m_focusId || !m_controls.count(id)) return;
    m_focusId = id;
    if (IsEditKind(At(id).def.kind)) Notify([id](DialogEvents& s) { s.OnEditFocus(id); });
}

MsgBoxResult Win32Surface::MessageBox(const std::string& text, const std::string& caption,
                                      MsgBoxButtons buttons) {
    BusyScope busy(*this);
    const UINT type = buttons == MsgBoxButtons::Ok ? MB_OK : MB_YESNO;
    ++m_boxes;
    // The buttons' texts in the interface language, where the system has it.
    const int answer = MessageBoxExW(m_hwnd, Wide(ToCrLf(ToLf(text))).c_str(),
                                     Wide(caption).c_str(), type, m_language);
    --m_boxes;
    if (m_operations > 0) SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    if (buttons == MsgBoxButtons::Ok) return MsgBoxResult::Ok;
    return answer == IDYES ? MsgBoxResult::Yes : MsgBoxResult::No;
}

void Win32Surface::SetWindowTitle(const std::string& title) {
    SetWindowTextW(m_hwnd, Wide(title).c_str());
}

std::string Win32Surface::WindowTitle() const {
    return WindowText(m_hwnd);
}

void Win32Surface::SetMenuBar(const MenuBar& bar) {
    m_menu = bar;
    HMENU menu = CreateMenu();
    for (const MenuItem& item : bar.items) AppendItem(menu, item);
    if (!m_trailing.popup.empty()) AppendItem(menu, m_trailing);
    HMENU old = m_menuHandle;
    const bool first = old == nullptr;
    SetMenu(m_hwnd, menu);
    m_menuHandle = menu;
    if (old) DestroyMenu(old);
    DrawMenuBar(m_hwnd);
    if (first) FitToWorkArea();
}

void Win32Surface::SetTrailingPopup(const MenuItem& popup, std::function<void(int)> onCommand) {
    m_trailing = popup;
    m_trailingCommand = std::move(onCommand);
    SetMenuBar(m_menu);
}

void Win32Surface::EnableTrailingCommand(int commandId, bool enabled) {
    for (MenuItem& item : m_trailing.popup)
        if (item.commandId == commandId) item.enabled = enabled;
    if (m_menuHandle)
        EnableMenuItem(m_menuHandle, static_cast<UINT>(commandId),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32Surface::AddAboutEntry(const std::string& text) {
    HMENU system = GetSystemMenu(m_hwnd, FALSE);
    if (!system || text.empty()) return;
    AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(system, MF_STRING, IDM_ABOUTBOX, Wide(text).c_str());
}

void Win32Surface::SetWindowEntries(const std::vector<WindowEntry>& entries) {
    HMENU system = GetSystemMenu(m_hwnd, FALSE);
    // The entries are the system menu's last items (a submenu goes with its item).
    for (size_t i = 0; system && i < m_windowEntryItems; ++i)
        DeleteMenu(system, static_cast<UINT>(GetMenuItemCount(system) - 1), MF_BYPOSITION);
    m_windowEntryItems = 0;
    m_windowCommands.clear();
    std::vector<ACCEL> accels;
    // Appends entries to menu; enabled: whether the submenu they are in is.
    std::function<void(HMENU, const std::vector<WindowEntry>&, bool)> append =
        [&](HMENU menu, const std::vector<WindowEntry>& list, bool enabled) {
            for (const WindowEntry& e : list) {
                const bool on = enabled && e.enabled;
                const UINT grey = e.enabled ? 0 : MF_GRAYED;
                if (!e.submenu.empty()) {
                    HMENU popup = CreatePopupMenu();
                    append(popup, e.submenu, on);
                    // All checkable: one choice, shown with a radio mark.
                    int checkedAt = -1, last = static_cast<int>(e.submenu.size()) - 1;
                    bool choice = true;
                    for (int k = 0; k <= last; ++k) {
                        choice = choice && e.submenu[static_cast<size_t>(k)].checkable;
                        if (e.submenu[static_cast<size_t>(k)].checked) checkedAt = k;
                    }
                    if (choice && checkedAt >= 0)
                        CheckMenuRadioItem(popup, 0, static_cast<UINT>(last),
                                           static_cast<UINT>(checkedAt), MF_BYPOSITION);
                    if (menu)
                        AppendMenuW(menu, MF_POPUP | grey, reinterpret_cast<UINT_PTR>(popup),
                                    Wide(DisplayText(e.text, ControlKind::PushButton)).c_str());
                    else
                        DestroyMenu(popup);
                    continue;
                }
                const UINT id = IDM_FIRST_WINDOW_ENTRY +
                                static_cast<UINT>(m_windowCommands.size()) * IDM_ENTRY_STEP;
                if (id >= IDM_LAST_WINDOW_ENTRY) continue;
                m_windowCommands.push_back({id, e.commandId, on});
                std::string text = DisplayText(e.text, ControlKind::PushButton);
                ACCEL accel{};
                if (ParseShortcut(e.shortcut, &accel)) {
                    text += "\t" + e.shortcut;
                    accel.cmd = static_cast<WORD>(e.commandId);
                    if (on) accels.push_back(accel);
                }
                const UINT check = e.checkable && e.checked ? MF_CHECKED : MF_UNCHECKED;
                if (menu) AppendMenuW(menu, MF_STRING | grey | check, id, Wide(text).c_str());
            }
        };
    const int before = system ? GetMenuItemCount(system) : 0;
    append(system, entries, true);
    if (system) m_windowEntryItems = static_cast<size_t>(GetMenuItemCount(system) - before);
    if (m_accelerators) DestroyAcceleratorTable(m_accelerators);
    m_accelerators = accels.empty()
                         ? nullptr
                         : CreateAcceleratorTableW(accels.data(), static_cast<int>(accels.size()));
}

std::string Win32Surface::AskFileName(const FileDialogRequest& request) {
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    std::wstring name = save ? Wide(request.suggestedName) : std::wstring();
    name.resize(MAX_PATH * 4, L'\0');
    // "Profiles (*.json)\0*.json\0\0"
    const std::wstring pattern = L"*." + Wide(request.extension);
    std::wstring filter = Wide(request.filterName) + L" (" + pattern + L")";
    filter += L'\0';
    filter += pattern;
    filter += L'\0';
    filter += L'\0';
    const std::wstring title = Wide(request.title), ext = Wide(request.extension);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hwnd;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = ext.c_str();
    ofn.Flags = OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn))) return "";
    return Utf8(name.c_str());
}

void Win32Surface::ShowAboutBox(const AboutTexts& texts) {
    BusyScope busy(*this);
    win32::TemplateHeader header;
    header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    header.title = Wide(texts.title);
    header.size = {0, 0, 235, 78};
    header.fontFace = TemplateFace({L"楷体", L"KaiTi", L"楷体_GB2312"});
    header.pointSize = 14;
    std::vector<win32::TemplateItem> items;
    win32::TemplateItem icon;
    icon.style = WS_CHILD | WS_VISIBLE | SS_ICON;
    icon.rect = {11, 14, 21, 20};
    icon.id = APP_ICON_ID;
    icon.classAtom = 0x0082;
    items.push_back(icon);
    for (int id : {ABOUT_NAME_ID, ABOUT_NOTICE_ID}) {
        win32::TemplateItem line;
        line.style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
        line.rect = {40, id == ABOUT_NAME_ID ? 14 : 32, 188, 16};
        line.id = id;
        line.classAtom = 0x0082;
        items.push_back(line);
    }
    win32::TemplateItem ok;
    ok.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON;
    ok.rect = {178, 56, 50, 16};
    ok.id = IDOK;
    ok.classAtom = 0x0080;
    items.push_back(ok);
    const std::vector<uint32_t> bytes = win32::BuildDialogTemplate(header, items);
    AboutState state{&texts, m_icon};
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                            reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), m_hwnd, AboutProc,
                            reinterpret_cast<LPARAM>(&state));
}

void Win32Surface::StartTimer(int timerId, int periodMs) {
    SetTimer(m_hwnd, static_cast<UINT_PTR>(timerId), static_cast<UINT>(periodMs), nullptr);
}

void Win32Surface::OpenUrl(const std::string& url) {
    ShellExecuteW(m_hwnd, L"open", Wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Surface::EndDialog(int result) {
    m_ended = true;
    m_endResult = result;
    ShowWindow(m_hwnd, SW_HIDE);
    PostMessageW(m_hwnd, WM_NULL, 0, 0);  // wakes the loop
}

int Win32Surface::RunModal() {
    if (m_ended) return m_endResult;
    {
        // Activation hands the focus to a control of its own choosing; the
        // dialog's focus is the one it set.
        DepthGuard quiet(m_focusQuiet);
        ShowWindow(m_hwnd, SW_SHOW);
        UpdateWindow(m_hwnd);
        if (m_focusId != 0) MoveFocusTo(At(m_focusId));
    }
    MSG msg;
    while (!m_ended) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the program's own loop
            break;
        }
        if (got < 0) break;
        if (m_accelerators && !ShortcutHeldBack(msg) &&
            TranslateAcceleratorW(m_hwnd, m_accelerators, &msg))
            continue;
        if (PreTranslate(msg)) continue;
        if (IsDialogMessageW(m_hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return m_endResult;
}

void Win32Surface::SyncKeysWithAsyncState() {
    // A key whose release message never came (released while another window
    // had the keyboard) is up as soon as the physical state says so.
    for (int vk = 1; vk < 256; ++vk) {
        if (!m_keys.IsDown(static_cast<uint8_t>(vk))) continue;
        if ((GetAsyncKeyState(vk) & 0x8000) == 0) m_keys.Release(static_cast<uint8_t>(vk));
    }
}

bool Win32Surface::ShortcutHeldBack(const MSG& msg) {
    // As on the other toolkits, the dialog is asked before a key may start a
    // window entry's shortcut: in a key field every key is the capture's.
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (!m_sink || (msg.hwnd != m_hwnd && !IsChild(m_hwnd, msg.hwnd))) return false;
    KeyEvent ev;
    ev.type = KeyEvent::Type::Shortcut;
    ev.vk = static_cast<uint8_t>(msg.wParam & 0xFF);
    ev.autoRepeat = (msg.lParam & (1L << 30)) != 0;
    ev.focusId = m_focusId;
    bool held = false;
    Notify([&](DialogEvents& s) { held = s.PreTranslateMessage(ev); });
    return held;
}

bool Win32Surface::PreTranslate(MSG& msg) {
    if (msg.hwnd != m_hwnd && !IsChild(m_hwnd, msg.hwnd)) return false;
    KeyEvent ev;
    const uint8_t vk = static_cast<uint8_t>(msg.wParam & 0xFF);
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            const bool repeat = (msg.lParam & (1L << 30)) != 0;
            // Auto-repeat of a key the dialog has acted on is the same press:
            // it neither reaches the hook nor does its ordinary work again.
            if (!m_keys.Press(vk, repeat)) return true;
            ev.type = KeyEvent::Type::Press;
            ev.vk = vk;
            ev.autoRepeat = repeat;
            break;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP:
            m_keys.Release(vk);
            ev.type = KeyEvent::Type::Release;
            ev.vk = vk;
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            ev.type = KeyEvent::Type::Char;
            break;
        default:
            SyncKeysWithAsyncState();
            break;
    }
    ev.focusId = m_focusId;
    if (m_sink) {
        bool consumed = false;
        Notify([&](DialogEvents& s) { consumed = s.PreTranslateMessage(ev); });
        if (consumed) return true;
    }
    // Enter presses no default button and sends no IDOK: only the output
    // pane, which accepts Enter, gets it.
    const bool enter = (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) ||
                       (msg.message == WM_CHAR && msg.wParam == L'\r');
    if (enter) {
        const int target = GetDlgCtrlID(msg.hwnd);
        auto it = m_controls.find(target);
        const bool pane = msg.hwnd != m_hwnd && it != m_controls.end() &&
                          it->second.def.kind == ControlKind::MultiLineEdit;
        if (!pane && !m_hasDefaultButton) return true;
    }
    return false;
}

void Win32Surface::RunWaiting() {
    while (!m_waiting.empty() && m_busy == 0) {
        std::function<void()> next = std::move(m_waiting.front());
        m_waiting.pop_front();
        Post(std::move(next));
    }
}

INT_PTR CALLBACK Win32Surface::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lp);
        reinterpret_cast<Win32Surface*>(lp)->m_hwnd = hwnd;
        return FALSE;  // the dialog sets the focus itself
    }
    auto* self = reinterpret_cast<Win32Surface*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->OnMessage(msg, wp, lp) : FALSE;
}

INT_PTR Win32Surface::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            OnCommandMessage(wp, lp);
            return TRUE;
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == IDM_ABOUTBOX) {
                Operation([](DialogEvents& s) { s.OnAboutCommand(); });
                return TRUE;
            }
            return WindowEntryCommand(static_cast<UINT>(wp & 0xFFF0)) ? TRUE : FALSE;
        case WM_CLOSE:  // close box, Alt+F4
            Operation([](DialogEvents& s) { s.OnCancel(); });
            return TRUE;
        case WM_TIMER:
            Notify([wp](DialogEvents& s) { s.OnTimer(static_cast<int>(wp)); });
            return TRUE;
        case WM_DEVICECHANGE:
            if (m_deviceChange) {
                // The event's data lives only during the message; nobody reads it.
                const auto event = static_cast<uint32_t>(wp);
                Post([this, event] {
                    if (m_deviceChange) m_deviceChange(event, 0);
                });
            }
            SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_ACTIVATE:
            // Key releases while another window has the keyboard never come here.
            if (LOWORD(wp) == WA_INACTIVE) m_keys.Clear();
            return FALSE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            return OnControlColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_PAINT:
            if (!IsIconic(m_hwnd)) return FALSE;
            PaintMinimised();
            return TRUE;
        case WM_SETCURSOR:
            if (m_operations == 0 || m_boxes > 0) return FALSE;
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(m_icon);
        case WM_VSCROLL:
        case WM_HSCROLL:
            OnScroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, wp);
            return TRUE;
        case WM_MOUSEWHEEL: {
            const int notches = GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA;
            for (int i = 0; i < std::abs(notches) * 3; ++i)
                OnScroll(SB_VERT, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
            return TRUE;
        }
        case WM_DPICHANGED:
            // The dialog manager lays the dialog out anew at the new DPI
            // (per-monitor awareness v2); the fit follows once it has.
            ScrollTo(0, 0);
            PostMessageW(m_hwnd, WM_REFIT, 0, 0);
            return FALSE;
        case WM_REFIT:
            FitToWorkArea();
            return TRUE;
        default:
            return FALSE;
    }
}

bool Win32Surface::WindowEntryCommand(UINT systemId) {
    for (const WindowCommand& c : m_windowCommands) {
        if (c.systemId != systemId) continue;
        const int id = c.commandId;
        if (c.enabled) Notify([id](DialogEvents& s) { s.OnCommand(id); });
        return true;
    }
    return false;
}

void Win32Surface::OnCommandMessage(WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    const int code = HIWORD(wp);
    if (lp == 0) {  // a menu command (code 0) or an accelerator (1)
        // The items of a submenu of the system menu come as WM_COMMAND, not
        // as WM_SYSCOMMAND like the system menu's own items.
        if (code == 0 && WindowEntryCommand(static_cast<UINT>(id))) return;
        if (m_trailingCommand) {
            for (const MenuItem& item : m_trailing.popup) {
                if (item.commandId == id) {
                    Post([this, id] { m_trailingCommand(id); });
                    return;
                }
            }
        }
        if (id == IDCANCEL) {
            Operation([](DialogEvents& s) { s.OnCancel(); });
            return;
        }
        if (id == IDOK) return;  // Enter never ends the tool
        Operation([id](DialogEvents& s) { s.OnCommand(id); });
        return;
    }
    if (id == IDCANCEL && code == BN_CLICKED) {  // Esc, through the dialog manager
        Operation([](DialogEvents& s) { s.OnCancel(); });
        return;
    }
    if (id == IDOK) return;
    auto it = m_controls.find(id);
    if (it == m_controls.end()) return;
    Control& c = it->second;
    switch (code) {
        case BN_CLICKED:
            if (c.def.kind == ControlKind::RadioButton) {
                if (c.def.radioGroup != 0)
                    for (auto& [otherId, other] : m_controls)
                        if (otherId != id && other.def.kind == ControlKind::RadioButton &&
                            other.def.radioGroup == c.def.radioGroup)
                            SendMessageW(other.hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
                SendMessageW(c.hwnd, BM_SETCHECK, BST_CHECKED, 0);
            }
            if (c.def.kind == ControlKind::PushButton || c.def.kind == ControlKind::CheckBox ||
                c.def.kind == ControlKind::RadioButton)
                Operation([id](DialogEvents& s) { s.OnCommand(id); });
            return;
        case BN_SETFOCUS:
        case EN_SETFOCUS:
            FocusEntered(id);
            return;
        case EN_CHANGE:
            if (m_silent == 0) Notify([id](DialogEvents& s) { s.OnEditChange(id); });
            return;
        default:
            return;
    }
}

INT_PTR Win32Surface::OnControlColour(HDC dc, HWND control) {
    auto it = m_controls.find(GetDlgCtrlID(control));
    if (it == m_controls.end()) return FALSE;
    const Control& c = it->second;
    if (!c.def.textColour && !c.def.backgroundColour) return FALSE;
    if (c.def.textColour) {
        const Rgb& t = *c.def.textColour;
        SetTextColor(dc, RGB(t.r, t.g, t.b));
    }
    if (c.background) {
        const Rgb& b = *c.def.backgroundColour;
        SetBkColor(dc, RGB(b.r, b.g, b.b));
        return reinterpret_cast<INT_PTR>(c.background);
    }
    // No background of its own: the dialog's shows through.
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

void Win32Surface::PaintMinimised() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hwnd, &ps);
    SendMessageW(m_hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT rect;
    GetClientRect(m_hwnd, &rect);
    const int x = (rect.right - rect.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.bottom - rect.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    if (m_icon) DrawIcon(dc, x, y, m_icon);
    EndPaint(m_hwnd, &ps);
}

}  // namespace tk
