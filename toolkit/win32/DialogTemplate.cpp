#include "toolkit/win32/DialogTemplate.h"

#include <cstring>

#include "toolkit/win32/Win32Api.h"
#include "toolkit/win32/Win32Surface.h"

namespace tk::win32 {
namespace {

constexpr uint16_t BUTTON_ATOM = 0x0080;
constexpr uint16_t EDIT_ATOM = 0x0081;
constexpr uint16_t STATIC_ATOM = 0x0082;

class Writer {
  public:
    void Word(uint16_t w) {
        m_bytes.push_back(static_cast<uint8_t>(w & 0xFF)),
            m_bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    void Dword(uint32_t d) {
        Word(static_cast<uint16_t>(d & 0xFFFF));
        Word(static_cast<uint16_t>(d >> 16));
    }
    void Short(int v) { Word(static_cast<uint16_t>(static_cast<int16_t>(v))); }
    void String(const std::wstring& s) {
        for (wchar_t c : s) Word(static_cast<uint16_t>(c));
        Word(0);
    }
    void AlignDword() {
        while (m_bytes.size() % 4 != 0) m_bytes.push_back(0);
    }
    std::vector<uint32_t> Take() {
        AlignDword();
        std::vector<uint32_t> out(m_bytes.size() / 4);
        std::memcpy(out.data(), m_bytes.data(), m_bytes.size());
        return out;
    }

  private:
    std::vector<uint8_t> m_bytes;
};

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

}  // namespace

std::vector<uint32_t> BuildDialogTemplate(const TemplateHeader& header,
                                          const std::vector<TemplateItem>& items) {
    Writer w;
    w.Dword(header.style | DS_SETFONT);
    w.Dword(0);  // extended style
    w.Word(static_cast<uint16_t>(items.size()));
    w.Short(header.size.x);
    w.Short(header.size.y);
    w.Short(header.size.width);
    w.Short(header.size.height);
    w.Word(0);  // no menu: the toolkit installs the menu bar itself
    w.Word(0);  // the standard dialog class
    w.String(header.title);
    w.Word(static_cast<uint16_t>(header.pointSize));
    w.String(header.fontFace);
    for (const TemplateItem& item : items) {
        w.AlignDword();
        w.Dword(item.style);
        w.Dword(item.exStyle);
        w.Short(item.rect.x);
        w.Short(item.rect.y);
        w.Short(item.rect.width);
        w.Short(item.rect.height);
        w.Word(static_cast<uint16_t>(item.id));
        w.Word(0xFFFF);
        w.Word(item.classAtom);
        w.String(item.text);
        w.Word(0);  // no creation data
    }
    return w.Take();
}

TemplateItem ItemFor(const ControlSpec& def) {
    TemplateItem item;
    item.id = def.id;
    item.rect = def.rect;
    item.text = Wide(DisplayText(def.caption, def.kind));
    // Every control is its own group: the arrow keys never move the focus
    // onto a radio button, which would click it.
    item.style = WS_CHILD | WS_GROUP;
    if (def.shown) item.style |= WS_VISIBLE;
    if (def.disabled) item.style |= WS_DISABLED;
    switch (def.kind) {
        case ControlKind::PushButton:
            item.classAtom = BUTTON_ATOM;
            item.style |=
                WS_TABSTOP | BS_NOTIFY | (def.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ControlKind::CheckBox:
            item.classAtom = BUTTON_ATOM;
            item.style |= WS_TABSTOP | BS_NOTIFY | BS_AUTOCHECKBOX;
            break;
        case ControlKind::RadioButton:
            // The toolkit checks radio buttons itself, by the table's groups,
            // which need not be neighbours in the tab order.
            item.classAtom = BUTTON_ATOM;
            item.style |= WS_TABSTOP | BS_NOTIFY | BS_RADIOBUTTON;
            break;
        case ControlKind::GroupBox:
            item.classAtom = BUTTON_ATOM;
            item.style |= BS_GROUPBOX;
            break;
        case ControlKind::StaticText:
            item.classAtom = STATIC_ATOM;
            item.style |= (def.centred ? SS_CENTER : SS_LEFT) | SS_NOPREFIX;
            break;
        case ControlKind::Edit:
            item.classAtom = EDIT_ATOM;
            item.style |= WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
            item.text = Wide(def.caption);
            break;
        case ControlKind::MultiLineEdit:
            item.classAtom = EDIT_ATOM;
            item.style |=
                WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            break;
    }
    return item;
}

std::wstring FirstInstalledFace(const std::vector<std::wstring>& faces) {
    HDC dc = GetDC(nullptr);
    for (const std::wstring& face : faces) {
        LOGFONTW lf{};
        lf.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        bool found = false;
        EnumFontFamiliesExW(dc, &lf, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
        if (found) {
            ReleaseDC(nullptr, dc);
            return face;
        }
    }
    ReleaseDC(nullptr, dc);
    return faces.empty() ? std::wstring() : faces.back();
}

}  // namespace tk::win32
