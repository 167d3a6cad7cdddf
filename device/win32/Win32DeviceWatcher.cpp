#include "device/win32/Win32DeviceWatcher.h"

#include "toolkit/win32/Win32Api.h"

// After windows.h.
#include <dbt.h>
extern "C" {
#include <hidsdi.h>
}

namespace dev {

bool Win32DeviceWatcher::Register(DeviceChangeReceiver* receiver) {
    m_receiver = receiver;
    return Listen();
}

bool Win32DeviceWatcher::Listen() {
    if (m_notification) return true;
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    m_notification = RegisterDeviceNotificationW(static_cast<HWND>(m_window), &filter,
                                                 DEVICE_NOTIFY_WINDOW_HANDLE);
    return m_notification != nullptr;
}

void Win32DeviceWatcher::Unregister() {
    m_receiver = nullptr;
    if (m_notification) UnregisterDeviceNotification(static_cast<HDEVNOTIFY>(m_notification));
    m_notification = nullptr;
}

void Win32DeviceWatcher::Deliver(uint32_t event, uintptr_t data) {
    if (m_receiver) m_receiver->OnDeviceChange(event, data);
}

}  // namespace dev
