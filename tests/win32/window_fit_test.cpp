// The main dialog on whatever screen, DPI and fonts the test runs with
// (scripts/test-windows.sh runs it on the display's screen, on a 1366x768
// one, and at 144 dpi on a 1920x1080 one, READER_CONFIG_TEST_DPI=144): it is laid out at the
// monitor's DPI, its window fits the work area, and a control outside the visible part scrolls into
// view when it gets the focus. Once with the template's face (or what the
// system puts in its place) and once with the fallback face.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/ControlTable.h"
#include "toolkit/win32/Win32Surface.h"

namespace {

bool Focusable(tk::ControlKind kind) {
    return kind == tk::ControlKind::Edit || kind == tk::ControlKind::MultiLineEdit ||
           kind == tk::ControlKind::PushButton || kind == tk::ControlKind::CheckBox ||
           kind == tk::ControlKind::RadioButton;
}

TEST(Win32WindowFit, TheDialogIsLaidOutAtTheMonitorsDpiFitsTheWorkAreaAndScrollsToEveryControl) {
    const tk::DialogSpec& def = app::MainDialogSpec();
    struct Case {
        const char* name;
        std::vector<std::wstring> faces;
    };
    const std::vector<Case> cases = {
        {"template face", {L"宋体", L"SimSun", L"NSimSun"}},
        {"fallback face", {L"no face of this name"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tk::Win32Surface ui(def, c.faces);
        const HWND dialog = ui.Window();
        // The monitor's DPI as the system has it set; an application that is
        // not DPI aware is told 96 instead, and stretched.
        const char* set = std::getenv("READER_CONFIG_TEST_DPI");
        const int dpi = set ? std::atoi(set) : 96;
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi);
        ReleaseDC(nullptr, screen);
        // The dialog's font at the monitor's DPI: 9 points.
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(font.lfHeight, -MulDiv(9, dpi, 72));

        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& work = monitor.rcWork;
        RECT window, client;
        GetWindowRect(dialog, &window);
        GetClientRect(dialog, &client);
        EXPECT_GE(window.left, work.left);
        EXPECT_GE(window.top, work.top);
        EXPECT_LE(window.right, work.right);
        EXPECT_LE(window.bottom, work.bottom);
        RECT full{0, 0, def.size.width, def.size.height};
        MapDialogRect(dialog, &full);
        std::printf("%s, %d dpi, %s: client area %ld x %ld, window %ld x %ld on %ld x %ld\n",
                    c.name, dpi, tk::win32::Utf8(font.lfFaceName).c_str(), full.right, full.bottom,
                    window.right - window.left, window.bottom - window.top, work.right - work.left,
                    work.bottom - work.top);
        // What does not fit scrolls, over the whole client area.
        for (int bar : {SB_HORZ, SB_VERT}) {
            const long whole = bar == SB_VERT ? full.bottom : full.right;
            const long shown = bar == SB_VERT ? client.bottom : client.right;
            const DWORD style = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
            const bool scrolls = (GetWindowLongW(dialog, GWL_STYLE) & style) != 0;
            EXPECT_EQ(scrolls, shown < whole) << "bar " << bar;
            if (!scrolls) {
                EXPECT_EQ(shown, whole);
                continue;
            }
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_PAGE;
            GetScrollInfo(dialog, bar, &info);
            EXPECT_EQ(info.nMax + 1, whole);
            EXPECT_EQ(static_cast<long>(info.nPage), shown);
        }
        // The focus brings every control into view, as far as it fits.
        for (const tk::ControlSpec& control : def.controls) {
            if (!control.shown || control.disabled || !Focusable(control.kind)) continue;
            SCOPED_TRACE(control.id);
            ui.SetFocus(control.id);
            RECT r;
            GetWindowRect(GetDlgItem(dialog, control.id), &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_GE(r.top, 0);
            EXPECT_GE(r.left, 0);
            if (r.bottom - r.top <= client.bottom) {
                EXPECT_LE(r.bottom, client.bottom);
            }
            if (r.right - r.left <= client.right) {
                EXPECT_LE(r.right, client.right);
            }
        }
    }
}

}  // namespace
