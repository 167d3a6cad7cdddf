#include "cli/win32/Win32Devices.h"

#include <cstdlib>
#include <utility>

#include "cli/win32/StopSignals.h"
#include "device/win32/Win32HidPort.h"
#include "toolkit/win32/Win32Api.h"

namespace cli {

namespace {

constexpr wchar_t WINDOW_CLASS[] = L"ReaderConfigDeviceEvents";

// Keeps each WM_DEVICECHANGE's code for the pump. The system sends the
// message and waits for its answer, so no device work is done here.
LRESULT CALLBACK DeviceEventProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_DEVICECHANGE) {
        auto* events =
            reinterpret_cast<std::vector<uint32_t>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (events) events->push_back(static_cast<uint32_t>(wp));
        return TRUE;
    }
    return DefWindowProcW(window, message, wp, lp);
}

class Win32Devices : public SystemDevices {
  public:
    dev::HidPort& Port() override { return m_port; }
    dev::DeviceWatcher& Watcher() override { return m_pump.Watcher(); }
    EventPump& Pump() override { return m_pump; }

  private:
    dev::Win32HidPort m_port;
    Win32DevicePump m_pump;
};

}  // namespace

Win32DevicePump::Win32DevicePump() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DeviceEventProc;
    wc.hInstance = instance;
    wc.lpszClassName = WINDOW_CLASS;
    RegisterClassExW(&wc);  // fails harmlessly when an earlier pump registered it
    m_window = CreateWindowExW(0, WINDOW_CLASS, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                               &m_events);
    m_watcher = std::make_unique<dev::Win32DeviceWatcher>(m_window);
    if (m_window) m_watcher->Listen();
}

Win32DevicePump::~Win32DevicePump() {
    m_watcher.reset();
    if (m_window) DestroyWindow(static_cast<HWND>(m_window));
}

bool Win32DevicePump::WaitForDevice(int timeoutMs) {
    if (!m_window) return false;
    const ULONGLONG deadline =
        GetTickCount64() + static_cast<ULONGLONG>(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (!m_events.empty()) {
            // Taken first: an event that comes during delivery waits for the next call.
            const std::vector<uint32_t> events = std::exchange(m_events, {});
            for (uint32_t event : events) m_watcher->Deliver(event, 0);
            return true;
        }
        DWORD wait = INFINITE;
        if (timeoutMs >= 0) {
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline) return true;
            wait = static_cast<DWORD>(deadline - now);
        }
        // A stop (Ctrl+C) wakes the wait; the batch then sees it noted.
        HANDLE stop = StopSignalEvent();
        const DWORD woke = MsgWaitForMultipleObjectsEx(stop ? 1 : 0, stop ? &stop : nullptr, wait,
                                                       QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_FAILED) return false;
        if (stop && woke == WAIT_OBJECT_0) return true;
    }
}

std::unique_ptr<SystemDevices> MakeWin32Devices() {
    return std::make_unique<Win32Devices>();
}

Language Win32Language() {
    // A locale set in the environment (a POSIX shell, Wine) is the user's word.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(name); value && *value) return LanguageOfEnvironment();
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? Language::Chinese
                                                                     : Language::English;
}

}  // namespace cli
