// The plot viewer window: its components, opening a plot file, the next figure and leaving.
#include "plot/qt/TForm2.h"

#include "platform/qt/QtText.h"
#include "plot/ColourNames.h"
#include "plot/ViewerTexts.h"
#include "plot/qt/PainterCanvas.h"
#include "plot/qt/ViewImage.h"
#include "text/Paths.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <exception>

using namespace zelkova;

namespace {
constexpr int kClientWidth = 688;
constexpr int kClientHeight = 469;

template <typename T> T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// The colour a swatch holds (the no-colour value included, which QColor cannot hold).
constexpr const char* kColourProperty = "colourValue";

plot::Colour swatchColour(const QLabel* label) {
    return plot::Colour{label->property(kColourProperty).toUInt()};
}

void setSwatchColour(QLabel* label, plot::Colour colour) {
    label->setProperty(kColourProperty, colour.value);
    const plot::Colour shown = plot::drawableColour(colour);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour == plot::kNoColour
                                           ? QColor(Qt::white)
                                           : QColor(shown.red(), shown.green(), shown.blue()));
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

std::string nativeName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
} // namespace

TForm2::TForm2(platform::Services& services, const std::string& openedFileName, QWidget* parent)
    : QMainWindow(parent), m_services(services) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromUtf8(kDefaultViewerCaption));
    // Left only through its menu: no system menu, no close box, a fixed size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    Image1 = named(new plot::ViewImage(kClientWidth, kClientHeight, client), "Image1");
    Image1->move(0, 0);
    buildPanels(client);
    setCentralWidget(client);
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

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
    N1->setEnabled(false);
    N5->setEnabled(false);
    plot1->addSeparator();
    Zelkova1 = named(plot1->addAction(QStringLiteral("Zelkovaを終了する。")), "Zelkova1");

    next1 = named(bar->addMenu(QStringLiteral("次の図を作図")), "next1");
    N2 = named(next1->addAction(QStringLiteral("現在の図は消えます。ＯＫ")), "N2");

    // The items below are wired up by printing, navigation and the settings; until then they are
    // shown disabled.
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

    for (QAction* item : {prtorg, prtset, move05, move20, move50, move100, scall110, scall141, scall200, N9,
                          N10, N12, mnclrchg, mncolorset, N11, N7, N6, Help1})
        item->setEnabled(false);

    connect(file1, &QAction::triggered, this, &TForm2::file1Click);
    connect(N2, &QAction::triggered, this, &TForm2::next1Click);
    connect(mnback, &QAction::triggered, this, &TForm2::back1Click);
    connect(Zelkova1, &QAction::triggered, this, &TForm2::Exit1Click);
}

void TForm2::buildPanels(QWidget* client) {
    // The button bar over the bottom-left corner of the view image.
    Panel1 = named(new QFrame(client), "Panel1");
    Panel1->setGeometry(0, 445, 330, 24);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setAutoFillBackground(true);
    QFont bold = Panel1->font();
    bold.setBold(true);
    auto button = [this](const char* name, const QString& caption, int left, const QFont* font) {
        auto* b = named(new QPushButton(caption, Panel1), name);
        b->setGeometry(left, 5, 38, 18);
        if (font)
            b->setFont(*font);
        b->setEnabled(false); // wired up by navigation
        return b;
    };
    btnleft = button("btnleft", QStringLiteral("←"), 6, &bold);
    btnright = button("btnright", QStringLiteral("→"), 46, &bold);
    btnup = button("btnup", QStringLiteral("↑"), 86, &bold);
    btndown = button("btndown", QStringLiteral("↓"), 126, &bold);
    btnbigger = button("btnbigger", QStringLiteral("拡大"), 165, nullptr);
    btnsmaller = button("btnsmaller", QStringLiteral("縮小"), 205, nullptr);
    Edit1 = named(new QLineEdit(QStringLiteral("100%"), Panel1), "Edit1");
    Edit1->setGeometry(245, 2, 38, 20);
    Edit1->setReadOnly(true);
    btnorg = button("btnorg", QStringLiteral("原図"), 285, nullptr);

    // The pen panel, hidden until the settings show it.
    colorpanel = named(new QFrame(client), "colorpanel");
    colorpanel->setGeometry(0, 7, 209, 434);
    colorpanel->setFrameShape(QFrame::Box);
    colorpanel->setAutoFillBackground(true);
    auto* heading = named(new QLabel(QStringLiteral("線色、線幅の設定変更"), colorpanel), "Label13");
    heading->move(16, 6);
    named(new QLabel(QStringLiteral("変更する色をクリック"), colorpanel), "Label7")->move(16, 26);
    named(new QLabel(QStringLiteral("線幅"), colorpanel), "Label10")->move(144, 34);
    static const char* const kCaptionNames[9] = {"Label1", "Label2",  "Label3",  "Label4", "Label5",
                                                 "Label6", "Label11", "Label15", "Label18"};
    static const char* const kCaptions[9] = {"線色１", "線色２", "線色３", "線色４", "線色５",
                                             "線色６", "線色７", "線色８", "線色９"};
    static const char* const kWidthNames[9] = {"Edtclw1", "Edtclw2", "Edtclw3", "Edtclw4", "edtclw5",
                                               "edtclw6", "Edtclw7", "Edtclw8", "Edtclw9"};
    static const int kTops[9] = {54, 93, 132, 170, 209, 248, 287, 325, 364};
    const std::array<plot::Colour, 9> defaults{plot::Colour::fromRgb(0, 0, 0),
                                               plot::Colour::fromRgb(0, 255, 255),
                                               plot::Colour::fromRgb(255, 0, 0),
                                               plot::Colour::fromRgb(0, 0, 255),
                                               plot::Colour{33023},
                                               plot::Colour::fromRgb(0, 128, 0),
                                               plot::Colour::fromRgb(255, 0, 255),
                                               plot::Colour::fromRgb(128, 128, 128),
                                               plot::kNoColour};
    for (int n = 0; n < 9; ++n) {
        const int top = kTops[n];
        m_penCaptions[n] = named(new QLabel(QString::fromUtf8(kCaptions[n]), colorpanel), kCaptionNames[n]);
        m_penCaptions[n]->move(16, top);
        const std::string swatch = "cllbl" + std::to_string(n + 1);
        m_colourLabels[n] = named(new QLabel(colorpanel), swatch.c_str());
        m_colourLabels[n]->setGeometry(64, top, 64, 16);
        setSwatchColour(m_colourLabels[n], defaults[n]);
        const std::string name = "clnlbl" + std::to_string(n + 1);
        m_nameLabels[n] = named(new QLabel(colorpanel), name.c_str());
        m_nameLabels[n]->setGeometry(64, top + 17, 80, 16);
        m_widthEdits[n] = named(new QLineEdit(n == 0 ? QStringLiteral("2") : QStringLiteral("3"), colorpanel),
                                kWidthNames[n]);
        m_widthEdits[n]->setGeometry(144, top, 40, 21);
    }
    Button1 = named(new QPushButton(QStringLiteral("OK"), colorpanel), "Button1");
    Button1->setGeometry(80, 400, 50, 22);
    colorpanel->hide();

    // The scale panel, hidden until the settings show it.
    Panel2 = named(new QFrame(client), "Panel2");
    Panel2->setGeometry(296, 40, 233, 113);
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setAutoFillBackground(true);
    Label9 = named(new QLabel(QStringLiteral("作図ﾌｧｲﾙ読み込み時に適用する"), Panel2), "Label9");
    Label9->move(12, 12);
    Label8 = named(new QLabel(QStringLiteral("縮尺：　１／"), Panel2), "Label8");
    Label8->move(12, 52);
    Edit2 = named(new QLineEdit(QStringLiteral("1"), Panel2), "Edit2");
    Edit2->setGeometry(104, 48, 100, 21);
    Button2 = named(new QPushButton(QStringLiteral("OK"), Panel2), "Button2");
    Button2->setGeometry(184, 88, 49, 25);
    Panel2->hide();

    Panel1->raise();
}

void TForm2::FormCreate(const std::string& openedFileName) {
    if (!openedFileName.empty())
        m_initialFolder = platform::fromUtf8(text::folderPart(openedFileName));
    m_moveFraction = 0.2;
    m_zoomStep = 1.414;
    for (std::size_t n = 0; n < 9; ++n) {
        m_penColourNames[n] = plot::colourName(swatchColour(m_colourLabels[n]));
        m_nameLabels[n]->setText(QString::fromStdString(m_penColourNames[n]));
    }
}

void TForm2::FormDestroy() {
    m_picture.reset();
    if (plotFileOpen()) {
        try {
            closePlotFile();
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

bool TForm2::plotFileOpen() const {
    return windowTitle() != QString::fromUtf8(kDefaultViewerCaption);
}

void TForm2::closePlotFile() {
    std::optional<plot::Reader> reader = std::move(m_reader);
    m_reader.reset();
    setWindowTitle(QString::fromUtf8(kDefaultViewerCaption));
    if (reader)
        reader->close();
}

plot::FigureSettings TForm2::currentSettings() const {
    plot::FigureSettings s;
    s.scaleText = platform::toUtf8(Edit2->text());
    s.colourMode = m_colourMode;
    s.layerMode = m_layerMode;
    for (std::size_t n = 0; n < 9; ++n)
        s.penWidthTexts[n] = platform::toUtf8(m_widthEdits[n]->text());
    s.penColourNames = m_penColourNames;
    // Qt's logical pixels are those of a 96-dpi screen, so figures do not depend on the monitor.
    s.dpiX = 96;
    s.dpiY = 96;
    return s;
}

void TForm2::showMagnification() {
    // The percent box: the magnification × 100 without decimals (exponent form belongs to zooming).
    Edit1->setText(QString::number(m_magnification * 100, 'f', 0) + QLatin1Char('%'));
}

void TForm2::redisplay() {
    Image1->image().fill(Qt::white);
    if (m_picture)
        plot::drawPicture(Image1->image(), *m_picture, m_viewRect);
    Image1->update();
    m_selectionFlag = false;
}

void TForm2::grafplot() {
    if (!m_reader)
        return;
    m_viewRect = {0, 0, Image1->width(), Image1->height()};
    const plot::FigureSettings settings = currentSettings();
    auto picture = std::make_unique<plot::Picture>();
    plot::FigureEnd end;
    try {
        end = plot::readFigure(*m_reader, *picture, settings, m_services.messages, m_textHandler);
    } catch (...) {
        m_picture = std::move(picture); // what was recorded before the error, not shown
        throw;
    }
    m_picture = std::move(picture);
    m_scaleDenominator = plot::scaleDenominatorOf(settings.scaleText);
    if (end == plot::FigureEnd::NoFurtherFigure) {
        m_selectionFlag = false;
        return;
    }
    redisplay();
}

void TForm2::file1Click() {
    try {
        if (plotFileOpen())
            m_initialFolder = platform::fromUtf8(text::folderPart(viewerCaption()));
        platform::FileDialogOptions options;
        options.objectName = QStringLiteral("OpenDialog1");
        options.initialFolder = m_initialFolder;
        options.defaultExtension = QStringLiteral(".TXT");
        options.filters = {{QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.TXT)"), QStringLiteral("*.TXT")},
                           {QStringLiteral("全てのﾌｧｲﾙ(*.*)"), QStringLiteral("*.*")}};
        const auto choice = m_services.files.open(options, this);
        if (!choice)
            return;
        const std::string path = nativeName(choice->path);
        if (!text::existsAsFile(path)) {
            m_services.messages.plain(plot::kFileNotFoundText);
            return;
        }
        if (plotFileOpen())
            closePlotFile();
        m_reader.emplace(plot::Reader::openFile(path));
        setWindowTitle(choice->path);
        if (m_reader->seekStartMarker()) {
            m_magnification = 1;
            showMagnification();
            grafplot();
        } else {
            m_services.messages.plain(plot::kNotAPlotFileText);
        }
    } catch (const std::exception&) {
        m_services.messages.plain(plot::kCannotOpenForErrorText);
    }
}

void TForm2::next1Click() {
    if (!plotFileOpen())
        return;
    m_magnification = 1;
    showMagnification();
    try {
        grafplot();
    } catch (const std::exception& e) {
        m_services.messages.generalError(e.what());
    }
}

void TForm2::back1Click() {
    if (plotFileOpen()) {
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
    if (plotFileOpen()) {
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
