#pragma once
// Hands the dialog's device-change notifications to the toolkit as operations
// (DialogSurface::Post), so that a reader plugged in while Set Device or a
// message box runs is dealt with after it, in order, and never inside it.

#include <memory>

#include "device/DeviceWatcher.h"
#include "toolkit/DialogSurface.h"

namespace app {

class QueuedDeviceWatcher : public dev::DeviceWatcher, private dev::DeviceChangeReceiver {
  public:
    QueuedDeviceWatcher(dev::DeviceWatcher& inner, tk::DialogSurface& surface)
        : m_inner(inner), m_surface(surface) {}
    // The link unregisters before it goes; what still waits is dropped.
    ~QueuedDeviceWatcher() override { *m_alive = false; }
    QueuedDeviceWatcher(const QueuedDeviceWatcher&) = delete;
    QueuedDeviceWatcher& operator=(const QueuedDeviceWatcher&) = delete;

    bool Register(dev::DeviceChangeReceiver* receiver) override {
        m_receiver = receiver;
        return m_inner.Register(this);
    }
    void Unregister() override {
        m_inner.Unregister();
        m_receiver = nullptr;
    }

  private:
    bool OnDeviceChange(uint32_t event, uintptr_t data) override {
        // A notification still waiting when the dialog has gone is dropped.
        m_surface.Post([this, alive = m_alive, event, data] {
            if (*alive && m_receiver) m_receiver->OnDeviceChange(event, data);
        });
        return true;
    }

    dev::DeviceWatcher& m_inner;
    tk::DialogSurface& m_surface;
    dev::DeviceChangeReceiver* m_receiver = nullptr;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace app
