// The editor's text area: a plain-text editor whose keyboard edit commands (copy, cut, paste, undo,
// redo) go to the window's own handlers, so that they use the application's clipboard and its
// one-level undo like the menu items do. A key press and a mouse press are announced after they
// took effect, so the caret indicators show where the caret went.
#pragma once

#include <QPlainTextEdit>

namespace zelkova::editor {

class EditorTextArea : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit EditorTextArea(QWidget* parent = nullptr);

signals:
    void copyRequested();
    void cutRequested();
    void pasteRequested();
    void undoRequested();
    void keyPressed();
    void mousePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace zelkova::editor
