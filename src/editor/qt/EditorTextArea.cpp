// The editor's text area.
#include "editor/qt/EditorTextArea.h"

#include <QKeyEvent>

namespace zelkova::editor {

EditorTextArea::EditorTextArea(QWidget* parent) : QPlainTextEdit(parent) {}

void EditorTextArea::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        emit copyRequested();
    } else if (event->matches(QKeySequence::Cut)) {
        emit cutRequested();
    } else if (event->matches(QKeySequence::Paste)) {
        emit pasteRequested();
    } else if (event->matches(QKeySequence::Undo)) {
        emit undoRequested();
    } else if (event->matches(QKeySequence::Redo)) {
        // One level of undo only: there is nothing to redo.
    } else if (event->matches(QKeySequence::InsertLineSeparator)) {
        // A plain-text file has no line break inside a line: Shift+Enter starts a line as Enter does.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QPlainTextEdit::keyPressEvent(&enter);
    } else {
        QPlainTextEdit::keyPressEvent(event);
        emit keyPressed();
        return;
    }
    event->accept();
    emit keyPressed();
}

void EditorTextArea::mousePressEvent(QMouseEvent* event) {
    QPlainTextEdit::mousePressEvent(event);
    emit mousePressed();
}

} // namespace zelkova::editor
