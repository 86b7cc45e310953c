// The editor window under test: built on the scripted services, with helpers that read its text,
// its colours and its indicators the way a user sees them.
#pragma once

#include "GuiHelpers.h"
#include "ScriptedServices.h"
#include "TempDir.h"
#include "editor/qt/TForm1.h"

#include <QColor>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zelkova::testing {

class EditorWindowTest : public ::testing::Test {
protected:
    ~EditorWindowTest() override {
        form.reset();
        processEvents();
    }

    // Creates the window as start-up does, with `commandLineFile` as the first argument.
    void create(const std::string& commandLineFile = {}) {
        form = std::make_unique<TForm1>(s.services, QString::fromStdString(commandLineFile));
        ending = std::make_unique<QSignalSpy>(form.get(), &TForm1::applicationEnding);
    }

    QPlainTextEdit* richEdit() { return child<QPlainTextEdit>(form.get(), "RichEdit1"); }
    std::string text() { return richEdit()->toPlainText().toStdString(); }
    void setText(const std::string& utf8) {
        richEdit()->selectAll();
        richEdit()->insertPlainText(QString::fromStdString(utf8));
    }
    bool modified() { return form->isModified(); }
    std::string caption() { return form->windowTitle().toStdString(); }
    std::string statusText() { return child<QLabel>(form.get(), "StatusBar1Panel")->text().toStdString(); }
    std::string pageCaption() { return child<QMenu>(form.get(), "page1")->title().toStdString(); }

    // Places the caret at `position`, selecting back to `anchor` when given.
    void select(int anchor, int position) {
        QTextCursor cursor = richEdit()->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        richEdit()->setTextCursor(cursor);
    }

    // The colour line `line` is painted in, or an invalid colour when it has none.
    QColor colourOfLine(int line) {
        const QTextBlock block = richEdit()->document()->findBlockByNumber(line);
        const auto formats = block.layout()->formats();
        if (formats.isEmpty())
            return {};
        return formats.front().format.foreground().color();
    }

    std::vector<std::string> messageTexts() { return s.messages.texts(); }

    ScriptedServices s;
    TempDir dir;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<QSignalSpy> ending;
};

inline const QColor kBlack(0, 0, 0);
inline const QColor kBlue(0, 0, 255);

} // namespace zelkova::testing
