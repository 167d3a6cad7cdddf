#pragma once
// The output pane's widget: a plain-text edit that grows at its end. A line
// appended at the end is laid out and painted alone, and the view scrolls by
// moving what is already drawn, so a line costs the same at any length of
// the log. The pane keeps its last MAX_LINES lines: a long unattended batch
// would otherwise grow it without bound; the oldest lines make way, and the
// first line then says how many went.

#include <QString>
#include <QTextEdit>

namespace tk {

class LogEdit : public QTextEdit {
  public:
    static constexpr int MAX_LINES = 20000;
    // Lines dropped at once when the pane is full, so that the cost of
    // dropping spreads over many appended lines.
    static constexpr int DROP_LINES = 2000;

    explicit LogEdit(QWidget* parent);

    // Replaces the whole text.
    void SetAllText(const QString& text);
    // Adds text after the last character.
    void AppendAtEnd(const QString& text);
    // The caret after the last character, in view.
    void MoveCaretToEnd();
    // Lines dropped from the top since the text was last replaced.
    long long DroppedLines() const { return m_dropped; }

    // The first line after dropping lines from the top.
    static QString DroppedNote(long long lines);

  private:
    void DropOldest();

    long long m_dropped = 0;
};

}  // namespace tk
