// The plot viewer window: its components, opening a plot file, the next figure, leaving and help.
#include "plot/qt/TForm2.h"

#include "help/TForm3.h"
#include "platform/qt/Named.h"
#include "platform/qt/QtText.h"
#include "plot/qt/PainterCanvas.h"
#include "plot/qt/ViewImage.h"
#include "text/Paths.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

#include <exception>

using namespace zelkova;
using platform::named;

namespace {
constexpr int kClientWidth = 688;
constexpr int kClientHeight = 469;

std::string nativeName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
} // namespace

TForm2::TForm2(platform::Services& services, const std::string& openedFileName, QWidget* parent)
    : QMainWindow(parent), m_services(services) {
    setObjectName(QStringLiteral("Form2"));
    m_session.setImageLoader(&m_imageFiles);
    setWindowTitle(QString::fromUtf8(kDefaultViewerCaption));
    // Left only through its menu: no system menu, no close box, a fixed size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    Image1 = named(new plot::ViewImage(kClientWidth, kClientHeight, client), "Image1");
    Image1->move(0, 0);
    buildSettingsPanels(client);
    buildButtonBar(client);
    setCentralWidget(client);
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    wireNavigation();
    wireOutput();
    wireSettings();

    FormCreate(openedFileName);
}

TForm2::~TForm2() {
    FormDestroy();
}

void TForm2::buildMenus() {
    QMenuBar* bar = menuBar();

    plot1 = named(bar->addMenu(QStringLiteral("ファイル")), "plot1");
    file1 = named(plot1->addAction(QStringLiteral("JW_CAD外部変形用ﾃｷｽﾄﾃﾞｰﾀを読み込み作図する。")), "file1");
    plot1->addSeparator();
    N1 = named(plot1->addAction(QStringLiteral("（工事中）現図の全体ををﾌｧｲﾙへ保存する。")), "N1");
    N5 = named(plot1->addAction(QStringLiteral("（工事中）画面上の図のみﾌｧｲﾙへ保存する。")), "N5");
    plot1->addSeparator();
    Zelkova1 = named(plot1->addAction(QStringLiteral("Zelkovaを終了する。")), "Zelkova1");

    next1 = named(bar->addMenu(QStringLiteral("次の図を作図")), "next1");
    N2 = named(next1->addAction(QStringLiteral("現在の図は消えます。ＯＫ")), "N2");

    Print1 = named(bar->addMenu(QStringLiteral("図の印刷")), "Print1");
    prtorg = named(Print1->addAction(QStringLiteral("・　画面上の図を印刷する。（Ａ４横100％時に概ね実寸）")),
                   "prtorg");
    prtset = named(Print1->addAction(QStringLiteral("・　プリンターの変更（用紙縦だと画面左半分となる）。")),
                   "prtset");

    MOVE1 = named(bar->addMenu(QStringLiteral("図の調整")), "MOVE1");
    movechg = named(MOVE1->addMenu(QStringLiteral("移動量変更")), "movechg");
    move05 = named(movechg->addAction(QStringLiteral("　５％")), "move05");
    move20 = named(movechg->addAction(QStringLiteral("２０％")), "move20");
    move50 = named(movechg->addAction(QStringLiteral("５０％")), "move50");
    move100 = named(movechg->addAction(QStringLiteral("100％")), "move100");
    scallchg = named(MOVE1->addMenu(QStringLiteral("拡大(縮小)量変更")), "scallchg");
    scall110 = named(scallchg->addAction(QStringLiteral("１１０％　（９０％）")), "scall110");
    scall141 = named(scallchg->addAction(QStringLiteral("１４１％　（７１％）")), "scall141");
    scall200 = named(scallchg->addAction(QStringLiteral("２００％　（５０％）")), "scall200");
    MOVE1->addSeparator();
    N8 = named(MOVE1->addMenu(QStringLiteral("レーヤーの扱い方法")), "N8");
    N9 = named(N8->addAction(QStringLiteral("レーヤー毎に図を変える")), "N9");
    N10 = named(N8->addAction(QStringLiteral("全レーヤー重ねて作図")), "N10");
    N12 = named(MOVE1->addAction(QStringLiteral("縮尺設定")), "N12");
    for (QAction* item : {move05, move20, move50, move100, scall110, scall141, scall200, N9, N10})
        item->setCheckable(true);
    move20->setChecked(true);
    scall141->setChecked(true);
    N9->setChecked(true);

    clrchg = named(bar->addMenu(QStringLiteral("色表示変更")), "clrchg");
    mnclrchg = named(clrchg->addAction(QStringLiteral("白黒表示に変更（次図から）")), "mnclrchg");
    mncolorset = named(clrchg->addAction(QStringLiteral("線色、線幅変更（次図から）")), "mncolorset");
    N11 = named(clrchg->addAction(QStringLiteral("（変更は次の図を作図かファイル読み込みまで適用されない）")),
                "N11");

    back1 = named(bar->addMenu(QStringLiteral("編集画面へ戻る")), "back1");
    mnback = named(back1->addAction(QStringLiteral("作図ﾌｧｲﾙを閉じて編集画面に戻る。")), "mnback");

    Copy1 = named(bar->addMenu(QStringLiteral("図のコピー")), "Copy1");
    N7 = named(Copy1->addAction(QStringLiteral("左ドラッグ範囲をビップマップとしてコピーする。")), "N7");
    N6 = named(Copy1->addAction(QStringLiteral("左ドラッグ範囲をメタファイルとしてコピする。")), "N6");

    Help1 = named(bar->addAction(QStringLiteral("ヘルプ")), "Help1");

    connect(file1, &QAction::triggered, this, &TForm2::file1Click);
    connect(N2, &QAction::triggered, this, &TForm2::next1Click);
    connect(mnback, &QAction::triggered, this, &TForm2::back1Click);
    connect(Zelkova1, &QAction::triggered, this, &TForm2::Exit1Click);
    connect(Help1, &QAction::triggered, this, &TForm2::Help1Click);
}

void TForm2::FormCreate(const std::string& openedFileName) {
    if (!openedFileName.empty())
        m_initialFolder = platform::fromUtf8(text::folderPart(openedFileName));
    m_state.moveFraction = plot::kDefaultMoveFraction;
    m_state.zoomStep = plot::kDefaultZoomStep;
    penColourNamesFromSwatches();
}

void TForm2::FormDestroy() {
    if (m_session.isOpen()) {
        try {
            m_session.close();
        } catch (const std::exception&) {
            // nothing can be reported while the window goes away
        }
    }
}

void TForm2::setEditorHooks(std::function<void()> showEditor, std::function<void(QObject*)> exitApplication) {
    m_showEditor = std::move(showEditor);
    m_exitApplication = std::move(exitApplication);
}

std::string TForm2::viewerCaption() const {
    return windowTitle().toStdString();
}

void TForm2::closePlotFile() {
    setWindowTitle(QString::fromUtf8(kDefaultViewerCaption));
    m_session.close();
}

void TForm2::redisplay() {
    Image1->image().fill(Qt::white);
    if (const plot::Picture* picture = m_session.picture())
        plot::drawPicture(Image1->image(), *picture, m_state.viewRect);
    Image1->update();
    m_state.selectionFlag = false;
}

void TForm2::showFigure(plot::PlotSession::Outcome outcome, const plot::FigureSettings& settings) {
    using Outcome = plot::PlotSession::Outcome;
    setWindowTitle(m_session.isOpen() ? platform::fromUtf8(m_session.path())
                                      : QString::fromUtf8(kDefaultViewerCaption));
    if (outcome != Outcome::Drawn && outcome != Outcome::NoFurtherFigure && outcome != Outcome::FigureFailed)
        return;
    // A figure was requested: its view starts at the original view, at 100%.
    m_state.magnification = 1;
    showMagnification();
    m_state.viewRect = {0, 0, Image1->width(), Image1->height()};
    if (outcome == Outcome::FigureFailed)
        return; // not shown: the view image keeps the former figure
    m_state.scaleDenominator = plot::scaleDenominatorOf(settings.scaleText);
    if (outcome == Outcome::NoFurtherFigure) {
        m_state.selectionFlag = false; // the view image is not redrawn
        return;
    }
    redisplay();
}

void TForm2::grafplot() {
    const plot::FigureSettings settings = currentSettings();
    showFigure(m_session.next(settings, m_services.messages), settings);
}

void TForm2::file1Click() {
    if (m_session.isOpen())
        m_initialFolder = platform::fromUtf8(text::folderPart(m_session.path()));
    platform::FileDialogOptions options;
    options.objectName = QStringLiteral("OpenDialog1");
    options.initialFolder = m_initialFolder;
    options.defaultExtension = QStringLiteral(".TXT");
    options.filters = {{QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.TXT)"), QStringLiteral("*.TXT")},
                       {QStringLiteral("全てのﾌｧｲﾙ(*.*)"), QStringLiteral("*.*")}};
    const auto choice = m_services.files.open(options, this);
    if (!choice)
        return;
    const plot::FigureSettings settings = currentSettings();
    showFigure(m_session.open(nativeName(choice->path), settings, m_services.messages), settings);
}

void TForm2::next1Click() {
    if (!m_session.isOpen())
        return;
    grafplot();
}

void TForm2::back1Click() {
    if (m_session.isOpen()) {
        try {
            closePlotFile();
        } catch (const std::exception& e) {
            m_services.messages.generalError(e.what());
            return;
        }
    }
    hide();
    if (m_showEditor)
        m_showEditor();
}

void TForm2::Exit1Click() {
    if (m_session.isOpen()) {
        try {
            closePlotFile();
        } catch (const std::exception& e) {
            m_services.messages.generalError(e.what());
            return;
        }
    }
    hide();
    if (m_showEditor)
        m_showEditor();
    if (m_exitApplication)
        m_exitApplication(sender() ? sender() : Zelkova1);
}

void TForm2::Help1Click() {
    TForm3 help(m_services, this);
    m_services.modal.exec(help);
}

void TForm2::closeEvent(QCloseEvent* event) {
    // The window manager's close button, where it shows one anyway, returns to the editor rather
    // than leaving the application without a visible window.
    if (isVisible()) {
        event->ignore();
        back1Click();
        return;
    }
    event->accept();
}
