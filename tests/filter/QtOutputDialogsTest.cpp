// Shows that Quillon's Qt dialogs carry the titles, texts, buttons and defaults the program asks
// for, and hand back what the user chose.
#include "filter/qt/QtOutputDialogs.h"

#include "TempDir.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace zelkova::filter;

namespace {

// Runs `act` on the modal window once it is shown; `act` must close it.
void whenModal(std::function<void(QWidget*)> act, int triesLeft = 200) {
    QTimer::singleShot(10, [act, triesLeft] {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else if (triesLeft > 0)
            whenModal(act, triesLeft - 1);
    });
}

} // namespace

TEST(QtOutputDialogs, QuestionShowsItsLineBreaksWithYesAndNoAndTheDefaultAsked) {
    QtOutputDialogs dialogs;
    QString title, text;
    bool noIsDefault = false;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(dialogs.ask("File Open Error", "A File Must be Selected\r\rTerminate Program?", Answer::No),
              Answer::Yes);
    EXPECT_EQ(title.toStdString(), "File Open Error");
    EXPECT_EQ(text.toStdString(), "A File Must be Selected\n\nTerminate Program?");
    EXPECT_TRUE(noIsDefault);

    whenModal([](QWidget* modal) { modal->close(); });
    EXPECT_EQ(dialogs.ask("File Open Error", "Terminate Program?", Answer::No), Answer::No);
}

TEST(QtOutputDialogs, FileDialogAcceptsANameThatDoesNotExistYet) {
    zelkova::testing::TempDir dir;
    const QString name = QString::fromStdString((dir.path() / "new plot.txt").string());
    QtOutputDialogs dialogs;
    QString title;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto chosen = dialogs.chooseFile("Open: Select File for Unit 7");
    EXPECT_EQ(title.toStdString(), "Open: Select File for Unit 7");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, dir.path() / "new plot.txt");

    whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_FALSE(dialogs.chooseFile("Open: Select File for Unit 7").has_value());
}
