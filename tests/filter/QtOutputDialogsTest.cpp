// Shows that Quillon's Qt dialogs carry the titles, texts, buttons and defaults the program asks
// for, and hand back what the user chose.
#include "filter/qt/QtOutputDialogs.h"

#include "TempDir.h"

#include <QApplication>
#include <QComboBox>
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

TEST(QtOutputDialogs, SpeakJapaneseOnceTheCatalogueIsLoaded) {
    ASSERT_TRUE(installJapaneseTranslations(*QCoreApplication::instance()));
    QtOutputDialogs dialogs;
    QStringList buttons;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        buttons << box->button(QMessageBox::Yes)->text() << box->button(QMessageBox::No)->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(dialogs.ask("Open: Select File for Unit 7", "x", Answer::Yes), Answer::No);
    EXPECT_EQ(buttons.join(u'|').toStdString(), "はい(&Y)|いいえ(&N)");

    QStringList filters;
    QStringList fileButtons;
    whenModal([&](QWidget* modal) {
        for (const QComboBox* combo : modal->findChildren<QComboBox*>(QStringLiteral("fileTypeCombo")))
            for (int i = 0; i < combo->count(); ++i)
                filters << combo->itemText(i);
        for (const QPushButton* button : modal->findChildren<QPushButton*>())
            fileButtons << button->text();
        static_cast<QDialog*>(modal)->reject();
    });
    (void)dialogs.chooseFile("Open: Select File for Unit 7");
    EXPECT_EQ(filters.join(u'|').toStdString(), "全てのﾌｧｲﾙ(*.*)|ﾃｷｽﾄﾌｧｲﾙ(*.TXT)");
    EXPECT_TRUE(fileButtons.contains(QStringLiteral("開く(&O)"))) << fileButtons.join(u'|').toStdString();
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
