// Shows that the real Qt dialogs behind the platform services meet a Japanese user as the windows
// mean them to: file dialogs show each filter's description once and hand back full paths, the
// font dialog opens on the font in force and OK leaves it as it was, message boxes stand over the
// window they belong to, and Qt's own texts are Japanese once the catalogue is loaded.
#include "platform/qt/QtServices.h"

#include "TempDir.h"
#include "listing/PageLayout.h"
#include "listing/qt/PrinterJob.h"
#include "platform/qt/Translations.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace zelkova::testing {
namespace {

using platform::FileDialogOptions;

// Runs `act` on the modal dialog once it is shown; `act` must close it.
void whenModal(std::function<void(QWidget*)> act, int triesLeft = 200) {
    QTimer::singleShot(10, [act, triesLeft] {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else if (triesLeft > 0)
            whenModal(act, triesLeft - 1);
    });
}

QStringList comboItems(QWidget* dialog, const char* name) {
    QStringList items;
    if (auto* combo = dialog->findChild<QComboBox*>(QString::fromLatin1(name)))
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
    return items;
}

TEST(QtFileDialogs, ShowEachFilterAsWrittenAndAnswerWithAFullPath) {
    TempDir dir;
    dir.write("examples/demo/RESULT1.LST", "1\r\n");
    const CurrentDirectory current(dir.path());
    FileDialogOptions options;
    options.objectName = QStringLiteral("OpenDialog1");
    options.initialFolder = QStringLiteral("examples/demo/");
    options.filters = {{QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.TXT)、実行用ﾌｧｲﾙ(*.FRT)"), QStringLiteral("*.TXT;*.FRT")},
                       {QStringLiteral("全てのﾌｧｲﾙ"), QStringLiteral("*.*")}};
    QStringList filters;
    QString folder;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        filters = comboItems(dialog, "fileTypeCombo");
        folder = dialog->directory().absolutePath();
        dialog->selectFile(QStringLiteral("RESULT1.LST")); // typed, as a user would
        QMetaObject::invokeMethod(dialog, "accept");
    });
    platform::QtFileDialogs dialogs;
    const auto choice = dialogs.open(options, nullptr);
    EXPECT_EQ(filters.join(u'|').toStdString(), "ﾃｷｽﾄﾌｧｲﾙ(*.TXT)、実行用ﾌｧｲﾙ(*.FRT)|全てのﾌｧｲﾙ");
    EXPECT_EQ(folder.toStdString(), (dir.path() / "examples/demo").string());
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path.toStdString(), (dir.path() / "examples/demo/RESULT1.LST").string());
    EXPECT_EQ(choice->filterIndex, 1);
}

TEST(QtFileDialogs, ANameTypedWithoutExtensionTakesTheChosenFiltersOne) {
    TempDir dir;
    FileDialogOptions options;
    options.objectName = QStringLiteral("SaveDialog1");
    options.initialFolder = QString::fromStdString(dir.path().string());
    options.defaultExtension = QStringLiteral(".bmp");
    options.filters = {{QStringLiteral("ビットマップﾟ（一般）(*.bmp)"), QStringLiteral("*.bmp")},
                       {QStringLiteral("メタファイル（鮮明）(*.emf)"), QStringLiteral("*.emf")}};
    platform::QtFileDialogs dialogs;
    const auto saveAs = [&](int filter) {
        whenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            ASSERT_FALSE(dialog->property("answered").toBool()) << "the former dialog is still up";
            dialog->setProperty("answered", true);
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(types, nullptr);
            types->setCurrentIndex(filter - 1);
            emit types->activated(filter - 1); // as a user's choice in the list signals it
            emit types->textActivated(types->currentText());
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QStringLiteral("figure")); // typed, as a user would
            QMetaObject::invokeMethod(dialog, "accept");
        });
        return dialogs.save(options, nullptr);
    };
    const auto emf = saveAs(2);
    ASSERT_TRUE(emf.has_value());
    EXPECT_EQ(emf->filterIndex, 2);
    EXPECT_EQ(emf->path.toStdString(), (dir.path() / "figure.emf").string());
    options.filterIndex = 2;
    const auto bmp = saveAs(1);
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ(bmp->filterIndex, 1);
    EXPECT_EQ(bmp->path.toStdString(), (dir.path() / "figure.bmp").string());
}

TEST(QtFontDialogs, OpenOnTheFontInForceAndOkWithoutAChangeKeepsIt) {
    const QFont printFont = listing::initialPrintFont(); // "ＭＳ ゴシック", 8 points, substituted
    QFont shown;
    whenModal([&shown](QWidget* modal) {
        auto* dialog = qobject_cast<QFontDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        shown = dialog->currentFont();
        dialog->accept();
    });
    platform::QtFontDialogs dialogs;
    const auto chosen = dialogs.chooseFont(printFont, nullptr);
    EXPECT_EQ(shown.family().toStdString(), QFontInfo(printFont).family().toStdString());
    EXPECT_EQ(shown.pointSize(), 8);
    ASSERT_TRUE(chosen.has_value());

    // The default listing prints exactly as before.
    platform::ApplicationPrinter printer(platform::ApplicationPrinter::Mode::PdfFile);
    printer.printer().setPageOrientation(QPageLayout::Landscape);
    const listing::PageMetrics before = listing::measurePage(printer.printer(), printFont);
    const listing::PageMetrics after = listing::measurePage(printer.printer(), *chosen);
    EXPECT_EQ(after.halfWidthCell, before.halfWidthCell);
    EXPECT_EQ(after.charHeight, before.charHeight);
    EXPECT_EQ(after.fontPoints, before.fontPoints);
    EXPECT_TRUE(listing::checkFit(after, {140, 60}).fits());
}

TEST(QtMessageBoxes, StandOverTheirWindowWhenTheApplicationIsNotActive) {
    // As after a run, when the started program had the focus.
    QWidget window;
    window.setGeometry(20, 30, 320, 240);
    window.show();
    QApplication::setActiveWindow(nullptr);
    QPoint boxCentre;
    whenModal([&boxCentre](QWidget* modal) {
        boxCentre = modal->frameGeometry().center();
        qobject_cast<QMessageBox*>(modal)->buttons().constFirst()->click();
    });
    platform::QtMessageBoxes boxes;
    platform::Message message;
    message.caption = "caption";
    message.text = "text";
    message.buttons = {platform::Reply::Ok};
    boxes.show(message);
    const QPoint windowCentre = window.frameGeometry().center();
    EXPECT_LE((boxCentre - windowCentre).manhattanLength(), 4)
        << boxCentre.x() << "," << boxCentre.y() << " vs " << windowCentre.x() << "," << windowCentre.y();
}

QStringList buttonTexts(QWidget* dialog) {
    QStringList texts;
    for (const QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->isVisible() || button->isVisibleTo(dialog))
            texts << button->text();
    return texts;
}

TEST(JapaneseTranslations, GiveQtsOwnDialogsJapaneseButtons) {
    ASSERT_TRUE(platform::installJapaneseTranslations(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().toStdString(), "はい(&Y)");
    EXPECT_EQ(box.button(QMessageBox::No)->text().toStdString(), "いいえ(&N)");

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList fileButtons = buttonTexts(&files);
    EXPECT_TRUE(fileButtons.contains(QStringLiteral("開く(&O)"))) << fileButtons.join(u'|').toStdString();
    EXPECT_TRUE(fileButtons.contains(QStringLiteral("キャンセル"))) << fileButtons.join(u'|').toStdString();

    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog print(&printer);
    const QStringList printButtons = buttonTexts(&print);
    EXPECT_TRUE(printButtons.contains(QStringLiteral("印刷(&P)"))) << printButtons.join(u'|').toStdString();
    EXPECT_TRUE(printButtons.contains(QStringLiteral("キャンセル"))) << printButtons.join(u'|').toStdString();
}

} // namespace
} // namespace zelkova::testing
