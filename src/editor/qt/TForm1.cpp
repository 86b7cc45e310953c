// The editor window: its components, menus and command handlers.
#include "editor/qt/TForm1.h"

#include "editor/EditorTexts.h"
#include "editor/Indicators.h"
#include "editor/LineColouring.h"
#include "editor/TextSearch.h"
#include "editor/qt/EditorTextArea.h"
#include "editor/qt/RunFileHighlighter.h"
#include "editor/qt/SearchDialog.h"
#include "help/TForm3.h"
#include "listing/qt/TprtForm1.h"
#include "platform/qt/ApplicationPrinter.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/QtText.h"
#include "plot/qt/TForm2.h"
#include "runner/RunFileDetection.h"
#include "runner/Runner.h"
#include "text/Failure.h"
#include "text/Files.h"
#include "text/Paths.h"

#include <QAbstractUndoItem>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>

using zelkova::platform::fromUtf8;
using zelkova::platform::toUtf8;
namespace editor = zelkova::editor;
namespace platform = zelkova::platform;
namespace text = zelkova::text;

namespace {

// The window font reaches no visible text: the text area has its own font, and the menus and the
// status bar are drawn in the system's menu font, a cell of about 14 pixels, which leaves room on
// the menu bar for the page indicator.
constexpr int kMenuCellHeight = 14;

template <typename T> T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QString qText(std::string_view utf8) {
    return fromUtf8(utf8);
}

std::u16string_view utf16Of(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

editor::LetterCase letterCaseOf(const editor::SearchDialog& dialog) {
    return dialog.matchCase() ? editor::LetterCase::Match : editor::LetterCase::Ignore;
}

// The file dialogs of the window, as the form stores them.
platform::FileDialogOptions openDialog1Options(const QString& initialFolder) {
    platform::FileDialogOptions options;
    options.objectName = QStringLiteral("OpenDialog1");
    options.initialFolder = initialFolder;
    options.defaultExtension = QStringLiteral(".TXT");
    options.filters = {
        {QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.TXT)、実行用ﾌｧｲﾙ(*.FRT)、ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙ(*.for)"),
         QStringLiteral("*.TXT;*.FRT;*.for")},
        {QStringLiteral("実行用ﾌｧｲﾙ(*.FRT)"), QStringLiteral("*.FRT")},
        {QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.TXT)"), QStringLiteral("*.TXT")},
        {QStringLiteral("ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙ(*.for)"), QStringLiteral("*.for")},
        {QStringLiteral("全てのﾌｧｲﾙ(*.*)"), QStringLiteral("*.*")},
    };
    return options;
}

platform::FileDialogOptions saveDialog1Options(const QString& initialFolder, const QString& fileName) {
    platform::FileDialogOptions options;
    options.objectName = QStringLiteral("SaveDialog1");
    options.initialFolder = initialFolder;
    options.fileName = fileName;
    options.defaultExtension = QStringLiteral(".TXT");
    options.filters = {
        {QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.TXT)"), QStringLiteral("*.TXT")},
        {QStringLiteral("実行用ﾌｧｲﾙ(*.FRT)"), QStringLiteral("*.FRT")},
        {QStringLiteral("ﾌﾟﾛｸﾞﾗﾑﾌｧｲﾙ(*.for)"), QStringLiteral("*.for")},
        {QStringLiteral("全てのﾌｧｲﾙ(*.*)"), QStringLiteral("*.*")},
    };
    return options;
}

platform::FileDialogOptions openDialog2Options(const QString& initialFolder) {
    platform::FileDialogOptions options;
    options.objectName = QStringLiteral("OpenDialog2");
    options.initialFolder = initialFolder;
    options.filters = {
        {QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.TXT)、実行ﾌｧｲﾙ(*.EXE)"), QStringLiteral("*.TXT;*.EXE")},
        {QStringLiteral("全てのﾌｧｲﾙ"), QStringLiteral("*.*")},
    };
    return options;
}

// Text from the clipboard or a selection with the text area's own line ends ("\n").
QString withNewlines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

// A file name as the full path the document state holds: absolute, without "." and ".." parts.
std::string fullPathOf(const QString& path) {
    return toUtf8(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

// Ends an undo step: undoing and redoing it changes nothing.
class StepEnd final : public QAbstractUndoItem {
public:
    void undo() override {}
    void redo() override {}
};

// The PDF file a plain print proposes when jobs go to a file: beside the document, named after it.
QString suggestedPdfName(const std::string& documentName) {
    if (documentName.empty())
        return QDir::home().filePath(QStringLiteral("Zelkova.pdf"));
    const QFileInfo info(fromUtf8(documentName));
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
}

} // namespace

TForm1::TForm1(platform::Services& services, const QString& commandLineFile, QWidget* parent)
    : QMainWindow(parent), m_services(services) {
    setObjectName(QStringLiteral("Form1"));
    createComponents();
    createMenus();
    FormCreate(commandLineFile);
}

TForm1::~TForm1() = default;

void TForm1::createComponents() {
    setWindowTitle(qText(editor::kInitialCaption));
    setFont(platform::japaneseFixedFont(21));

    RichEdit1 = named(new editor::EditorTextArea(this), "RichEdit1");
    RichEdit1->setFont(platform::japaneseFixedFont(19));
    // Tab stops every 8 columns, so that tab-indented Fortran lines up with space-indented lines.
    RichEdit1->setTabStopDistance(8 * QFontMetricsF(RichEdit1->font()).horizontalAdvance(QLatin1Char(' ')));
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    setCentralWidget(RichEdit1);

    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setFixedHeight(19);
    StatusBar1->setFont(platform::japaneseFixedFont(kMenuCellHeight));
    // A permanent label rather than a status message: menu hovering clears status messages.
    m_statusPanel = named(new QLabel(StatusBar1), "StatusBar1Panel");
    StatusBar1->addWidget(m_statusPanel, 1);
    setStatusBar(StatusBar1);

    m_highlighter = std::make_unique<editor::RunFileHighlighter>(nullptr);

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1->start();

    connect(RichEdit1, &QPlainTextEdit::textChanged, this, &TForm1::RichEdit1Change);
    connect(RichEdit1->document(), &QTextDocument::contentsChange, this, &TForm1::followLineEdits);
    connect(RichEdit1, &editor::EditorTextArea::keyPressed, this, &TForm1::RichEdit1KeyDown);
    connect(RichEdit1, &editor::EditorTextArea::mousePressed, this, &TForm1::RichEdit1MouseDown);
    connect(RichEdit1, &QPlainTextEdit::cursorPositionChanged, this, &TForm1::refreshIndicators);
    connect(RichEdit1, &QPlainTextEdit::selectionChanged, this, &TForm1::refreshIndicators);
    connect(RichEdit1, &editor::EditorTextArea::copyRequested, this, &TForm1::Copy1Click);
    connect(RichEdit1, &editor::EditorTextArea::cutRequested, this, &TForm1::Cut1Click);
    connect(RichEdit1, &editor::EditorTextArea::pasteRequested, this, &TForm1::Paste1Click);
    connect(RichEdit1, &editor::EditorTextArea::undoRequested, this, &TForm1::Undo1Click);
    connect(RichEdit1, &QWidget::customContextMenuRequested, this, &TForm1::showPopupMenu);

    finddialog1 = new editor::SearchDialog(editor::SearchDialog::Kind::Find, this);
    ReplaceDialog1 = new editor::SearchDialog(editor::SearchDialog::Kind::Replace, this);
    connect(finddialog1, &editor::SearchDialog::findNextRequested, this, &TForm1::FindDialog1Find);
    connect(ReplaceDialog1, &editor::SearchDialog::findNextRequested, this, &TForm1::ReplaceDialog1Find);
    connect(ReplaceDialog1, &editor::SearchDialog::replaceRequested, this, &TForm1::ReplaceDialog1Replace);

    // Client area 681 x 461 below the menu bar: the text area 681 x 442 and the status bar.
    move(108, 54);
    resize(681, 461 + menuBar()->sizeHint().height());
}

void TForm1::createMenus() {
    QMenuBar* MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setFont(platform::japaneseFixedFont(kMenuCellHeight));

    auto item = [this](QMenu* menu, const char* name, const QString& caption, void (TForm1::*handler)()) {
        QAction* action = named(new QAction(caption, this), name);
        connect(action, &QAction::triggered, this, handler);
        menu->addAction(action);
        return action;
    };

    QMenu* fileMenu = named(new QMenu(QStringLiteral("ファイル(&F)"), this), "mnfile");
    item(fileMenu, "New1", QStringLiteral("新規作成(&N)"), &TForm1::New1Click);
    item(fileMenu, "Open1", QStringLiteral("開く(&O)"), &TForm1::Open1Click);
    item(fileMenu, "Save1", QStringLiteral("上書き保存(&S)"), &TForm1::Save1Click);
    item(fileMenu, "Save2", QStringLiteral("名前を付けて保存(&A)"), &TForm1::Save2Click);
    fileMenu->addSeparator();
    item(fileMenu, "Print1", QStringLiteral("普通の印刷(&P)"), &TForm1::Print1Click);
    fileMenu->addSeparator();
    item(fileMenu, "FOTRAN1", QStringLiteral("FOTRANｱｳﾄﾌﾟｯﾄﾌｧｲﾙの印刷(&F)"), &TForm1::FOTRAN1Click);
    fileMenu->addSeparator();
    QAction* Exit1 = named(new QAction(QStringLiteral("終了(&X)"), this), "Exit1");
    connect(Exit1, &QAction::triggered, this, [this, Exit1] { Exit1Click(Exit1); });
    fileMenu->addAction(Exit1);
    MainMenu1->addMenu(fileMenu);

    QMenu* editMenu = named(new QMenu(QStringLiteral("編集(&E)"), this), "mnedit");
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    struct EditItem {
        const char* menuName;
        const char* popupName;
        QString caption;
        void (TForm1::*handler)();
    };
    const EditItem editItems[] = {
        {"Undo1", "Undo2", QStringLiteral("元に戻す（直前一回のみ）(&U)"), &TForm1::Undo1Click},
        {"Copy1", "Copy2", QStringLiteral("コピー(&C)"), &TForm1::Copy1Click},
        {"Cut1", "Cut2", QStringLiteral("切り取り(&T)"), &TForm1::Cut1Click},
        {"Paste1", "Paste2", QStringLiteral("貼り付け(&P)"), &TForm1::Paste1Click},
        {"flnmpaste1", "flnmpaste2", QStringLiteral("参照からﾌｧｲﾙ名貼り付け(&N)"), &TForm1::flnmpaste1Click},
        {"Find1", "Find2", QStringLiteral("検索(&F)"), &TForm1::Find1Click},
        {"Replace1", "replace2", QStringLiteral("置き換え(&R)"), &TForm1::Replace1Click},
    };
    for (const EditItem& e : editItems) {
        item(editMenu, e.menuName, e.caption, e.handler);
        item(PopupMenu1, e.popupName, e.caption, e.handler);
    }
    MainMenu1->addMenu(editMenu);

    QMenu* runMenu = named(new QMenu(QStringLiteral("ﾌﾟﾛｸﾞﾗﾑの実行(&P)"), this), "mnprg");
    item(runMenu, "prgrun", QStringLiteral("EX文を実行します。ＯＫ(&O)"), &TForm1::N1Click);
    MainMenu1->addMenu(runMenu);

    QMenu* plotMenu = named(new QMenu(QStringLiteral("結果図の作図(&G)"), this), "mngrf");
    item(plotMenu, "mngrfplot", QStringLiteral("画面上に結果図を描画します。ＯＫ(&O)"), &TForm1::N4Click);
    MainMenu1->addMenu(plotMenu);

    // The help item has no sub-items: the top item itself acts.
    QAction* Help1 = named(new QAction(QStringLiteral("ヘルプ(&H)"), this), "Help1");
    connect(Help1, &QAction::triggered, this, &TForm1::Help1Click);
    MainMenu1->addAction(Help1);

    page1 = named(new QMenu(qText(editor::kBlankPageCaption), this), "page1");
    page1->addAction(named(new QAction(qText(editor::kPageNoteCaption), this), "mnpage1"));
    MainMenu1->addMenu(page1);

    for (QMenu* menu : {fileMenu, editMenu, runMenu, plotMenu, page1, PopupMenu1})
        menu->setFont(platform::japaneseFixedFont(kMenuCellHeight));
}

void TForm1::FormCreate(const QString& commandLineFile) {
    show();
    const std::string argument = toUtf8(commandLineFile);
    bool loaded = false;
    if (!argument.empty() && text::existsAsFile(argument)) {
        try {
            // The document is named by its full path, which stays right whatever the current
            // folder; the caption shows the argument as it was given.
            loadDocument(fullPathOf(commandLineFile), text::readFile(argument));
            setWindowTitle(commandLineFile);
            loaded = true;
        } catch (const std::exception&) {
            m_services.messages.plain(editor::kCannotOpenMessage);
        }
    }
    if (!loaded) {
        createListingPrinter(false);
        return;
    }
    // The listing printer's creation sees the opened file name and runs the counting pass.
    m_pageTable.countOnlyRequest = true;
    try {
        createListingPrinter(false);
    } catch (const std::exception&) {
        m_pageTable.countOnlyRequest = false;
        m_services.messages.plain(editor::kCannotOpenMessage);
        // The window must exist all the same; its creation then counts nothing.
        createListingPrinter(true);
    }
    refreshPageIndicator();
}

void TForm1::createListingPrinter(bool suppressOpenedFileName) {
    m_suppressOpenedFileName = suppressOpenedFileName;
    m_prtForm.reset();
    m_prtForm = std::make_unique<TprtForm1>(
        m_services, m_pageTable,
        [this]() -> std::string { return m_suppressOpenedFileName ? std::string() : m_state.openedFileName; },
        this);
    m_suppressOpenedFileName = false;
}

void TForm1::setPlotViewer(TForm2* viewer) {
    m_plotViewer = viewer;
}

bool TForm1::isModified() const {
    return RichEdit1->document()->isModified();
}

void TForm1::setModified(bool modified) {
    RichEdit1->document()->setModified(modified);
}

std::size_t TForm1::lineCount() const {
    const QTextDocument* document = RichEdit1->document();
    return editor::lineCountOf(static_cast<std::size_t>(document->blockCount()),
                               document->lastBlock().length() <= 1);
}

// --- ファイル ---

void TForm1::New1Click() {
    if (!m_state.documentName.empty())
        m_saveDialogFolder = fromUtf8(text::folderPart(m_state.documentName));
    if (!offerToSave(&TForm1::save))
        return;
    m_highlighter->clear();
    RichEdit1->clear();
    m_lines = editor::LoadedLines();
    setWindowTitle(qText(editor::kNewFileName));
    m_state.documentName = std::string(editor::kNewFileName);
    m_state.runFile = false;
    m_state.colouringGuard = editor::ColouringGuard::Idle;
    setModified(false);
    m_state.recolourRequest = false;
}

void TForm1::Open1Click() {
    const QString initialFolder = m_state.documentName.empty()
                                      ? fromUtf8(text::executableFolder())
                                      : fromUtf8(text::folderPart(m_state.documentName));
    const auto choice = m_services.files.open(openDialog1Options(initialFolder), this);
    if (!choice)
        return;
    if (!offerToSave(&TForm1::save))
        return;
    const std::string path = fullPathOf(choice->path);
    // The file is read before anything of the current document is touched: a file that cannot be
    // read leaves the document as it was.
    std::string bytes;
    try {
        bytes = text::readFile(path);
    } catch (const std::exception&) {
        m_services.messages.plain(editor::kCannotOpenMessage);
        return;
    }
    loadDocument(path, bytes);
    try {
        countListingPages();
    } catch (const std::exception&) {
        m_pageTable.countOnlyRequest = false;
        m_services.messages.plain(editor::kCannotOpenMessage);
        return;
    }
    refreshPageIndicator();
}

void TForm1::loadDocument(const std::string& path, const std::string& bytes) {
    m_state.colouringGuard = editor::ColouringGuard::Loading;
    m_highlighter->clear();
    editor::LoadedLines loaded(bytes);
    RichEdit1->setPlainText(platform::fromCp932(loaded.takeText()));
    // Taken over after the text is in: loading is no edit to follow.
    m_lines = std::move(loaded);

    m_state.documentName = path;
    setWindowTitle(fromUtf8(path));
    m_state.openedFileName = path;
    setModified(false);
    m_state.runFile = false;
    if (editor::isExaminedForRunFile(lineCount()))
        sciflgchk();
    setModified(false);
    m_state.colouringGuard = editor::ColouringGuard::Idle;
    if (m_state.runFile)
        cmtflgchk();
}

void TForm1::countListingPages() {
    m_pageTable.countOnlyRequest = true;
    m_prtForm->printsub();
}

void TForm1::Save1Click() {
    save();
}

void TForm1::Save2Click() {
    saveAs();
}

TForm1::SaveOutcome TForm1::save() {
    if (m_state.documentName.empty())
        return saveAs();
    if (!writeDocument(m_state.documentName)) {
        m_services.messages.plain(editor::kCannotWriteMessage);
        return SaveOutcome::NotSaved;
    }
    setWindowTitle(fromUtf8(text::fileNamePart(m_state.documentName)));
    setModified(false);
    return SaveOutcome::Saved;
}

TForm1::SaveOutcome TForm1::saveAs() {
    const auto choice =
        m_services.files.save(saveDialog1Options(m_saveDialogFolder, fromUtf8(m_state.documentName)), this);
    if (!choice)
        return SaveOutcome::NotSaved;
    const std::string previousName = m_state.documentName;
    m_state.documentName = toUtf8(choice->path);
    if (text::existsAsFile(m_state.documentName) && m_state.documentName != m_state.openedFileName &&
        !m_services.messages.confirm(editor::kReplaceFileQuestion)) {
        m_state.documentName = previousName;
        return SaveOutcome::NotSaved;
    }
    if (!writeDocument(m_state.documentName)) {
        m_services.messages.plain(editor::kCannotWriteMessage);
        return SaveOutcome::NotSaved;
    }
    setWindowTitle(fromUtf8(text::fileNamePart(m_state.documentName)));
    setModified(false);
    return SaveOutcome::Saved;
}

bool TForm1::offerToSave(SaveOutcome (TForm1::*saveCommand)()) {
    if (!isModified() || !m_services.messages.confirm(editor::kSaveChangesQuestion))
        return true;
    return (this->*saveCommand)() == SaveOutcome::Saved;
}

std::string TForm1::documentBytes() const {
    std::vector<std::u16string> lines;
    lines.reserve(static_cast<std::size_t>(RichEdit1->document()->blockCount()));
    for (QTextBlock block = RichEdit1->document()->firstBlock(); block.isValid(); block = block.next()) {
        // As the plain text reads: a no-break space is a space.
        QString line = block.text();
        line.replace(QChar::Nbsp, QLatin1Char(' '));
        lines.push_back(line.toStdU16String());
    }
    return m_lines.fileBytes(lines);
}

void TForm1::followLineEdits(int position, int /*charsRemoved*/, int charsAdded) {
    // The lines from the one the change starts in to the one it ends in are what replaced the
    // lines the change covered before; how many those were follows from the change of the count.
    const QTextDocument* document = RichEdit1->document();
    const QTextBlock firstBlock = document->findBlock(position);
    QTextBlock lastBlock = document->findBlock(position + charsAdded);
    if (!lastBlock.isValid())
        lastBlock = document->lastBlock();
    const int first = firstBlock.isValid() ? firstBlock.blockNumber() : lastBlock.blockNumber();
    const auto added = static_cast<std::ptrdiff_t>(lastBlock.blockNumber() - first + 1);
    const auto growth = static_cast<std::ptrdiff_t>(document->blockCount()) -
                        static_cast<std::ptrdiff_t>(m_lines.lineCount());
    const std::ptrdiff_t removed = std::max<std::ptrdiff_t>(added - growth, 1);
    m_lines.linesReplaced(
        static_cast<std::size_t>(first), static_cast<std::size_t>(removed), static_cast<std::size_t>(added),
        [document](std::size_t line) {
            return document->findBlockByNumber(static_cast<int>(line)).text().toStdU16String();
        });
}

bool TForm1::writeDocument(const std::string& path) {
    std::string bytes = documentBytes();
    try {
        text::writeFileAtomically(path, bytes);
    } catch (const text::Failure&) {
        return false;
    }
    // What is on disk now is what a later save keeps of the lines that stay unchanged.
    m_lines = editor::LoadedLines(bytes);
    return true;
}

void TForm1::Print1Click() {
    platform::ApplicationPrinter& printer = m_services.printer;
    const QString pdfName = suggestedPdfName(m_state.documentName);
    // Without a printer the print dialog names the PDF file, and the job writes that file.
    printer.offerJob(windowTitle(), pdfName);
    if (!m_services.printDialogs.print(printer, this))
        return;
    if (!printer.prepareJob(windowTitle(), pdfName, m_services.files, this))
        return;
    // The text area's font is sized in screen pixels, which a printer of 600 or 1200 dots per inch
    // would make a few points high: print it at the size it has on a 96-dpi screen, in points.
    QTextDocument* document = RichEdit1->document();
    const QFont screenFont = document->defaultFont();
    QFont paperFont = screenFont;
    if (screenFont.pixelSize() > 0)
        paperFont.setPointSizeF(screenFont.pixelSize() * 72.0 / 96.0);
    document->setDefaultFont(paperFont);
    RichEdit1->print(&printer.printer());
    document->setDefaultFont(screenFont);
    if (printer.printer().printerState() == QPrinter::Error) {
        const QString target =
            printer.isPdf() ? printer.printer().outputFileName() : printer.printer().printerName();
        m_services.messages.generalError(text::cannotCreateText(toUtf8(target)));
    }
}

void TForm1::FOTRAN1Click() {
    if (m_state.documentName.empty()) {
        m_services.messages.plain(editor::kNothingToPrintMessage);
        return;
    }
    m_prtForm->setTitle(fromUtf8(m_state.openedFileName));
    m_services.modal.exec(*m_prtForm);
}

void TForm1::Exit1Click(QObject* /*sender*/) {
    // A Save As that is cancelled or fails keeps the application open: nothing typed is lost.
    if (!offerToSave(&TForm1::saveAs))
        return;
    m_ending = true;
    emit applicationEnding();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!m_ending && !offerToSave(&TForm1::saveAs)) {
        event->ignore();
        return;
    }
    event->accept();
    if (!m_ending) {
        m_ending = true;
        emit applicationEnding();
    }
}

// --- 編集 ---

void TForm1::Undo1Click() {
    // The text area keeps one level of undo: undo the last step, then forget the older ones.
    RichEdit1->undo();
    QTextDocument* document = RichEdit1->document();
    document->clearUndoRedoStacks();
    // The document remembers its clean state as a place in the undo history. With the history
    // gone that place means nothing, and a later undo could land on it and clear the flag of a
    // text that differs from the file; anchor the flag afresh at the emptied history.
    const bool modified = document->isModified();
    document->setModified(!modified);
    document->setModified(modified);
}

void TForm1::Copy1Click() {
    const QString selection = RichEdit1->textCursor().selectedText();
    if (selection.isEmpty())
        return;
    m_services.clipboard.setText(withNewlines(selection));
}

void TForm1::Cut1Click() {
    QTextCursor cursor = RichEdit1->textCursor();
    if (!cursor.hasSelection())
        return;
    m_services.clipboard.setText(withNewlines(cursor.selectedText()));
    cursor.removeSelectedText();
    RichEdit1->setTextCursor(cursor);
}

void TForm1::Paste1Click() {
    const QString pasted = m_services.clipboard.text();
    if (pasted.isEmpty())
        return;
    insertAsOneStep(withNewlines(pasted));
}

void TForm1::insertAsOneStep(const QString& text) {
    QTextCursor cursor = RichEdit1->textCursor();
    cursor.beginEditBlock();
    cursor.insertText(text);
    // The document merges an insertion into the one just before it when the two adjoin, so typing
    // after a paste would be undone together with it. An undo item that does nothing, last in the
    // paste's step, keeps the typing out.
    RichEdit1->document()->appendUndoItem(new StepEnd);
    cursor.endEditBlock();
    RichEdit1->setTextCursor(cursor);
    RichEdit1->ensureCursorVisible();
}

void TForm1::flnmpaste1Click() {
    QString initialFolder;
    if (!m_state.referenceFileName.empty())
        initialFolder = fromUtf8(text::folderPart(m_state.referenceFileName));
    else if (!m_state.documentName.empty())
        initialFolder = fromUtf8(text::folderPart(m_state.documentName));
    const auto choice = m_services.files.open(openDialog2Options(initialFolder), this);
    if (!choice)
        return;
    setModified(true);
    insertAsOneStep(choice->path);
    m_state.referenceFileName = toUtf8(choice->path);
}

void TForm1::Find1Click() {
    openSearchDialog(*finddialog1);
}

void TForm1::Replace1Click() {
    openSearchDialog(*ReplaceDialog1);
}

void TForm1::openSearchDialog(editor::SearchDialog& dialog) {
    // The top-left corner of the screen, open or not.
    dialog.move(0, 0);
    if (dialog.isVisible()) {
        // What stands in an open dialog is what the next search uses: only bring it forward.
        dialog.raise();
        dialog.activateWindow();
        return;
    }
    const QTextCursor cursor = RichEdit1->textCursor();
    if (cursor.hasSelection())
        dialog.setFindText(withNewlines(cursor.selectedText()));
    dialog.setMatchCase(true);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

// --- 検索, 置き換え ---

int TForm1::findFrom(const editor::SearchDialog& dialog, int start) const {
    const QString text = RichEdit1->toPlainText();
    const QString pattern = dialog.findText();
    const auto found = editor::findForward(utf16Of(text), static_cast<std::size_t>(std::max(start, 0)),
                                           utf16Of(pattern), letterCaseOf(dialog));
    return found ? static_cast<int>(*found) : -1;
}

void TForm1::selectFound(int position, int length) {
    RichEdit1->setFocus();
    QTextCursor cursor = RichEdit1->textCursor();
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    RichEdit1->setTextCursor(cursor);
}

void TForm1::findNext(const editor::SearchDialog& dialog, int start, platform::MessageKind box) {
    const int found = findFrom(dialog, start);
    if (found < 0) {
        const std::string text = editor::notFoundText(toUtf8(dialog.findText()));
        if (box == platform::MessageKind::Error)
            m_services.messages.error(text);
        else
            m_services.messages.plain(text);
        return;
    }
    selectFound(found, static_cast<int>(dialog.findText().size()));
}

void TForm1::FindDialog1Find() {
    // With nothing selected the find dialog starts at the beginning, wherever the caret is.
    const QTextCursor cursor = RichEdit1->textCursor();
    findNext(*finddialog1, cursor.hasSelection() ? cursor.selectionEnd() : 0, platform::MessageKind::Plain);
}

void TForm1::ReplaceDialog1Find() {
    const QTextCursor cursor = RichEdit1->textCursor();
    findNext(*ReplaceDialog1, cursor.hasSelection() ? cursor.selectionEnd() : cursor.position(),
             platform::MessageKind::Error);
}

void TForm1::ReplaceDialog1Replace() {
    // Each action starts at the selection itself, so the occurrence Find Next selected is the one
    // replaced.
    const int start = RichEdit1->textCursor().selectionStart();
    std::size_t count = 0;
    if (ReplaceDialog1->replaceOption() == editor::SearchDialog::ReplaceOption::ReplaceAll) {
        count = replaceAllFrom(start);
    } else if (const int found = findFrom(*ReplaceDialog1, start); found >= 0) {
        selectFound(found, static_cast<int>(ReplaceDialog1->findText().size()));
        const QString replacement = ReplaceDialog1->replaceText();
        QTextCursor cursor = RichEdit1->textCursor();
        cursor.insertText(replacement);
        selectFound(found, static_cast<int>(replacement.size()));
        return;
    }
    m_services.messages.plain(editor::noLongerFoundText(toUtf8(ReplaceDialog1->findText()), count));
    ReplaceDialog1->setReplaceOption(editor::SearchDialog::ReplaceOption::Replace);
}

// Replace All as one edit of the text area: one step to undo, one change to recolour. Each search
// after a replacement starts behind it, where the text is as it was, so the occurrences are those
// of the text before the first replacement, taken one after the other.
std::size_t TForm1::replaceAllFrom(int start) {
    const QString text = RichEdit1->toPlainText();
    const QString pattern = ReplaceDialog1->findText();
    const QString replacement = ReplaceDialog1->replaceText();
    const std::vector<std::size_t> found =
        editor::occurrencesFrom(utf16Of(text), static_cast<std::size_t>(std::max(start, 0)), utf16Of(pattern),
                                letterCaseOf(*ReplaceDialog1));
    if (found.empty())
        return 0;
    RichEdit1->setFocus();
    QTextCursor cursor(RichEdit1->document());
    cursor.beginEditBlock();
    const auto growth = static_cast<qsizetype>(replacement.size()) - pattern.size();
    qsizetype shift = 0;
    for (const std::size_t at : found) {
        const qsizetype position = static_cast<qsizetype>(at) + shift;
        cursor.setPosition(static_cast<int>(position));
        cursor.setPosition(static_cast<int>(position + pattern.size()), QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
        shift += growth;
    }
    cursor.endEditBlock();
    // The last replacement stays selected.
    const int last = static_cast<int>(static_cast<qsizetype>(found.back()) + shift - growth);
    selectFound(last, static_cast<int>(replacement.size()));
    return found.size();
}

// --- ﾌﾟﾛｸﾞﾗﾑの実行, 結果図の作図, ヘルプ ---

void TForm1::N1Click() {
    if (!m_state.runFile) {
        m_services.messages.plain(editor::kNotRunFileMessage);
        return;
    }
    if (isModified()) {
        if (m_state.documentName.empty() || m_state.documentName == editor::kNewFileName) {
            // The run goes on with whatever name the dialog leaves, saved or not.
            saveAs();
        } else {
            if (!m_services.messages.confirm(editor::kSaveChangesQuestion))
                return;
            if (!writeDocument(m_state.documentName)) {
                m_services.messages.generalError(text::cannotCreateText(m_state.documentName));
                return;
            }
            setWindowTitle(fromUtf8(text::fileNamePart(m_state.documentName)));
            cmtflgchk();
            setModified(false);
        }
    }
    const zelkova::runner::RunRequest request{m_state.documentName, m_state.openedFileName,
                                              [this] { return viewerCaption(); }};
    try {
        (void)zelkova::runner::runRunFile(request, m_services.messages, m_services.processes);
    } catch (const text::Failure& failure) {
        m_services.messages.generalError(failure.what());
    }
}

std::string TForm1::viewerCaption() const {
    return m_plotViewer ? m_plotViewer->viewerCaption() : std::string(kDefaultViewerCaption);
}

void TForm1::N4Click() {
    if (!m_plotViewer)
        return;
    hide();
    m_plotViewer->show();
}

void TForm1::Help1Click() {
    TForm3 help(m_services, this);
    m_services.modal.exec(help);
}

// --- Run-file detection, colouring, indicators ---

void TForm1::sciflgchk() {
    const QTextDocument* document = RichEdit1->document();
    m_state.runFile = zelkova::runner::hasMarkerLine(lineCount(), [document](std::size_t line) -> char32_t {
        const QString lineText = document->findBlockByNumber(static_cast<int>(line)).text();
        return lineText.isEmpty() ? 0 : lineText.front().unicode();
    });
}

void TForm1::cmtflgchk() {
    if (!m_state.runFile)
        return;
    m_state.colouringGuard = editor::ColouringGuard::Recolouring;
    const bool wasModified = isModified();
    const std::size_t lines = lineCount();
    std::vector<char32_t> firstCharacters;
    firstCharacters.reserve(lines);
    QTextBlock block = RichEdit1->document()->firstBlock();
    for (std::size_t i = 0; i < lines && block.isValid(); ++i, block = block.next()) {
        const QString lineText = block.text();
        firstCharacters.push_back(lineText.isEmpty() ? 0 : lineText.front().unicode());
    }
    m_highlighter->paint(RichEdit1->document(), editor::colourLines(firstCharacters));
    if (!wasModified)
        setModified(false);
    m_state.colouringGuard = editor::ColouringGuard::Idle;
}

void TForm1::RichEdit1Change() {
    if (editor::isExaminedForRunFile(lineCount()) && !m_state.runFile)
        sciflgchk();
    if (m_state.colouringGuard == editor::ColouringGuard::Idle && m_state.runFile)
        m_state.recolourRequest = true;
}

void TForm1::Timer1Timer() {
    Timer1->setInterval(500);
    if (m_state.recolourRequest)
        cmtflgchk();
    m_state.recolourRequest = false;
}

void TForm1::RichEdit1KeyDown() {
    refreshIndicators();
}

void TForm1::RichEdit1MouseDown() {
    refreshIndicators();
}

void TForm1::refreshIndicators() {
    refreshPageIndicator();
    refreshPositionIndicator();
}

void TForm1::refreshPageIndicator() {
    const QTextCursor cursor = RichEdit1->textCursor();
    const int line = RichEdit1->document()->findBlock(cursor.selectionStart()).blockNumber();
    page1->setTitle(
        fromUtf8(editor::pageText(m_pageTable.pageOf(static_cast<std::size_t>(std::max(line, 0))))));
}

void TForm1::refreshPositionIndicator() {
    const int caret = RichEdit1->textCursor().selectionEnd();
    const QTextBlock block = RichEdit1->document()->findBlock(caret);
    const auto line = static_cast<std::size_t>(std::max(block.blockNumber(), 0)) + 1;
    const auto column = static_cast<std::size_t>(std::max(caret - block.position(), 0)) + 1;
    m_statusPanel->setText(fromUtf8(editor::positionText(line, column)));
}

void TForm1::showPopupMenu(const QPoint& position) {
    PopupMenu1->popup(RichEdit1->viewport()->mapToGlobal(position));
}
