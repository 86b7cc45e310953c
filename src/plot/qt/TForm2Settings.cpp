// The plot viewer's settings: colour display, the pen panel, the layer mode and the scale panel.
#include "plot/qt/TForm2.h"

#include "platform/qt/Named.h"
#include "platform/qt/QtText.h"
#include "plot/ColourNames.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace zelkova;
using platform::named;

namespace {
// The colour a swatch holds (the no-colour value included, which QColor cannot hold).
constexpr const char* kColourProperty = "colourValue";

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
} // namespace

void TForm2::buildSettingsPanels(QWidget* client) {
    // The pen panel, hidden until 線色、線幅変更 shows it.
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
    for (std::size_t n = 0; n < 9; ++n) {
        const int top = kTops[n];
        m_penCaptions[n] = named(new QLabel(QString::fromUtf8(kCaptions[n]), colorpanel), kCaptionNames[n]);
        m_penCaptions[n]->move(16, top);
        const std::string swatch = "cllbl" + std::to_string(n + 1);
        m_colourLabels[n] = named(new QLabel(colorpanel), swatch.c_str());
        m_colourLabels[n]->setGeometry(64, top, 64, 16);
        setSwatchColour(m_colourLabels[n], plot::kPenDefaults[n].colour);
        const std::string name = "clnlbl" + std::to_string(n + 1);
        m_nameLabels[n] = named(new QLabel(colorpanel), name.c_str());
        m_nameLabels[n]->setGeometry(64, top + 17, 80, 16);
        m_nameLabels[n]->setText(QString::fromStdString(m_state.penColourNames[n]));
        m_widthEdits[n] = named(
            new QLineEdit(QString::fromLatin1(plot::kPenDefaults[n].widthText), colorpanel), kWidthNames[n]);
        m_widthEdits[n]->setGeometry(144, top, 40, 21);
    }
    Button1 = named(new QPushButton(QStringLiteral("OK"), colorpanel), "Button1");
    Button1->setGeometry(80, 400, 50, 22);
    colorpanel->hide();

    // The scale panel, hidden until 縮尺設定 shows it.
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
}

void TForm2::wireSettings() {
    for (QAction* item : {N9, N10, N12, mnclrchg, mncolorset, N11})
        item->setEnabled(false);
}

plot::FigureSettings TForm2::currentSettings() const {
    plot::FigureSettings s;
    s.scaleText = platform::toUtf8(Edit2->text());
    s.colourMode = m_state.colourMode;
    s.layerMode = m_state.layerMode;
    for (std::size_t n = 0; n < 9; ++n)
        s.penWidthTexts[n] = platform::toUtf8(m_widthEdits[n]->text());
    s.penColourNames = m_state.penColourNames;
    // Qt's logical pixels are those of a 96-dpi screen, so figures do not depend on the monitor.
    s.dpiX = 96;
    s.dpiY = 96;
    return s;
}

void TForm2::mnclrchgClick() {}
void TForm2::mncolorsetClick() {}
void TForm2::Button1Click() {}
void TForm2::N9Click() {}
void TForm2::N10Click() {}
void TForm2::N12Click() {}
void TForm2::Button2Click() {}
