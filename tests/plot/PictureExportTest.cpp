// Shows that every output draws the same figure as the view: the selection copied however it was
// dragged and at the view's zoom, a figure of every kind as SVG and EMF, the whole figure in its
// margin, and prints read back from the PDF, panned and through the raster path in bands that join
// without a seam. (The window's tests print in both orientations and decode every clipboard format.)
#include "OutputTestSupport.h"

#include "platform/qt/ApplicationPrinter.h"
#include "plot/qt/PainterCanvas.h"
#include "plot/qt/PictureExport.h"
#include "text/Cp932.h"

#include <QMimeData>
#include <QPageLayout>
#include <QPrinter>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace zelkova::plot {
namespace {

using namespace zelkova::plot::testing;
using zelkova::testing::TempDir;

constexpr Colour kRed = Colour::fromRgb(255, 0, 0);
constexpr Colour kBlue = Colour::fromRgb(0, 0, 255);
constexpr ViewRect kOriginalView{0, 0, 688, 469};

// A red line across the middle of the paper and a blue one down it, `width` picture pixels wide.
Picture cross(RasterMode mode = RasterMode::CopyPen, std::int32_t width = 40, Colour down = kBlue) {
    Picture picture(5424, 3780, 18.9, 18.9);
    RecordingCanvas canvas(picture);
    canvas.setPen({kRed, width, LineStyle::Solid, mode});
    canvas.line({0, 1890}, {5424, 1890});
    canvas.setPen({down, width, LineStyle::Solid, mode});
    canvas.line({2712, 0}, {2712, 3780});
    canvas.setPen({kRed, 0, LineStyle::Solid, RasterMode::CopyPen});
    canvas.line({300, 300}, {1500, 900});
    picture.setDrawnExtents({0, 5424, 0, 3780});
    return picture;
}

QImage viewOf(const Picture& picture, const ViewRect& view) {
    return frameImage(&picture, viewFrame(688, 469, view));
}

TEST(SelectionImage, IsTheSameAreaAsTheViewShowsWhicheverWayTheFrameWasDragged) {
    const Picture picture = cross();
    const QImage view = viewOf(picture, kOriginalView);
    const QRect area(250, 150, 180, 120);
    const QImage expected = view.copy(area);
    for (const auto& [press, current] : {std::pair<ViewPoint, ViewPoint>{{250, 150}, {430, 270}},
                                         {{430, 270}, {250, 150}},
                                         {{250, 270}, {430, 150}}}) {
        const QImage copied = frameImage(&picture, selectionFrame(kOriginalView, press, current));
        EXPECT_EQ(copied, expected) << press.x << "," << press.y;
    }
}

TEST(SelectionImage, OfAZoomedViewShowsTheZoomedFigureAtScreenScale) {
    const Picture picture = cross();
    const ViewRect zoomed{0, -194, 973, 469}; // one 拡大 at 1.414
    const QImage view = viewOf(picture, zoomed);
    const QImage copied = frameImage(&picture, selectionFrame(zoomed, {600, 100}, {400, 300}));
    EXPECT_EQ(copied, view.copy(400, 100, 200, 200));
    EXPECT_NE(copied, viewOf(picture, kOriginalView).copy(400, 100, 200, 200));
}

TEST(Clipboard, AFrameWithoutAreaGivesNothingAndNoPictureAWhiteCopy) {
    const Picture picture = cross();
    EXPECT_FALSE(bitmapCopy(&picture, selectionFrame(kOriginalView, {10, 10}, {10, 90})));
    EXPECT_FALSE(metafileCopy(&picture, selectionFrame(kOriginalView, {10, 10}, {90, 10})));
    EXPECT_FALSE(exportFrame(&picture, selectionFrame(kOriginalView, {10, 10}, {10, 10}), ExportFormat::Emf));
    // Without a picture a copy is white (or an empty metafile) of the frame's size.
    const auto white = bitmapCopy(nullptr, selectionFrame(kOriginalView, {10, 10}, {20, 30}));
    ASSERT_TRUE(white);
    const QImage image = qvariant_cast<QImage>(white->imageData());
    EXPECT_EQ(image.size(), QSize(10, 20));
    EXPECT_EQ(rgbAt(image, 5, 5), 0xFFFFFFu);
}

// Over a black bar: a line in each raster mode, each line style thin and wide, a square of each
// fill pattern, texts and an image.
Picture everyKind() {
    Picture picture(5424, 3780, 18.9, 18.9);
    RecordingCanvas canvas(picture);
    canvas.setPen({Colour::fromRgb(0, 0, 0), 0, LineStyle::Solid, RasterMode::CopyPen});
    canvas.setBrush({Colour::fromRgb(0, 0, 0), FillPattern::Solid});
    canvas.polygon(std::vector<Point>{{2600, 100}, {2800, 100}, {2800, 1500}, {2600, 1500}});
    for (int m = 1; m <= 16; ++m) {
        canvas.setPen({kRed, 40, LineStyle::Solid, static_cast<RasterMode>(m)});
        canvas.line({200, 80 * m}, {5200, 80 * m});
    }
    const LineStyle styles[] = {LineStyle::Solid, LineStyle::Dotted, LineStyle::Dashed, LineStyle::DashDot,
                                LineStyle::DashDotDot};
    for (int i = 0; i < 5; ++i) {
        canvas.setPen({kBlue, 0, styles[i], RasterMode::CopyPen});
        canvas.line({200, 1600 + 100 * i}, {2600, 1600 + 100 * i});
        canvas.setPen({kBlue, 30, styles[i], RasterMode::CopyPen});
        canvas.line({2800, 1600 + 100 * i}, {5200, 1600 + 100 * i});
    }
    canvas.setPen({Colour::fromRgb(0, 0, 0), 8, LineStyle::Solid, RasterMode::CopyPen});
    for (int p = 0; p < 8; ++p) {
        canvas.setBrush({Colour::fromRgb(0, 128, 0), static_cast<FillPattern>(p)});
        const int x = 200 + 640 * p;
        canvas.polygon(std::vector<Point>{{x, 2300}, {x + 560, 2300}, {x + 560, 3300}, {x, 3300}});
    }
    // Two texts, one turned a quarter, and a picture of four pixels.
    canvas.text({text::utf8ToCp932("図面A"), {200, 3400}, 300, 0, 0, TextFace::Horizontal});
    canvas.text({text::utf8ToCp932("縦"), {5000, 3700}, 300, 900, 0, TextFace::Horizontal});
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = 2;
    bitmap->height = 2;
    bitmap->pixels = {0xFFFF0000u, 0xFF0000FFu, 0xFF00FF00u, 0xFF000000u};
    canvas.image({bitmap, 3000, 3360, 3640, 3760});
    picture.setDrawnExtents({200, 5200, 80, 3760});
    return picture;
}

TEST(EveryKind, TheViewAsSvgAndAsEmfOpensAgainAndShowsTheFigure) {
    TempDir dir;
    const Picture picture = everyKind();
    const OutputFrame frame = viewFrame(688, 469, kOriginalView);
    const QImage view = frameImage(&picture, frame);
    const auto svg = exportFrame(&picture, frame, ExportFormat::Svg);
    const auto emf = exportFrame(&picture, frame, ExportFormat::Emf);
    ASSERT_TRUE(svg && emf);
    const auto converted = svgOfMetafile(dir, *emf);
    ASSERT_TRUE(converted);
    const QImage fromSvg = imageOfSvg(dir, svg->toStdString(), QSize(688, 469));
    const QImage fromEmf = imageOfSvg(dir, *converted, QSize(688, 469));
    ASSERT_FALSE(fromSvg.isNull());
    ASSERT_FALSE(fromEmf.isNull());
    if (const char* keep = std::getenv("ZELKOVA_KEEP_OUTPUT")) {
        view.save(QString::fromUtf8(keep) + QStringLiteral("/every-kind-view.png"));
        fromSvg.save(QString::fromUtf8(keep) + QStringLiteral("/every-kind-svg.png"));
        fromEmf.save(QString::fromUtf8(keep) + QStringLiteral("/every-kind-emf.png"));
        std::filesystem::copy_file(writeTemp(dir, "every-kind.svg", *svg),
                                   std::string(keep) + "/every-kind.svg",
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::copy_file(dir.write("every-kind.emf.svg", *converted),
                                   std::string(keep) + "/every-kind.emf.svg",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    // Copy-mode red (line 5, picture y 400) off and on the bar, the wide blue line, a solid and a
    // hollow square: the same in the view and in both documents.
    for (const QImage* image : {&view, &fromSvg, &fromEmf}) {
        EXPECT_TRUE(near(rgbAt(*image, 100, 50), 0xFF0000u));
        EXPECT_TRUE(near(rgbAt(*image, 500, 199), 0x0000FFu)); // picture (3940, 1600)
        EXPECT_TRUE(near(rgbAt(*image, 151, 347), 0x008000u)); // the solid square
        EXPECT_EQ(rgbAt(*image, 70, 347), 0xFFFFFFu);          // the hollow one
    }
    // The cross-hatched square shows its hatch in the view and in the SVG (the EMF holds it as a
    // hatched brush too, which emf2svg fills solid).
    for (const QImage* image : {&view, &fromSvg}) {
        int green = 0;
        int white = 0;
        for (int y = 300; y < 400; ++y)
            for (int x = 360; x < 410; ++x) {
                green += near(rgbAt(*image, x, y), 0x008000u, 60);
                white += rgbAt(*image, x, y) == 0xFFFFFFu;
            }
        EXPECT_GT(green, 500);
        EXPECT_GT(white, 2500);
    }
    // The texts and the image in every one of them, the metafile's as GDI records.
    for (const QImage* image : {&view, &fromSvg, &fromEmf}) {
        int ink = 0;
        for (int y = 425; y < 465; ++y)
            for (int x = 25; x < 100; ++x)
                ink += qGray(rgbAt(*image, x, y)) < 128;
        EXPECT_GT(ink, 40);
        // The image's top-left and bottom-right pixels (emf2svg keeps a stretched image's aspect
        // ratio, so there it is narrower, about the same centre).
        EXPECT_TRUE(near(rgbAt(*image, 407, 428), 0xFF0000u, 60)) << std::hex << rgbAt(*image, 407, 428);
        EXPECT_TRUE(near(rgbAt(*image, 438, 458), 0x000000u, 60)) << std::hex << rgbAt(*image, 438, 458);
    }
    const auto records = recordsOf(*emf);
    EXPECT_EQ(recordsOfType(records, U_EMR_EXTTEXTOUTW).size(), 2u);
    EXPECT_EQ(recordsOfType(records, U_EMR_STRETCHDIBITS).size(), 1u);
    // On the screen the not-xor line (16) inverts the black bar under it; a document shows what it
    // gives on white paper.
    EXPECT_TRUE(near(rgbAt(view, 343, 159), 0x00FFFFu, 10));
    EXPECT_TRUE(near(rgbAt(view, 100, 159), 0xFF0000u, 10));
}

TEST(WholeFigure, IsDrawnAtItsOwnSizeInItsMargin) {
    Picture picture(5424, 3780, 18.9, 18.9);
    RecordingCanvas canvas(picture);
    canvas.setPen({kRed, 0, LineStyle::Solid, RasterMode::CopyPen});
    canvas.line({100, 200}, {300, 200});
    picture.setDrawnExtents({100, 300, 200, 200});
    const auto frame = wholeFigureFrame(picture);
    ASSERT_TRUE(frame);
    const QImage image = frameImage(&picture, *frame);
    ASSERT_EQ(image.size(), QSize(220, 20));
    EXPECT_EQ(rgbAt(image, 10, 10), 0xFF0000u);  // picture (100, 200)
    EXPECT_EQ(rgbAt(image, 209, 10), 0xFF0000u); // the last pixel before (300, 200)
    EXPECT_EQ(rgbAt(image, 9, 10), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(image, 10, 9), 0xFFFFFFu);
    const auto bmp = exportFrame(&picture, *frame, ExportFormat::Bmp);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(QImage::fromData(*bmp, "BMP").convertToFormat(QImage::Format_RGB32), image);
}

TEST(WholeFigure, BeyondTheLargestBitmapIsRefusedAsAnImageButNotAsAMetafile) {
    const OutputFrame huge{100000, 100000, {0, 0, 5424, 3780}};
    EXPECT_TRUE(frameImage(nullptr, huge).isNull());
    EXPECT_FALSE(exportFrame(nullptr, huge, ExportFormat::Bmp));
    EXPECT_TRUE(exportFrame(nullptr, huge, ExportFormat::Emf));
}

// The application's PDF printer: A4 with 5 mm margins at 1200 dpi, writing to `pdf`.
class Printing : public ::testing::Test {
protected:
    void SetUp() override { printer.printer().setOutputFileName(QString::fromStdString(pdf)); }
    void TearDown() override {
        if (const char* keep = std::getenv("ZELKOVA_KEEP_OUTPUT"); keep && std::filesystem::exists(pdf))
            std::filesystem::copy_file(pdf,
                                       std::string(keep) + "/" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                           ".pdf",
                                       std::filesystem::copy_options::overwrite_existing);
    }
    void print(const Picture* picture, const ViewRect& view, QPageLayout::Orientation orientation) {
        printer.printer().setPageOrientation(orientation);
        printPicture(printer.printer(), picture, printedRectOn(printer.printer(), view, 688, 469));
    }
    // The page at 30 dpi: A4 landscape is 351 × 248 pixels, the printable area starts at 6, 6.
    QImage page() { return pdfPage(dir, pdf, 30); }

    TempDir dir;
    std::string pdf = dir.file("figure.pdf");
    platform::ApplicationPrinter printer{platform::ApplicationPrinter::Mode::PdfFile};
};

TEST_F(Printing, AHalfPannedViewPrintsTheSameHalf) {
    const Picture picture = cross();
    print(&picture, {344, 0, 1032, 469}, QPageLayout::Landscape);
    const QImage image = page();
    EXPECT_EQ(rgbAt(image, 90, 124), 0xFFFFFFu); // the left half of the page is empty
    EXPECT_TRUE(near(rgbAt(image, 260, 124), 0xFF0000u));
}

TEST_F(Printing, NotXorPensArePrintedAsAnImageInBandsThatJoin) {
    // Two not-xor lines cross: where blue covers red the paper turns green, ~(blue ^ red), which no
    // vector device can draw.
    const Picture picture = cross(RasterMode::NotXorPen);
    printer.printer().setResolution(300); // a printer of 300 dpi: the image at its resolution
    print(&picture, kOriginalView, QPageLayout::Landscape);
    EXPECT_EQ(pdfPageCount(dir, pdf), 1);
    EXPECT_EQ(pdfImageCount(dir, pdf), 8); // 3390 × 2362 pixels, 309 rows to a 4 MB band
    const QImage image = page();
    EXPECT_TRUE(near(rgbAt(image, 60, 124), 0xFF0000u));
    EXPECT_TRUE(near(rgbAt(image, 175, 60), 0x0000FFu));
    EXPECT_TRUE(near(rgbAt(image, 175, 124), 0x00FF00u, 10)); // the crossing
    // Down the vertical line, every row of the printable area is blue but the crossing.
    int gaps = 0;
    for (int y = 7; y < 241; ++y)
        if (std::abs(y - 124) > 3 && !near(rgbAt(image, 175, y), 0x0000FFu, 10))
            ++gaps;
    EXPECT_EQ(gaps, 0);
}

} // namespace
} // namespace zelkova::plot
