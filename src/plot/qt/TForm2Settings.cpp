// The plot viewer's settings: colour display, the pen panel, the layer mode and the scale panel.
// Nothing here redraws the view: every setting is read by the next figure drawn.
#include "plot/qt/TForm2.h"

#include "platform/qt/QtText.h"
#include "plot/ColourNames.h"
#include "plot/qt/ColourLabel.h"
#include "plot/qt/PenPanel.h"
#include "plot/qt/ScalePanel.h"
#include "text/Failure.h"
#include "text/Numbers.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <cassert>

using namespace zelkova;

namespace {
const QString kToMonochrome = QStringLiteral("白黒表示に変更（次図から）");
const QString kToColour = QStringLiteral("カラー表示に変更（次図から）");

plot::Colour namedColour(std::string_view name) {
    const auto colour = plot::colourFromName(name);
    assert(colour && "a name of the colour name table");
    return *colour;
}
} // namespace

void TForm2::buildSettingsPanels(QWidget* client) {
    colorpanel = new plot::PenPanel(client);
    Panel2 = new plot::ScalePanel(client);
}

void TForm2::wireSettings() {
    connect(mnclrchg, &QAction::triggered, this, &TForm2::mnclrchgClick);
    connect(mncolorset, &QAction::triggered, this, &TForm2::mncolorsetClick);
    connect(colorpanel->okButton(), &QPushButton::clicked, this, &TForm2::Button1Click);
    const std::array<void (TForm2::*)(), plot::PenPanel::kPens> swatchClicks{
        &TForm2::cllbl1Click, &TForm2::cllbl2Click, &TForm2::cllbl3Click,
        &TForm2::cllbl4Click, &TForm2::cllbl5Click, &TForm2::cllbl6Click,
        &TForm2::cllbl7Click, &TForm2::cllbl8Click, &TForm2::cllbl9Click};
    for (int pen = 1; pen <= plot::PenPanel::kPens; ++pen)
        connect(colorpanel->swatch(pen), &plot::ColourLabel::clicked, this,
                swatchClicks[static_cast<std::size_t>(pen - 1)]);
    // N11 only tells when changes apply; it has no command.

    // The two layer modes are radio items: choosing the checked one again keeps it checked.
    auto* layerModes = new QActionGroup(N8);
    layerModes->setExclusive(true);
    layerModes->addAction(N9);
    layerModes->addAction(N10);
    connect(N9, &QAction::triggered, this, &TForm2::N9Click);
    connect(N10, &QAction::triggered, this, &TForm2::N10Click);
    connect(N12, &QAction::triggered, this, &TForm2::N12Click);
    connect(Panel2->okButton(), &QPushButton::clicked, this, &TForm2::Button2Click);
    connect(Panel2->scaleEdit(), &QLineEdit::returnPressed, this, &TForm2::Button2Click);
}

plot::FigureSettings TForm2::currentSettings() const {
    plot::FigureSettings s;
    s.scaleText = platform::toUtf8(Panel2->scaleEdit()->text());
    s.colourMode = m_state.colourMode;
    s.layerMode = m_state.layerMode;
    for (int pen = 1; pen <= plot::PenPanel::kPens; ++pen)
        s.penWidthTexts[static_cast<std::size_t>(pen - 1)] =
            platform::toUtf8(colorpanel->widthEdit(pen)->text());
    s.penColourNames = m_state.penColourNames;
    // Qt's logical pixels are those of a 96-dpi screen, so figures do not depend on the monitor.
    s.dpiX = 96;
    s.dpiY = 96;
    return s;
}

void TForm2::penColourNamesFromSwatches() {
    for (int pen = 1; pen <= plot::PenPanel::kPens; ++pen) {
        const std::string name = plot::colourName(colorpanel->swatch(pen)->colour());
        m_state.penColourNames[static_cast<std::size_t>(pen - 1)] = name;
        colorpanel->nameLabel(pen)->setText(QString::fromStdString(name));
    }
}

void TForm2::mnclrchgClick() {
    if (mnclrchg->text() == kToMonochrome) {
        mnclrchg->setText(kToColour);
        m_state.colourMode = false;
    } else {
        mnclrchg->setText(kToMonochrome);
        m_state.colourMode = true;
    }
}

void TForm2::mncolorsetClick() {
    colorpanel->show();
    colorpanel->raise();
}

void TForm2::Button1Click() {
    colorpanel->hide();
}

void TForm2::pickPenColour(int pen) {
    plot::ColourLabel* swatch = colorpanel->swatch(pen);
    plot::ColourLabel* caption = colorpanel->caption(pen);
    const plot::Colour preset = swatch->colour();
    // The row being edited shows in the desktop colour while the dialog is open.
    caption->setColour(namedColour("clbackground"));
    const auto chosen = m_services.colours.chooseColour(preset.value, this);
    // Cancelled, the dialog still holds the preset: the colour stays and only its name is renewed.
    const plot::Colour colour = chosen ? plot::Colour{*chosen} : preset;
    swatch->setColour(colour);
    const std::string name = plot::colourName(colour);
    m_state.penColourNames[static_cast<std::size_t>(pen - 1)] = name;
    colorpanel->nameLabel(pen)->setText(QString::fromStdString(name));
    caption->setColour(namedColour("clwindow"));
}

void TForm2::cllbl1Click() {
    pickPenColour(1);
}
void TForm2::cllbl2Click() {
    pickPenColour(2);
}
void TForm2::cllbl3Click() {
    pickPenColour(3);
}
void TForm2::cllbl4Click() {
    pickPenColour(4);
}
void TForm2::cllbl5Click() {
    pickPenColour(5);
}
void TForm2::cllbl6Click() {
    pickPenColour(6);
}
void TForm2::cllbl7Click() {
    pickPenColour(7);
}
void TForm2::cllbl8Click() {
    pickPenColour(8);
}
void TForm2::cllbl9Click() {
    pickPenColour(9);
}

void TForm2::N9Click() {
    N9->setChecked(true);
    N10->setChecked(false);
    m_state.layerMode = true;
}

void TForm2::N10Click() {
    N9->setChecked(false);
    N10->setChecked(true);
    m_state.layerMode = false;
}

void TForm2::N12Click() {
    Panel2->show();
    Panel2->raise();
}

void TForm2::Button2Click() {
    Panel2->hide();
    // Any number is taken, zero and negative ones too; a text that is not a number keeps the
    // former scale. The next figure reads the box again either way.
    const std::string text = platform::toUtf8(Panel2->scaleEdit()->text());
    try {
        m_state.scaleDenominator = text::toReal(text);
    } catch (const text::Failure& failure) {
        m_services.messages.generalError(failure.what());
    }
}
