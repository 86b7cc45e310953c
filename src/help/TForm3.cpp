// The help window: its menu, the text area with the help text, and printing that text.
#include "help/TForm3.h"

#include "help/HelpText.h"
#include "platform/qt/ApplicationPrinter.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/QtText.h"
#include "text/Failure.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

template <typename T> T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// The window's proportional face; on Linux IPA P Gothic stands in for it.
constexpr const char* kProportionalFace = "ＭＳ Ｐゴシック";

QFont windowFont() {
    QFont::insertSubstitutions(QString::fromUtf8(kProportionalFace),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
    QFont font(QString::fromUtf8(kProportionalFace));
    font.setPixelSize(13);
    return font;
}

} // namespace

TForm3::TForm3(zelkova::platform::Services& services, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("ヘルプ画面"));
    setFont(windowFont());
    resize(676, 502);

    auto* menuBar = named(new QMenuBar(this), "MainMenu1");
    QAction* N1 = named(new QAction(QStringLiteral("戻る(&E)"), this), "N1");
    connect(N1, &QAction::triggered, this, &TForm3::N1Click);
    menuBar->addAction(N1);
    QMenu* printMenu = named(new QMenu(QStringLiteral("印刷(&P)"), this), "N2");
    QAction* Print1 =
        named(new QAction(QStringLiteral("全部印刷しますがいいですか？ＯＫ(&O)"), this), "Print1");
    connect(Print1, &QAction::triggered, this, &TForm3::Print1Click);
    printMenu->addAction(Print1);
    menuBar->addMenu(printMenu);

    // 12 points at 96 pixels per inch: an em of 16 pixels.
    RichEdit1 = named(new QTextEdit(this), "RichEdit1");
    QFont textFont = zelkova::platform::japaneseFixedFont(16);
    textFont.setPixelSize(16);
    RichEdit1->setFont(textFont);
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setPlainText(zelkova::platform::fromUtf8(zelkova::help::helpText()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar);
    layout->addWidget(RichEdit1);
}

void TForm3::N1Click() {
    reject();
}

void TForm3::Print1Click() {
    zelkova::platform::ApplicationPrinter& printer = m_services.printer;
    const QString pdfName = QDir::home().filePath(windowTitle() + QStringLiteral(".pdf"));
    // Without a printer the print dialog names the PDF file, and the job writes that file.
    printer.offerJob(windowTitle(), pdfName);
    if (!m_services.printDialogs.print(printer, this))
        return;
    if (!printer.prepareJob(windowTitle(), pdfName, m_services.files, this))
        return;
    // The text as it stands, with whatever the user typed into it, paginated by the text area. Its
    // font is sized in screen pixels; on paper it keeps its 12 points.
    QTextDocument* document = RichEdit1->document();
    const QFont screenFont = document->defaultFont();
    QFont paperFont = screenFont;
    paperFont.setPointSizeF(12.0);
    document->setDefaultFont(paperFont);
    RichEdit1->print(&printer.printer());
    document->setDefaultFont(screenFont);
    if (printer.printer().printerState() == QPrinter::Error) {
        const QString target =
            printer.isPdf() ? printer.printer().outputFileName() : printer.printer().printerName();
        m_services.messages.generalError(zelkova::text::cannotCreateText(zelkova::platform::toUtf8(target)));
    }
}
