// The print settings window: reads its fields at the moment of use and hands them to the
// pagination core and the printer job.
#include "listing/qt/TprtForm1.h"

#include "listing/Counting.h"
#include "listing/PageLayout.h"
#include "listing/Printing.h"
#include "listing/Texts.h"
#include "listing/qt/PrinterJob.h"
#include "platform/qt/ApplicationPrinter.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UpDown.h"
#include "text/Failure.h"
#include "text/Numbers.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>

namespace listing = zelkova::listing;
namespace texts = zelkova::listing::texts;
namespace text = zelkova::text;
using zelkova::platform::fromUtf8;
using zelkova::platform::toUtf8;

namespace {

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString qs(std::string_view utf8) {
    return fromUtf8(utf8);
}

std::int32_t integerOf(const QLineEdit* edit) {
    return text::toInteger(toUtf8(edit->text()));
}

} // namespace

TprtForm1::TprtForm1(zelkova::platform::Services& services, listing::ListingPageTable& pageTable,
                     std::function<std::string()> openedFileName, QWidget* parent)
    : QDialog(parent), m_services(services), m_pageTable(pageTable),
      m_openedFileName(std::move(openedFileName)), m_printFont(listing::initialPrintFont()) {
    setObjectName(QStringLiteral("prtForm1"));
    setWindowTitle(qs(texts::kWindowCaption));
    setFont(zelkova::platform::japaneseFixedFont(12));

    Label1 = named(new QLabel(qs(texts::kTitleLabel), this), "Label1");
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setMinimumWidth(560);
    Label2 = named(new QLabel(qs(texts::kCharactersLabel), this), "Label2");
    Edit2 = named(new QLineEdit(QStringLiteral("140"), this), "Edit2");
    UpDown1 = named(new UpDown(Edit2, 0, 200, this), "UpDown1");
    Label3 = named(new QLabel(qs(texts::kLinesLabel), this), "Label3");
    Edit3 = named(new QLineEdit(QStringLiteral("60"), this), "Edit3");
    UpDown2 = named(new UpDown(Edit3, 0, 100, this), "UpDown2");
    Label4 = named(new QLabel(qs(texts::kPageInitialValueLabel), this), "Label4");
    Edit4 = named(new QLineEdit(QStringLiteral("1"), this), "Edit4");
    Label5 = named(new QLabel(qs(texts::kFirstPageLabel), this), "Label5");
    Edit5 = named(new QLineEdit(QStringLiteral("1"), this), "Edit5");
    Label6 = named(new QLabel(qs(texts::kLastPageLabel), this), "Label6");
    Edit6 = named(new QLineEdit(QStringLiteral("999"), this), "Edit6");
    Label7 = named(new QLabel(qs(texts::kNoNumbersHint), this), "Label7");
    Label8 = named(new QLabel(qs(texts::kInitialValueHint), this), "Label8");
    Button3 = named(new QPushButton(qs(texts::kPrintButton), this), "Button3");
    Button1 = named(new QPushButton(qs(texts::kBackButton), this), "Button1");
    Button2 = named(new QPushButton(qs(texts::kFontButton), this), "Button2");
    Button4 = named(new QPushButton(qs(texts::kPrinterButton), this), "Button4");
    for (QLineEdit* edit : {Edit2, Edit3, Edit4, Edit5, Edit6})
        edit->setFixedWidth(80);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 8);
    grid->addWidget(Edit1, 1, 0, 1, 8);
    auto pair = [grid](int row, int column, QLabel* label, QLineEdit* edit, UpDown* arrows) {
        auto* box = new QHBoxLayout;
        box->setSpacing(2);
        box->addWidget(edit);
        if (arrows)
            box->addWidget(arrows);
        box->addStretch();
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addLayout(box, row, column + 1);
    };
    pair(2, 0, Label2, Edit2, UpDown1);
    pair(2, 2, Label3, Edit3, UpDown2);
    pair(3, 0, Label4, Edit4, nullptr);
    pair(3, 2, Label5, Edit5, nullptr);
    pair(3, 4, Label6, Edit6, nullptr);
    grid->addWidget(Label7, 4, 0, 1, 8);
    grid->addWidget(Label8, 5, 0, 1, 8);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {Button3, Button1, Button2, Button4}) {
        button->setAutoDefault(false); // Enter in a field never starts a print
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 6, 0, 1, 8);

    connect(Button3, &QPushButton::clicked, this, &TprtForm1::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TprtForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TprtForm1::Button2Click);
    connect(Button4, &QPushButton::clicked, this, &TprtForm1::Button4Click);

    FormCreate();
}

void TprtForm1::FormCreate() {
    QPrinter& printer = m_services.printer.printer();
    printer.setCopyCount(1);
    printer.setPageOrientation(QPageLayout::Landscape);
    const std::string name = m_openedFileName();
    if (name.empty())
        return;
    Edit1->setText(fromUtf8(name));
    try {
        printsub();
    } catch (const text::Failure& failure) {
        m_services.messages.generalError(failure.what());
    }
}

void TprtForm1::setTitle(const QString& title) {
    Edit1->setText(title);
}

void TprtForm1::printsub() {
    const bool countOnly = m_pageTable.countOnlyRequest;
    // Consumed by every call: a request left set after a refused check would turn the user's next
    // print into a silent count.
    m_pageTable.countOnlyRequest = false;

    const std::string fileName = m_openedFileName();
    const listing::LineSettings settings{integerOf(Edit2), integerOf(Edit3)};
    const auto problems = listing::settingsProblems(settings);
    for (const std::string& problem : problems)
        m_services.messages.plain(problem);
    if (!problems.empty())
        return;

    QPrinter& printer = m_services.printer.printer();
    const listing::FitCheck check = listing::checkFit(listing::measurePage(printer, m_printFont), settings);
    for (const std::string& message : check.messages)
        m_services.messages.plain(message);
    if (!check.fits())
        return;

    const listing::PageCount count = listing::countPages(fileName, settings, m_pageTable);
    if (countOnly)
        return;

    // Every field is read before the question, so that a field that is not a number never stops
    // a job half-printed.
    const listing::PrintRange range = listing::resolveRange(integerOf(Edit5), integerOf(Edit6), count.pages);
    const std::optional<std::int32_t> initial = listing::pageInitialValueFrom(toUtf8(Edit4->text()));
    if (!range.usable()) {
        m_services.messages.plain(range.problem);
        return;
    }
    if (!m_services.messages.confirm(listing::confirmationText(count.pages, range)))
        return;

    const QString title = Edit1->text();
    if (!m_services.printer.prepareJob(title.isEmpty() ? fromUtf8(fileName) : title,
                                       suggestedPdfName(fileName), m_services.files, this))
        return;

    listing::PrintJob job;
    job.lines = settings;
    job.firstPage = range.first;
    job.lastPage = range.last;
    job.pageInitialValue = initial;
    job.copies = printer.copyCount();
    job.title = toUtf8(title);
    listing::JobCallbacks callbacks;
    callbacks.showMessage = [this](const std::string& message) { m_services.messages.plain(message); };
    callbacks.sheetStarted = [this](int sheet) { showProgress(fromUtf8(listing::progressText(sheet))); };
    (void)listing::printOnPrinter(printer, m_printFont, fileName, job, callbacks);
    showProgress(qs(texts::kPrintingFinished));
}

QString TprtForm1::suggestedPdfName(const std::string& listing) const {
    const QFileInfo info(fromUtf8(listing));
    QString name = info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".pdf");
    if (QFileInfo(name).absoluteFilePath() == info.absoluteFilePath())
        name += QStringLiteral(".pdf"); // never propose the listing itself
    return name;
}

void TprtForm1::showProgress(const QString& text) {
    Label1->setText(text);
    Label1->repaint();
}

void TprtForm1::Button3Click() {
    try {
        printsub();
    } catch (const text::Failure& failure) {
        m_services.messages.generalError(failure.what());
    }
}

void TprtForm1::Button1Click() {
    close();
}

void TprtForm1::Button2Click() {
    if (const std::optional<QFont> chosen = m_services.fonts.chooseFont(m_printFont, this))
        m_printFont = *chosen;
}

void TprtForm1::Button4Click() {
    // Without a printer the dialog names the PDF file the next print writes.
    const std::string fileName = m_openedFileName();
    if (!fileName.empty())
        m_services.printer.offerNextJob(suggestedPdfName(fileName));
    (void)m_services.printDialogs.print(m_services.printer, this);
}
