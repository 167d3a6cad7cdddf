#pragma once
// Disables a command's own button while it runs and gives it back the state
// it had before, so a batch run's disabled state survives.

#include "toolkit/DialogSurface.h"

namespace kp {

class ButtonBusy {
  public:
    ButtonBusy(tk::DialogSurface& ui, int id) : m_ui(ui), m_id(id), m_wasEnabled(ui.IsEnabled(id)) {
        m_ui.SetEnabled(m_id, false);
    }
    ~ButtonBusy() { m_ui.SetEnabled(m_id, m_wasEnabled); }
    ButtonBusy(const ButtonBusy&) = delete;
    ButtonBusy& operator=(const ButtonBusy&) = delete;

  private:
    tk::DialogSurface& m_ui;
    int m_id;
    bool m_wasEnabled;
};

}  // namespace kp
