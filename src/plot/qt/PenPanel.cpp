// The pen panel's components, at their fixed places.
#include "plot/qt/PenPanel.h"

#include "platform/qt/Named.h"
#include "platform/qt/SystemColours.h"
#include "platform/qt/UpDown.h"
#include "plot/ColourNames.h"
#include "plot/ViewerState.h"
#include "plot/qt/ColourLabel.h"

#include <QLineEdit>
#include <QPushButton>

namespace zelkova::plot {

using platform::named;

namespace {
constexpr Colour kAqua = Colour::fromRgb(0, 255, 255);
constexpr std::uint32_t kWindowIndex = 5; // clWindow, the window background colour
constexpr Colour kWindowColour{platform::kSystemColourFlag | kWindowIndex};

struct Row {
    const char* captionName;
    const char* caption;
    const char* widthName;
    int top; // of the swatch and the width edit
};
constexpr std::array<Row, PenPanel::kPens> kRows{{
    {"Label1", "線色１", "Edtclw1", 54},
    {"Label2", "線色２", "Edtclw2", 93},
    {"Label3", "線色３", "Edtclw3", 132},
    {"Label4", "線色４", "Edtclw4", 170},
    {"Label5", "線色５", "edtclw5", 209},
    {"Label6", "線色６", "edtclw6", 248},
    {"Label11", "線色７", "Edtclw7", 287},
    {"Label15", "線色８", "Edtclw8", 325},
    {"Label18", "線色９", "Edtclw9", 364},
}};

constexpr int kCaptionLeft = 16;
constexpr int kSwatchLeft = 64;
constexpr int kWidthLeft = 144;
constexpr int kFieldWidth = 40;
constexpr int kFieldHeight = 20;
constexpr int kUpDownWidth = 16;

ColourLabel* heading(const char* name, const char* text, int left, int top, QWidget* parent) {
    auto* label = named(new ColourLabel(QString::fromUtf8(text), kAqua, parent), name);
    label->adjustSize();
    label->move(left, top);
    return label;
}
} // namespace

PenPanel::PenPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("colorpanel"));
    setGeometry(0, 7, 209, 434);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    // The window background colour, as the caption labels show it between picks.
    setBackgroundRole(platform::systemColourEntries()[kWindowIndex].role);
    setAutoFillBackground(true);
    // The places are fixed in pixels, so the text size is too (the desktop's face, 12 pixels).
    QFont panelFont = font();
    panelFont.setPixelSize(12);
    setFont(panelFont);

    Label13 = heading("Label13", "線色、線幅の設定変更", kCaptionLeft, 8, this);
    Label7 = heading("Label7", "変更する色をクリック", kCaptionLeft, 30, this);
    Label10 = heading("Label10", "線幅", kWidthLeft, 36, this);

    for (std::size_t n = 0; n < kRows.size(); ++n) {
        const Row& row = kRows[n];
        const std::string number = std::to_string(n + 1);
        m_captions[n] =
            named(new ColourLabel(QString::fromUtf8(row.caption), kWindowColour, this), row.captionName);
        m_captions[n]->adjustSize();
        m_captions[n]->move(kCaptionLeft, row.top + (kFieldHeight - m_captions[n]->height()) / 2);

        m_swatches[n] =
            named(new ColourLabel(QString(), kPenDefaults[n].colour, this), ("cllbl" + number).c_str());
        m_swatches[n]->setGeometry(kSwatchLeft, row.top, kFieldWidth, kFieldHeight);
        m_swatches[n]->setCursor(Qt::PointingHandCursor);

        // Under the swatch, as wide as the panel allows: the longest name is clInactiveCaptionText.
        m_nameLabels[n] = named(new QLabel(this), ("clnlbl" + number).c_str());
        m_nameLabels[n]->setGeometry(kSwatchLeft, row.top + kFieldHeight, width() - kSwatchLeft - 2, 15);

        m_widthEdits[n] =
            named(new QLineEdit(QString::fromLatin1(kPenDefaults[n].widthText), this), row.widthName);
        m_widthEdits[n]->setGeometry(kWidthLeft, row.top, kFieldWidth, kFieldHeight);
        m_upDowns[n] = named(new UpDown(m_widthEdits[n], 0, 20, this), ("UpDown" + number).c_str());
        m_upDowns[n]->setGeometry(kWidthLeft + kFieldWidth, row.top, kUpDownWidth, kFieldHeight);
    }

    Button1 = named(new QPushButton(QStringLiteral("OK"), this), "Button1");
    Button1->setGeometry(80, 400, 50, 22);
    Button1->setAutoDefault(false);
    hide();
}

} // namespace zelkova::plot
