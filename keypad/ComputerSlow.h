#pragma once
// The "Computer slow" box: ticked, every exchange reads a second answer. A
// command that got no answer ticks it itself, after telling the user why.

#include "app/TextPair.h"
#include "toolkit/DialogSurface.h"

namespace kp {

bool IsComputerSlow(const tk::DialogSurface& ui);
// Number of answers an exchange reads now: two while the box is ticked.
int AnswerReads(const tk::DialogSurface& ui);
// Shows the prompt (OK only) and then ticks the box; does nothing when the
// box is ticked already.
void TickComputerSlow(tk::DialogSurface& ui, const TextPair& prompt);

// Disables a command's own button while it runs and gives it back the state
// it had before.
class ButtonBusy {
  public:
    ButtonBusy(tk::DialogSurface& ui, int id);
    ~ButtonBusy();
    ButtonBusy(const ButtonBusy&) = delete;
    ButtonBusy& operator=(const ButtonBusy&) = delete;

  private:
    tk::DialogSurface& m_ui;
    int m_id;
    bool m_wasEnabled;
};

}  // namespace kp
