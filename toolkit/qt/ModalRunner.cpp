#include "toolkit/qt/ModalRunner.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <optional>

#include "toolkit/qt/OperationQueue.h"

namespace tk {

void ModalRunner::QueueAnswer(MsgBoxResult answer, std::function<void()> whileOpen) {
    m_answers.push_back({answer, std::move(whileOpen)});
}

void ModalRunner::Give(QDialog& box, MsgBoxResult answer) {
    if (auto* message = qobject_cast<QMessageBox*>(&box)) {
        const QMessageBox::StandardButton which = answer == MsgBoxResult::Yes  ? QMessageBox::Yes
                                                  : answer == MsgBoxResult::No ? QMessageBox::No
                                                                               : QMessageBox::Ok;
        if (QAbstractButton* button = message->button(which)) {
            button->click();
            return;
        }
    }
    if (answer == MsgBoxResult::No)
        box.reject();
    else
        box.accept();
}

int ModalRunner::Exec(QDialog& box, bool answerable) {
    if (answerable) ++m_boxesRun;
    if (answerable && !m_answers.empty()) {
        Answer next = std::move(m_answers.front());
        m_answers.pop_front();
        // The first turn of the box's own loop: the box is shown and modal.
        QTimer::singleShot(0, &box, [target = QPointer<QDialog>(&box), next = std::move(next)] {
            if (next.whileOpen) next.whileOpen();
            if (target) Give(*target, next.result);
        });
    }
    std::optional<NormalCursor> normal;
    const QCursor* over = QApplication::overrideCursor();
    if (over && over->shape() == Qt::WaitCursor) normal.emplace();
    ++m_depth;
    const int result = box.exec();
    --m_depth;
    return result;
}

}  // namespace tk
