#pragma once
// Runs every modal window of the dialog (message boxes, the About box, the
// dialog itself) in its own event loop. The operations the dialog's queue
// holds back wait meanwhile (see OperationQueue), and over a box opened
// inside an operation the cursor is the normal one. A test can answer the
// next boxes from inside their real loops, with whatever the user or a device
// does while a box is open.

#include <QDialog>
#include <deque>
#include <functional>

#include "toolkit/DialogSurface.h"

namespace tk {

class ModalRunner {
  public:
    // The next box that Exec answers: whileOpen runs inside the box's loop,
    // then the box gets the answer (Ok, Yes or No button; Ok accepts a box
    // that is not a message box).
    void QueueAnswer(MsgBoxResult answer, std::function<void()> whileOpen = {});
    bool HasAnswers() const { return !m_answers.empty(); }

    // Runs box modally and returns its result. answerable: whether a queued
    // answer may answer it (not for the dialog itself).
    int Exec(QDialog& box, bool answerable = true);
    // Modal windows open now.
    int Depth() const { return m_depth; }
    // Boxes run so far (not counting the dialog itself).
    int BoxesRun() const { return m_boxesRun; }

  private:
    struct Answer {
        MsgBoxResult result;
        std::function<void()> whileOpen;
    };
    static void Give(QDialog& box, MsgBoxResult answer);

    std::deque<Answer> m_answers;
    int m_depth = 0;
    int m_boxesRun = 0;
};

}  // namespace tk
