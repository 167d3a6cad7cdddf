#include "cli/win32/Win32Devices.h"

#include <atomic>
#include <cstdlib>
#include <utility>

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

// The pump's window, for the console's Ctrl+C to wake a wait on it.
std::atomic<HWND> g_pumpWindow{nullptr};

// The first Ctrl+C (or Ctrl+Break, or the console closing) stops the batch
// after the readers in hand; a second one ends the program as it would.
BOOL WINAPI OnConsoleControl(DWORD) {
    if (StopRequested()) return FALSE;
    RequestStop();
    if (const HWND window = g_pumpWindow.load()) PostMessageW(window, WM_NULL, 0, 0);
    return TRUE;
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
    g_pumpWindow.store(static_cast<HWND>(m_window));
}

Win32DevicePump::~Win32DevicePump() {
    g_pumpWindow.store(nullptr);
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
        if (StopRequested()) return true;
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
        if (MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
            WAIT_FAILED)
            return false;
    }
}

std::unique_ptr<SystemDevices> MakeWin32Devices() {
    return std::make_unique<Win32Devices>();
}

void StopOnConsoleControl() {
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

Language Win32Language() {
    // A locale set in the environment (a POSIX shell, Wine) is the user's word.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(name); value && *value) return LanguageOfEnvironment();
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? Language::Chinese
                                                                      : Language::English;
}

}  // namespace cli
