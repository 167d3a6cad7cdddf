#include "keypad/ComputerSlow.h"

#include "app/ControlIds.h"
#include "keypad/KeypadTexts.h"

namespace kp {

bool IsComputerSlow(const tk::DialogSurface& ui) {
    return ui.IsChecked(ids::IDC_COMPUTER_SLOW);
}

int AnswerReads(const tk::DialogSurface& ui) {
    return IsComputerSlow(ui) ? 2 : 1;
}

void TickComputerSlow(tk::DialogSurface& ui, const TextPair& prompt) {
    if (IsComputerSlow(ui)) return;
    ui.MessageBox(prompt, texts::SLOW_CAPTION, tk::MsgBoxButtons::Ok);
    ui.SetChecked(ids::IDC_COMPUTER_SLOW, true);
}

ButtonBusy::ButtonBusy(tk::DialogSurface& ui, int id)
    : m_ui(ui), m_id(id), m_wasEnabled(ui.IsEnabled(id)) {
    m_ui.SetEnabled(m_id, false);
}

ButtonBusy::~ButtonBusy() {
    m_ui.SetEnabled(m_id, m_wasEnabled);
}

}  // namespace kp
