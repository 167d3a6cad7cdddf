#pragma once
// In-memory dialog templates (DLGTEMPLATE with DS_SETFONT), built from the
// control table, so that the dialog manager lays the controls out in dialog
// units of the template's font exactly as a resource template would.

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/ControlSpec.h"

namespace tk::win32 {

struct TemplateItem {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    DlgRect rect;
    int id = 0;
    uint16_t classAtom = 0;  // 0x80 button, 0x81 edit, 0x82 static
    std::wstring text;
};

struct TemplateHeader {
    uint32_t style = 0;
    std::wstring title;
    DlgRect size;
    std::wstring fontFace;
    int pointSize = 9;
};

// The template bytes, DWORD-aligned as the dialog manager needs them.
std::vector<uint32_t> BuildDialogTemplate(const TemplateHeader& header,
                                          const std::vector<TemplateItem>& items);

// One template item for a control of the table: its class and styles.
TemplateItem ItemFor(const ControlSpec& def);

// The first of faces the system has installed, or the last one.
std::wstring FirstInstalledFace(const std::vector<std::wstring>& faces);

}  // namespace tk::win32
