// The dialog's window on a small work area: the window takes the work area
// and its client area scrolls, so every control stays reachable, by scroll
// bar, wheel, or the focus moving to a control out of view.

#include <algorithm>

#include "toolkit/win32/Win32Surface.h"

namespace tk {

void Win32Surface::FitToWorkArea() {
    ScrollTo(0, 0);
    // The template's size is the client area; the menu bar comes on top.
    RECT client{0, 0, m_size.width, m_size.height};
    MapDialogRect(m_hwnd, &client);
    m_full = {client.right, client.bottom};
    const auto style = static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_EXSTYLE));
    RECT frame = client;
    AdjustWindowRectEx(&frame, style & ~(WS_VSCROLL | WS_HSCROLL), TRUE, exStyle);
    const long fullWidth = frame.right - frame.left, fullHeight = frame.bottom - frame.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const long roomWidth = work.right - work.left, roomHeight = work.bottom - work.top;
    // A scroll bar in one direction takes room from the other.
    const long bar = GetSystemMetrics(SM_CXVSCROLL), barHeight = GetSystemMetrics(SM_CYHSCROLL);
    bool vertical = false, horizontal = false;
    for (int pass = 0; pass < 2; ++pass) {
        vertical = fullHeight + (horizontal ? barHeight : 0) > roomHeight;
        horizontal = fullWidth + (vertical ? bar : 0) > roomWidth;
    }
    const long width = std::min(fullWidth + (vertical ? bar : 0), roomWidth);
    const long height = std::min(fullHeight + (horizontal ? barHeight : 0), roomHeight);
    ShowScrollBar(m_hwnd, SB_VERT, vertical);
    ShowScrollBar(m_hwnd, SB_HORZ, horizontal);
    SetWindowPos(m_hwnd, nullptr, work.left + (roomWidth - width) / 2,
                 work.top + (roomHeight - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    UpdateScrollBars();
}

void Win32Surface::UpdateScrollBars() {
    RECT client;
    GetClientRect(m_hwnd, &client);
    for (int which : {SB_HORZ, SB_VERT}) {
        const bool v = which == SB_VERT;
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = static_cast<int>(v ? m_full.cy : m_full.cx) - 1;
        info.nPage = static_cast<UINT>(v ? client.bottom : client.right);
        info.nPos = static_cast<int>(v ? m_scroll.y : m_scroll.x);
        if (info.nMax < static_cast<int>(info.nPage)) info.nMax = 0, info.nPage = 0;
        SetScrollInfo(m_hwnd, which, &info, TRUE);
    }
    ScrollTo(m_scroll.x, m_scroll.y);  // a larger page may leave less to scroll
}

void Win32Surface::ScrollTo(long x, long y) {
    RECT client;
    GetClientRect(m_hwnd, &client);
    x = std::clamp(x, 0L, std::max(0L, m_full.cx - client.right));
    y = std::clamp(y, 0L, std::max(0L, m_full.cy - client.bottom));
    if (x == m_scroll.x && y == m_scroll.y) return;
    // The controls move themselves: ScrollWindowEx leaves them where they are
    // while the window is hidden.
    const long dx = m_scroll.x - x, dy = m_scroll.y - y;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(m_controls.size()));
    for (const auto& [id, c] : m_controls) {
        RECT r;
        GetWindowRect(c.hwnd, &r);
        MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&r), 2);
        if (moves)
            moves = DeferWindowPos(moves, c.hwnd, nullptr, static_cast<int>(r.left + dx),
                                   static_cast<int>(r.top + dy), 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves) EndDeferWindowPos(moves);
    InvalidateRect(m_hwnd, nullptr, TRUE);
    m_scroll = {x, y};
    SetScrollPos(m_hwnd, SB_HORZ, static_cast<int>(x), TRUE);
    SetScrollPos(m_hwnd, SB_VERT, static_cast<int>(y), TRUE);
}

void Win32Surface::OnScroll(int bar, WPARAM wp) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(m_hwnd, bar, &info);
    RECT line{0, 0, 8, 8};  // a line: a character's height (8 vertical dialog units)
    MapDialogRect(m_hwnd, &line);
    const long step = bar == SB_VERT ? line.bottom : line.right;
    long to = info.nPos;
    switch (LOWORD(wp)) {
        case SB_LINEUP:
            to -= step;
            break;
        case SB_LINEDOWN:
            to += step;
            break;
        case SB_PAGEUP:
            to -= static_cast<long>(info.nPage);
            break;
        case SB_PAGEDOWN:
            to += static_cast<long>(info.nPage);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            to = info.nTrackPos;
            break;
        case SB_TOP:
            to = 0;
            break;
        case SB_BOTTOM:
            to = info.nMax;
            break;
        default:
            return;
    }
    if (bar == SB_VERT)
        ScrollTo(m_scroll.x, to);
    else
        ScrollTo(to, m_scroll.y);
}

void Win32Surface::ScrollIntoView(HWND control) {
    RECT r, client;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&r), 2);
    GetClientRect(m_hwnd, &client);
    // How far to move the view so the control's far edge, then its near
    // edge, is inside.
    auto shift = [](long low, long high, long size) {
        long by = 0;
        if (high > size) by = high - size;
        if (low - by < 0) by = low;
        return by;
    };
    ScrollTo(m_scroll.x + shift(r.left, r.right, client.right),
             m_scroll.y + shift(r.top, r.bottom, client.bottom));
}

}  // namespace tk
