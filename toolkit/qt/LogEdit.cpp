#include "toolkit/qt/LogEdit.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace tk {

LogEdit::LogEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    // Tab moves on through the dialog; Enter starts a new line.
    setTabChangesFocus(true);
    // The log grows; an undo history of it would too.
    setUndoRedoEnabled(false);
}

QString LogEdit::DroppedNote(long long lines) {
    return QStringLiteral("…… 已删除之前的 %1 行 (%1 earlier lines removed) ……").arg(lines);
}

void LogEdit::SetAllText(const QString& text) {
    m_dropped = 0;
    setPlainText(text);
    if (document()->blockCount() > MAX_LINES) DropOldest();
}

void LogEdit::AppendAtEnd(const QString& text) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    if (document()->blockCount() > MAX_LINES) DropOldest();
}

void LogEdit::DropOldest() {
    QTextDocument* doc = document();
    const bool noted = m_dropped > 0;
    // The note of an earlier drop goes with the lines and is written anew.
    const int drop = doc->blockCount() - MAX_LINES + DROP_LINES;
    QTextCursor cut(doc);
    cut.movePosition(QTextCursor::Start);
    cut.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, drop);
    cut.removeSelectedText();
    m_dropped += drop - (noted ? 1 : 0);
    cut.insertText(DroppedNote(m_dropped) + QLatin1Char('\n'));
}

void LogEdit::MoveCaretToEnd() {
    moveCursor(QTextCursor::End);
    ensureCursorVisible();
}

}  // namespace tk
