// QFileDialog and QMessageBox behind Quillon's dialog interface.
#include "filter/qt/QtOutputDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QString>
#include <QTranslator>

namespace zelkova::filter {

namespace {

// The texts keep their CR line breaks; a label breaks lines at LF only.
QString displayText(const std::string& text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace

bool installJapaneseTranslations(QCoreApplication& application) {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    auto* translator = new QTranslator(&application);
    if (!translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

std::optional<std::filesystem::path> QtOutputDialogs::chooseFile(const std::string& title) {
    QFileDialog dialog(nullptr, QString::fromStdString(title), QDir::currentPath());
    dialog.setObjectName(QStringLiteral("OutputFileDialog"));
    // Qt's own dialog speaks Japanese with the catalogue loaded; a desktop's native one might not.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name that does not exist yet may be typed; the question whether to create it follows.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(
        {QStringLiteral("全てのﾌｧｲﾙ(*.*) (*)"), QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.TXT) (*.txt *.TXT)")});
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty())
        return std::nullopt;
    return std::filesystem::path(QDir::toNativeSeparators(files.front()).toStdU16String());
}

Answer QtOutputDialogs::ask(const std::string& caption, const std::string& text, Answer defaultAnswer) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), displayText(text),
                    QMessageBox::Yes | QMessageBox::No);
    box.setObjectName(QStringLiteral("QuestionBox"));
    box.setDefaultButton(defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtOutputDialogs::showError(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(caption), displayText(text),
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

} // namespace zelkova::filter
