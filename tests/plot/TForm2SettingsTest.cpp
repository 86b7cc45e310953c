// Shows that the plot viewer's settings (colour display, the pen panel with its colour dialog and
// width edits, the layer mode and the scale panel) change nothing on screen and apply from the next
// figure drawn, with the panels' components at their places and the dialog scripted.
#include "GuiHelpers.h"
#include "ScriptedServices.h"
#include "TempDir.h"

#include "platform/qt/UpDown.h"
#include "plot/ColourNames.h"
#include "plot/qt/ColourLabel.h"
#include "plot/qt/TForm2.h"
#include "plot/qt/ViewImage.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using zelkova::platform::MessageKind;
using zelkova::plot::ColourLabel;
using zelkova::testing::child;
using zelkova::testing::ScriptedServices;
using zelkova::testing::TempDir;
using zelkova::testing::trigger;

constexpr std::uint32_t kBackgroundValue = 0x80000001; // clBackground
constexpr std::uint32_t kWindowValue = 0x80000005;     // clWindow

// Three layers: a horizontal line in pen 3 (red), a vertical one in pen 5, a diagonal in pen 3.
constexpr const char* kThreeLayers = "ly0\r\nlc3\r\n 0 100 287 100\r\n"
                                     "ly1\r\nlc5\r\n 143.5 0 143.5 200\r\n"
                                     "ly2\r\nlc3\r\n 0 0 287 200\r\n";
// Where the view image shows each layer's line, away from the others.
constexpr QPoint kHorizontal{100, 234};
constexpr QPoint kVertical{344, 100};

class ViewerSettings : public ::testing::Test {
protected:
    ViewerSettings() {
        viewer = std::make_unique<TForm2>(s.services, std::string());
        viewer->show();
    }
    void open(const char* contents = kThreeLayers) {
        s.files.chooseNext(QString::fromStdString(dir.write("plot.txt", contents)));
        trigger(viewer.get(), "file1");
    }
    QRgb pixel(QPoint p) {
        return child<zelkova::plot::ViewImage>(viewer.get(), "Image1")->image().pixel(p) & 0xFFFFFF;
    }
    QWidget* widget(const char* name) { return child<QWidget>(viewer.get(), name); }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(viewer.get(), name); }
    ColourLabel* colourLabel(const char* name) { return child<ColourLabel>(viewer.get(), name); }
    std::string labelText(const char* name) {
        return child<QLabel>(viewer.get(), name)->text().toStdString();
    }
    void click(const char* name) { QTest::mouseClick(widget(name), Qt::LeftButton); }
    void type(const char* name, const char* text) {
        edit(name)->selectAll();
        QTest::keyClicks(edit(name), QString::fromUtf8(text));
    }

    ScriptedServices s;
    TempDir dir;
    std::unique_ptr<TForm2> viewer;
};

TEST_F(ViewerSettings, ThePanelsStartHiddenAndTheirItemsShowThemOverTheFigure) {
    EXPECT_FALSE(widget("colorpanel")->isVisible());
    EXPECT_FALSE(widget("Panel2")->isVisible());
    EXPECT_EQ(widget("colorpanel")->geometry(), QRect(0, 7, 209, 434));
    EXPECT_EQ(widget("Panel2")->geometry(), QRect(296, 40, 233, 113));
    EXPECT_EQ(widget("Button1")->geometry(), QRect(80, 400, 50, 22));
    EXPECT_EQ(widget("Button2")->geometry(), QRect(184, 88, 49, 25));
    EXPECT_EQ(widget("cllbl1")->geometry(), QRect(64, 54, 40, 20));
    EXPECT_EQ(widget("cllbl9")->geometry(), QRect(64, 364, 40, 20));
    EXPECT_EQ(widget("edtclw6")->geometry(), QRect(144, 248, 40, 20));
    EXPECT_EQ(widget("UpDown6")->geometry().topLeft(), QPoint(184, 248)); // attached on the right
    EXPECT_EQ(widget("Label18")->x(), 16);

    open();
    const QRgb before = pixel(kHorizontal);
    trigger(viewer.get(), "mncolorset");
    EXPECT_TRUE(widget("colorpanel")->isVisible());
    QTest::mouseClick(child<QPushButton>(viewer.get(), "Button1"), Qt::LeftButton);
    EXPECT_FALSE(widget("colorpanel")->isVisible());
    trigger(viewer.get(), "N12");
    EXPECT_TRUE(widget("Panel2")->isVisible());
    QTest::mouseClick(child<QPushButton>(viewer.get(), "Button2"), Qt::LeftButton);
    EXPECT_FALSE(widget("Panel2")->isVisible());
    EXPECT_EQ(pixel(kHorizontal), before);
    EXPECT_TRUE(s.messages.shown().empty());
    trigger(viewer.get(), "N11"); // it only tells when changes apply
    EXPECT_TRUE(s.messages.shown().empty());
}

TEST_F(ViewerSettings, NothingOnThePanelsIsClippedOrCoveredByAnother) {
    // The longest colour name under a swatch.
    child<QLabel>(viewer.get(), "clnlbl4")->setText(QStringLiteral("clInactiveCaptionText"));
    for (const char* panelName : {"colorpanel", "Panel2"}) {
        QWidget* panel = widget(panelName);
        const QList<QWidget*> parts = panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_GT(parts.size(), 3);
        for (QWidget* part : parts) {
            const std::string name = part->objectName().toStdString();
            EXPECT_TRUE(panel->rect().contains(part->geometry())) << name;
            if (auto* label = qobject_cast<QLabel*>(part)) {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << name;
                EXPECT_LE(label->fontMetrics().height(), label->height()) << name;
            }
            for (QWidget* other : parts) {
                const bool overlap = other != part && part->geometry().intersects(other->geometry());
                EXPECT_FALSE(overlap) << name << " and " << other->objectName().toStdString();
            }
        }
    }
}

TEST_F(ViewerSettings, MonochromeAppliesFromTheNextFigureAndTheCaptionTellsTheNextClick) {
    open();
    ASSERT_EQ(pixel(kHorizontal), 0xFF0000u);
    const auto* picture = viewer->picture();
    trigger(viewer.get(), "mnclrchg");
    EXPECT_EQ(child<QAction>(viewer.get(), "mnclrchg")->text(), "カラー表示に変更（次図から）");
    EXPECT_FALSE(viewer->state().colourMode);
    EXPECT_EQ(pixel(kHorizontal), 0xFF0000u); // the figure on screen stays as it is
    EXPECT_EQ(viewer->picture(), picture);

    trigger(viewer.get(), "N2"); // pen 5 is not applied: black
    EXPECT_EQ(pixel(kVertical), 0u);
    trigger(viewer.get(), "mnclrchg");
    EXPECT_EQ(child<QAction>(viewer.get(), "mnclrchg")->text(), "白黒表示に変更（次図から）");
    EXPECT_TRUE(viewer->state().colourMode);
    EXPECT_EQ(pixel(kVertical), 0u);
    open();
    EXPECT_EQ(pixel(kHorizontal), 0xFF0000u);
}

TEST_F(ViewerSettings, APickedColourIsNamedUnderItsSwatchAndDrawsFromTheNextFigure) {
    open();
    trigger(viewer.get(), "mncolorset");
    std::uint32_t captionWhileOpen = 0;
    QRgb captionPixelWhileOpen = 0;
    s.colours.whileShown = [&] {
        captionWhileOpen = colourLabel("Label5")->colour().value;
        captionPixelWhileOpen = colourLabel("Label5")->grab().toImage().pixel(1, 1) & 0xFFFFFF;
    };
    s.colours.chooseNext(0x00FF8000); // red 0, green 128, blue 255
    click("cllbl5");
    ASSERT_EQ(s.colours.initials, std::vector<std::uint32_t>{33023}); // preset with the swatch's colour
    // The row being edited shows in the desktop colour while the dialog is open.
    EXPECT_EQ(captionWhileOpen, kBackgroundValue);
    EXPECT_EQ(captionPixelWhileOpen, QApplication::palette().color(QPalette::Highlight).rgb() & 0xFFFFFF);
    EXPECT_EQ(colourLabel("Label5")->colour().value, kWindowValue);
    EXPECT_EQ(labelText("clnlbl5"), "$00FF8000");
    EXPECT_EQ(colourLabel("cllbl5")->colour(), zelkova::plot::Colour::fromRgb(0, 128, 255));
    EXPECT_EQ(colourLabel("cllbl5")->grab().toImage().pixel(20, 10) & 0xFFFFFF, 0x0080FFu);
    EXPECT_EQ(viewer->state().penColourNames[4], "$00FF8000");
    EXPECT_NE(pixel(kVertical), 0x0080FFu); // not before the next figure

    trigger(viewer.get(), "N2");
    EXPECT_EQ(pixel(kVertical), 0x0080FFu);

    s.colours.chooseNext(0x000000FF); // pure red has a name
    click("cllbl5");
    EXPECT_EQ(labelText("clnlbl5"), "clRed");
    EXPECT_EQ(viewer->state().penColourNames[4], "clRed");
    EXPECT_EQ(s.colours.initials.back(), 0x00FF8000u);
    EXPECT_EQ(pixel(kVertical), 0x0080FFu);
}

TEST_F(ViewerSettings, ACancelledDialogKeepsTheColourAndRenewsOnlyItsName) {
    trigger(viewer.get(), "mncolorset");
    child<QLabel>(viewer.get(), "clnlbl9")->clear();
    s.colours.cancelNext();
    click("cllbl9");
    ASSERT_EQ(s.colours.initials, std::vector<std::uint32_t>{0x1FFFFFFF});
    EXPECT_EQ(colourLabel("cllbl9")->colour(), zelkova::plot::kNoColour);
    EXPECT_EQ(labelText("clnlbl9"), "clNone");
    EXPECT_EQ(viewer->state().penColourNames[8], "clNone");
    EXPECT_EQ(colourLabel("Label18")->colour().value, kWindowValue);

    s.colours.cancelNext(); // a colour with no name comes back the same
    click("cllbl5");
    EXPECT_EQ(labelText("clnlbl5"), "$000080FF");
}

TEST_F(ViewerSettings, ATypedWidthIsUsedFromTheNextFigureWithoutOk) {
    open();
    trigger(viewer.get(), "mncolorset");
    type("Edtclw3", "7");
    trigger(viewer.get(), "N2");
    trigger(viewer.get(), "N2"); // the third layer draws in pen 3
    EXPECT_TRUE(s.messages.shown().empty());
    EXPECT_NE(zelkova::plot::dumpPicture(*viewer->picture()).find("pen #ff0000 12 solid copy\n"),
              std::string::npos)
        << zelkova::plot::dumpPicture(*viewer->picture());
    EXPECT_TRUE(widget("colorpanel")->isVisible());

    // The arrows run from 0 to 20 and stop there.
    auto* arrows = child<UpDown>(viewer.get(), "UpDown3");
    arrows->stepUp();
    EXPECT_EQ(edit("Edtclw3")->text(), "8");
    type("Edtclw3", "20");
    arrows->stepUp();
    EXPECT_EQ(edit("Edtclw3")->text(), "20");
    type("Edtclw3", "0");
    arrows->stepDown();
    EXPECT_EQ(edit("Edtclw3")->text(), "0");
}

TEST_F(ViewerSettings, AScaleThatIsNotANumberIsReportedAndTheFormerScaleStays) {
    trigger(viewer.get(), "N12");
    type("Edit2", "100");
    QTest::mouseClick(child<QPushButton>(viewer.get(), "Button2"), Qt::LeftButton);
    EXPECT_EQ(viewer->state().scaleDenominator, 100);

    trigger(viewer.get(), "N12");
    type("Edit2", "abc");
    QTest::mouseClick(child<QPushButton>(viewer.get(), "Button2"), Qt::LeftButton);
    EXPECT_FALSE(widget("Panel2")->isVisible());
    ASSERT_EQ(s.messages.shown().size(), 1u);
    EXPECT_EQ(s.messages.shown()[0].kind, MessageKind::Error);
    EXPECT_EQ(s.messages.shown()[0].caption, std::string(zelkova::platform::kApplicationTitle));
    EXPECT_EQ(s.messages.shown()[0].text, "'abc' は浮動小数点数ではありません.");
    EXPECT_EQ(viewer->state().scaleDenominator, 100);

    // Zero and negative scales are not refused here; Enter in the box is OK.
    s.messages.clear();
    trigger(viewer.get(), "N12");
    type("Edit2", "-2.5");
    QTest::keyClick(edit("Edit2"), Qt::Key_Return);
    EXPECT_FALSE(widget("Panel2")->isVisible());
    EXPECT_EQ(viewer->state().scaleDenominator, -2.5);
    type("Edit2", "0");
    QTest::mouseClick(child<QPushButton>(viewer.get(), "Button2"), Qt::LeftButton);
    EXPECT_EQ(viewer->state().scaleDenominator, 0);
    EXPECT_TRUE(s.messages.shown().empty());
}

TEST_F(ViewerSettings, AllLayersAreOverlaidAfterTheSecondLayerItem) {
    auto* perLayer = child<QAction>(viewer.get(), "N9");
    auto* overlaid = child<QAction>(viewer.get(), "N10");
    ASSERT_TRUE(perLayer->isChecked());
    trigger(viewer.get(), "N10");
    trigger(viewer.get(), "N10"); // choosing it again keeps it chosen
    EXPECT_FALSE(perLayer->isChecked());
    EXPECT_TRUE(overlaid->isChecked());
    EXPECT_FALSE(viewer->state().layerMode);
    open();
    EXPECT_EQ(pixel(kHorizontal), 0xFF0000u);
    EXPECT_EQ(pixel(kVertical), 0xFF8000u); // pen 5's orange

    trigger(viewer.get(), "N9");
    EXPECT_TRUE(perLayer->isChecked());
    EXPECT_FALSE(overlaid->isChecked());
    EXPECT_TRUE(viewer->state().layerMode);
    open();
    EXPECT_EQ(pixel(kHorizontal), 0xFF0000u);
    EXPECT_EQ(pixel(kVertical), 0xFFFFFFu);
}

} // namespace
