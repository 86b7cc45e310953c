// Shows that the metafiles hold GDI's own records for every pen style and width, raster mode,
// hatch, text and image, with a header that other programs accept: every metafile written here
// is converted back with emf2svg-conv and drawn.
#include "OutputTestSupport.h"

#include "plot/EmfCanvas.h"
#include "plot/qt/PictureExport.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace zelkova::plot {
namespace {

using namespace zelkova::plot::testing;
using zelkova::testing::TempDir;

constexpr Colour kBlack = Colour::fromRgb(0, 0, 0);
constexpr Colour kRed = Colour::fromRgb(255, 0, 0);
constexpr Colour kBlue = Colour::fromRgb(0, 0, 255);
constexpr Colour kGreen = Colour::fromRgb(0, 128, 0);

QByteArray bytesOf(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

std::shared_ptr<Bitmap> bitmapOf(std::int32_t w, std::int32_t h, std::vector<std::uint32_t> pixels,
                                 bool twoColour = false) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = w;
    bitmap->height = h;
    bitmap->pixels = std::move(pixels);
    bitmap->twoColour = twoColour;
    return bitmap;
}

// A 400 × 300 metafile, one picture pixel to one metafile pixel, with one of everything: a line per
// raster mode, the line styles thin and wide, a polygon per fill pattern, a horizontal and a
// vertical text, a colour and a two-colour image, and a line beyond 16-bit coordinates.
std::string everything() {
    EmfCanvas canvas({400, 300, {0, 0, 400, 300}}, 400, 300, 2.0);
    for (int m = 1; m <= 16; ++m) {
        canvas.setPen({kRed, 0, LineStyle::Solid, static_cast<RasterMode>(m)});
        canvas.line({10, 8 + 4 * m}, {390, 8 + 4 * m});
    }
    const LineStyle styles[] = {LineStyle::Solid, LineStyle::Dotted, LineStyle::Dashed, LineStyle::DashDot,
                                LineStyle::DashDotDot};
    for (int i = 0; i < 5; ++i) {
        canvas.setPen({kBlue, 0, styles[i], RasterMode::CopyPen});
        canvas.line({10, 90 + 12 * i}, {190, 90 + 12 * i});
        canvas.setPen({kBlue, 6, styles[i], RasterMode::CopyPen});
        canvas.line({210, 90 + 12 * i}, {390, 90 + 12 * i});
    }
    canvas.setPen({kBlack, 0, LineStyle::Solid, RasterMode::CopyPen});
    for (int p = 0; p < 8; ++p) {
        canvas.setBrush({kGreen, static_cast<FillPattern>(p)});
        const int x = 10 + 48 * p;
        canvas.polygon(std::vector<Point>{{x, 160}, {x + 40, 160}, {x + 40, 200}, {x, 200}});
    }
    canvas.text({text::utf8ToCp932("図A"), {20, 220}, 20, 0, 3, TextFace::Horizontal});
    canvas.text({text::utf8ToCp932("縦"), {300, 260}, 24, 900, 0, TextFace::Vertical});
    canvas.image({bitmapOf(2, 1, {0xFFFF0000u, 0xFF0000FFu}), 120, 220, 160, 260});
    canvas.image({bitmapOf(9, 1,
                           {0xFF000000u, 0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu,
                            0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu},
                           true),
                  170, 220, 260, 240});
    canvas.polyline(std::vector<Point>{{0, 299}, {40000, 299}});
    return canvas.finish();
}

TEST(Metafile, HasAHeaderThatDescribesTheFileAndItsFrame) {
    const QByteArray emf = bytesOf(everything());
    const auto records = recordsOf(emf);
    ASSERT_GT(records.size(), 10u);
    EXPECT_EQ(records.front().type, U_EMR_HEADER);
    EXPECT_EQ(records.back().type, U_EMR_EOF);
    const auto header = records.front().as<U_EMRHEADER>();
    EXPECT_EQ(header.dSignature, U_ENHMETA_SIGNATURE);
    EXPECT_EQ(header.nBytes, static_cast<std::uint32_t>(emf.size()));
    EXPECT_EQ(header.nRecords, records.size());
    EXPECT_EQ(header.rclBounds.left, 0);
    EXPECT_EQ(header.rclBounds.right, 399);
    EXPECT_EQ(header.rclBounds.bottom, 299);
    EXPECT_EQ(header.rclFrame.right, 10583); // 400 px at 96 dpi in hundredths of a millimetre
    EXPECT_EQ(header.rclFrame.bottom, 7938); // 7937.5, to the even
    EXPECT_GE(header.nHandles, 4);           // pen, brush, font, and the reserved 0
    EXPECT_EQ(header.szlDevice.cx * 254, header.szlMillimeters.cx * 960); // 96 dpi
    const auto transform = recordsOfType(records, U_EMR_SETWORLDTRANSFORM);
    ASSERT_EQ(transform.size(), 1u);
    EXPECT_EQ(transform[0].as<U_EMRSETWORLDTRANSFORM>().xform.eM11, 1.0f);
}

TEST(Metafile, SetsTheRasterModeOfEveryPenThatDraws) {
    const auto records = recordsOf(bytesOf(everything()));
    std::vector<std::uint32_t> modes;
    for (const EmfRecord& r : recordsOfType(records, U_EMR_SETROP2))
        modes.push_back(r.as<U_EMRSETROP2>().iMode);
    // The plot file's order black, white, nop, not, copy, not-copy, merge-pen-not, mask-pen-not,
    // merge-not-pen, mask-not-pen, merge, not-merge, mask, not-mask, xor, not-xor as GDI numbers
    // them; "no operation" draws nothing, so it needs no record; copy again for the styled lines.
    EXPECT_EQ(modes, (std::vector<std::uint32_t>{
                         U_R2_BLACK, U_R2_WHITE, U_R2_NOT, U_R2_COPYPEN, U_R2_NOTCOPYPEN, U_R2_MERGEPENNOT,
                         U_R2_MASKPENNOT, U_R2_MERGENOTPEN, U_R2_MASKNOTPEN, U_R2_MERGEPEN, U_R2_NOTMERGEPEN,
                         U_R2_MASKPEN, U_R2_NOTMASKPEN, U_R2_XORPEN, U_R2_NOTXORPEN, U_R2_COPYPEN}));
}

TEST(Metafile, DrawsThinPensWithGdiStylesAndWidePensWithTheirDashesInPicturePixels) {
    const auto records = recordsOf(bytesOf(everything()));
    std::vector<std::uint32_t> thin;
    for (const EmfRecord& r : recordsOfType(records, U_EMR_CREATEPEN)) {
        const auto pen = r.as<U_EMRCREATEPEN>();
        if (pen.lopn.lopnColor.Blue == 255)
            thin.push_back(pen.lopn.lopnStyle);
        EXPECT_EQ(pen.lopn.lopnWidth.x, 0);
    }
    EXPECT_EQ(thin,
              (std::vector<std::uint32_t>{U_PS_SOLID, U_PS_DOT, U_PS_DASH, U_PS_DASHDOT, U_PS_DASHDOTDOT}));

    std::vector<std::vector<std::uint32_t>> dashes;
    for (const EmfRecord& r : recordsOfType(records, U_EMR_EXTCREATEPEN)) {
        const auto pen = r.as<U_EMREXTCREATEPEN>();
        EXPECT_EQ(pen.elp.elpWidth, 6u);
        EXPECT_TRUE(pen.elp.elpPenStyle & U_PS_GEOMETRIC);
        std::vector<std::uint32_t> entries(pen.elp.elpNumEntries);
        if (!entries.empty())
            std::memcpy(entries.data(), r.bytes.data() + offsetof(U_EMREXTCREATEPEN, elp.elpStyleEntry),
                        entries.size() * sizeof(std::uint32_t));
        EXPECT_EQ((pen.elp.elpPenStyle & U_PS_STYLE_MASK) == U_PS_USERSTYLE, !entries.empty());
        dashes.push_back(entries);
    }
    // At 2 picture pixels per millimetre: dotted 0.4/0.8 mm, dashed 3/1, dash-dot 3/0.8/0.4/0.8.
    EXPECT_EQ(dashes, (std::vector<std::vector<std::uint32_t>>{
                          {}, {1, 2}, {6, 2}, {6, 2, 1, 2}, {6, 2, 1, 2, 1, 2}}));
}

TEST(Metafile, FillsWithSolidAndHatchedBrushesAndLeavesHollowOnesEmpty) {
    const auto records = recordsOf(bytesOf(everything()));
    std::vector<std::pair<std::uint32_t, std::uint32_t>> brushes;
    for (const EmfRecord& r : recordsOfType(records, U_EMR_CREATEBRUSHINDIRECT)) {
        const auto brush = r.as<U_EMRCREATEBRUSHINDIRECT>();
        brushes.emplace_back(brush.lb.lbStyle, brush.lb.lbStyle == U_BS_HATCHED ? brush.lb.lbHatch : 99u);
    }
    using P = std::pair<std::uint32_t, std::uint32_t>;
    EXPECT_EQ(brushes, (std::vector<P>{{U_BS_NULL, 99},
                                       {U_BS_SOLID, 99},
                                       {U_BS_HATCHED, U_HS_BDIAGONAL},
                                       {U_BS_HATCHED, U_HS_FDIAGONAL},
                                       {U_BS_HATCHED, U_HS_CROSS},
                                       {U_BS_HATCHED, U_HS_DIAGCROSS},
                                       {U_BS_HATCHED, U_HS_HORIZONTAL},
                                       {U_BS_HATCHED, U_HS_VERTICAL}}));
    EXPECT_EQ(recordsOfType(records, U_EMR_POLYGON16).size(), 8u);
    // Coordinates beyond 16 bits take the 32-bit record.
    EXPECT_EQ(recordsOfType(records, U_EMR_POLYLINE).size(), 1u);
    EXPECT_EQ(recordsOfType(records, U_EMR_POLYPOLYLINE16).size(), 15u + 10u);
}

TEST(Metafile, WritesTextsWithTheirFontEscapementAndSpacing) {
    const auto records = recordsOf(bytesOf(everything()));
    const auto fonts = recordsOfType(records, U_EMR_EXTCREATEFONTINDIRECTW);
    ASSERT_EQ(fonts.size(), 2u);
    const U_LOGFONT horizontal = fonts[0].as<U_EMREXTCREATEFONTINDIRECTW>().elfw.elfLogFont;
    const U_LOGFONT vertical = fonts[1].as<U_EMREXTCREATEFONTINDIRECTW>().elfw.elfLogFont;
    EXPECT_EQ(horizontal.lfHeight, 20);
    EXPECT_EQ(horizontal.lfEscapement, 0);
    EXPECT_EQ(horizontal.lfWeight, 400);
    EXPECT_EQ(horizontal.lfCharSet, 1);
    EXPECT_EQ(horizontal.lfQuality, 2);
    EXPECT_EQ(horizontal.lfPitchAndFamily, 1);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(horizontal.lfFaceName)), u"ＭＳ ゴシック");
    EXPECT_EQ(vertical.lfHeight, 24);
    EXPECT_EQ(vertical.lfEscapement, 900);
    EXPECT_EQ(vertical.lfOrientation, 900);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(vertical.lfFaceName)), u"@ＭＳ ゴシック");

    const auto texts = recordsOfType(records, U_EMR_EXTTEXTOUTW);
    ASSERT_EQ(texts.size(), 2u);
    const auto first = texts[0].as<U_EMREXTTEXTOUTW>();
    EXPECT_EQ(first.emrtext.ptlReference.x, 20);
    EXPECT_EQ(first.emrtext.ptlReference.y, 220);
    ASSERT_EQ(first.emrtext.nChars, 2u);
    std::u16string characters(2, u'\0');
    std::memcpy(characters.data(), texts[0].bytes.data() + first.emrtext.offString, 4);
    EXPECT_EQ(characters, u"図A");
    std::uint32_t offDx = 0; // after the reference point, count, string offset, options and rectangle
    std::memcpy(&offDx, texts[0].bytes.data() + offsetof(U_EMREXTTEXTOUTW, emrtext) + 36, 4);
    std::uint32_t dx[2] = {};
    std::memcpy(dx, texts[0].bytes.data() + offDx, sizeof dx);
    EXPECT_EQ(dx[0], 23u); // a full-width cell of 20 and 3 of extra spacing
    EXPECT_EQ(dx[1], 13u); // a half-width cell of 10 and 3
}

TEST(Metafile, StretchesImagesAsDeviceIndependentBitmaps) {
    const auto records = recordsOf(bytesOf(everything()));
    const auto images = recordsOfType(records, U_EMR_STRETCHDIBITS);
    ASSERT_EQ(images.size(), 2u);
    const auto colour = images[0].as<U_EMRSTRETCHDIBITS>();
    EXPECT_EQ(colour.Dest.x, 120);
    EXPECT_EQ(colour.cDest.x, 40);
    EXPECT_EQ(colour.cDest.y, 40);
    EXPECT_EQ(colour.cSrc.x, 2);
    EXPECT_EQ(colour.dwRop, U_SRCCOPY);
    U_BITMAPINFOHEADER info;
    std::memcpy(&info, images[0].bytes.data() + colour.offBmiSrc, sizeof info);
    EXPECT_EQ(info.biBitCount, 24);
    const auto* pixels = reinterpret_cast<const unsigned char*>(images[0].bytes.data() + colour.offBitsSrc);
    EXPECT_EQ(pixels[2], 255); // red, stored blue-green-red
    EXPECT_EQ(pixels[3], 255); // blue
    const auto twoColour = images[1].as<U_EMRSTRETCHDIBITS>();
    std::memcpy(&info, images[1].bytes.data() + twoColour.offBmiSrc, sizeof info);
    EXPECT_EQ(info.biBitCount, 1);
    EXPECT_EQ(static_cast<unsigned char>(images[1].bytes[twoColour.offBitsSrc]), 0x55); // 0 1 0 1 0 1 0 1
    EXPECT_EQ(static_cast<unsigned char>(images[1].bytes[twoColour.offBitsSrc + 1]), 0x80);
}

TEST(Metafile, OpensInAnotherProgramAndShowsWhatWasDrawn) {
    TempDir dir;
    const auto svg = svgOfMetafile(dir, bytesOf(everything()));
    ASSERT_TRUE(svg) << "emf2svg-conv refused the metafile";
    const QImage image = imageOfSvg(dir, *svg, QSize(400, 300));
    ASSERT_FALSE(image.isNull()) << svg->substr(0, 400);
    if (const char* keep = std::getenv("ZELKOVA_KEEP_OUTPUT")) {
        image.save(QString::fromUtf8(keep) + QStringLiteral("/metafile-everything.png"));
        std::ofstream(std::string(keep) + "/metafile-everything.svg") << *svg;
    }
    // A thin line, a wide one, a filled and a hollow square, the image.s two halves, the text.s ink.
    EXPECT_TRUE(near(rgbAt(image, 200, 28), 0xFF0000u, 120))
        << std::hex << rgbAt(image, 200, 28);             // half a pixel each side
    EXPECT_TRUE(near(rgbAt(image, 300, 102), 0x0000FFu)); // a wide dashed line
    EXPECT_TRUE(near(rgbAt(image, 80, 180), 0x008000u));  // a filled square
    EXPECT_TRUE(near(rgbAt(image, 125, 240), 0xFF0000u, 10));
    EXPECT_TRUE(near(rgbAt(image, 155, 240), 0x0000FFu, 10));
    EXPECT_EQ(rgbAt(image, 30, 180), 0xFFFFFFu); // the hollow square
    int ink = 0;
    for (int y = 220; y < 240; ++y)
        for (int x = 20; x < 50; ++x)
            ink += rgbAt(image, x, y) != 0xFFFFFFu;
    EXPECT_GT(ink, 20);
    EXPECT_NE(svg->find("ＭＳ ゴシック"), std::string::npos);
}

TEST(Metafile, OfNoPictureIsAnEmptyMetafileOfTheFrame) {
    TempDir dir;
    const QByteArray emf = bytesOf(metafileOf(nullptr, {120, 80, {0, 0, 688, 469}}));
    const auto records = recordsOf(emf);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.front().as<U_EMRHEADER>().rclBounds.right, 119);
    EXPECT_EQ(recordsOfType(records, U_EMR_POLYPOLYLINE16).size(), 0u);
    EXPECT_TRUE(svgOfMetafile(dir, emf));
}

TEST(Metafile, StretchesThePictureIntoTheTargetByAWorldTransform) {
    Picture picture(5424, 3780, 18.9, 18.9);
    RecordingCanvas recording(picture);
    recording.setPen({kRed, 40, LineStyle::Solid, RasterMode::CopyPen});
    recording.line({0, 1890}, {5424, 1890});
    const OutputFrame frame = selectionFrame({0, 0, 688, 469}, {300, 300}, {100, 100});
    const QByteArray emf = bytesOf(metafileOf(&picture, frame));
    const auto records = recordsOf(emf);
    const U_XFORM x =
        recordsOfType(records, U_EMR_SETWORLDTRANSFORM).at(0).as<U_EMRSETWORLDTRANSFORM>().xform;
    EXPECT_FLOAT_EQ(x.eM11, 688.0f / 5424);
    EXPECT_FLOAT_EQ(x.eM22, 469.0f / 3780);
    EXPECT_EQ(x.eDx, -100.0f);
    EXPECT_EQ(x.eDy, -100.0f);
    // Every record of the picture is kept, even one wholly outside the frame.
    EXPECT_EQ(recordsOfType(records, U_EMR_POLYPOLYLINE16).size(), 1u);
    TempDir dir;
    const auto svg = svgOfMetafile(dir, emf);
    ASSERT_TRUE(svg);
    const QImage image = imageOfSvg(dir, *svg, QSize(200, 200));
    EXPECT_EQ(rgbAt(image, 100, 134), 0xFF0000u); // 234.5 − 100 on the view, in the frame
}

} // namespace
} // namespace zelkova::plot
