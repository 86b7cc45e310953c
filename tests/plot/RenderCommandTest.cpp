// Shows that zelkova-batch render refuses bad arguments, reports the viewer's messages with their
// exit statuses, dumps the chosen figure's operations and writes PNG, SVG, PDF, BMP and EMF files
// of the view, of a selection and of the whole figure.
#include "TempDir.h"

#include "batch/Commands.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace zelkova::batch {
namespace {

using zelkova::testing::TempDir;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome render(const Arguments& args) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome run;
    run.status = renderCommand(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Two figures: a horizontal line across the middle of the paper, then a vertical one.
constexpr const char* kTwoFigures = "hq\r\nly0\r\nlc3\r\n 0 100 287 100\r\nly1\r\n 143.5 0 143.5 200\r\n";

TEST(RenderUsage, RefusesMissingOrWrongArguments) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", kTwoFigures);
    for (const Arguments& args : std::vector<Arguments>{{},
                                                        {plot},
                                                        {"-o", dir.file("a.png")},
                                                        {plot, "-o", dir.file("a.gif")},
                                                        {plot, "-o"},
                                                        {plot, "-o", dir.file("a.png"), "--figure", "0"},
                                                        {plot, "-o", dir.file("a.png"), "--figure", "x"},
                                                        {plot, "-o", dir.file("a.png"), "--size", "0x10"},
                                                        {plot, "-o", dir.file("a.png"), "--size", "640"},
                                                        {plot, "-o", dir.file("a.png"), "--colour"},
                                                        {plot, plot, "--dump"}}) {
        const Outcome run = render(args);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(args);
        EXPECT_TRUE(contains(run.err, "usage: zelkova-batch render")) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.png")));
}

TEST(RenderMessages, AreTheViewersWithExitStatusOne) {
    TempDir dir;
    const Outcome missing = render({dir.file("none.txt"), "--dump"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "指定のファイルを開けない！（名前が違う？）\n");

    const Outcome notPlot = render({dir.write("b.txt", "#\r\nsl 0 0 1 1 1 0\r\n"), "--dump"});
    EXPECT_EQ(notPlot.status, 1);
    EXPECT_EQ(notPlot.err, " これは作図ﾌｧｲﾙでない！\n");

    const std::string plot = dir.write("a.txt", kTwoFigures);
    const Outcome beyond = render({plot, "--figure", "3", "-o", dir.file("c.png")});
    EXPECT_EQ(beyond.status, 1);
    EXPECT_EQ(beyond.err, "次の図はもうありません！\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.png")));

    const std::string bad = dir.write("bad.txt", "ly0\r\n 0 0 1 1\r\nly1\r\n 0 x 1 1\r\n");
    const Outcome first = render({dir.write("bad1.txt", "ly0\r\n 0 x 1 1\r\n"), "--dump"});
    EXPECT_EQ(first.status, 1);
    EXPECT_EQ(first.err, "エラーのため指定のファイルを開くことが出来ない！\n");
    const Outcome second = render({bad, "--figure", "2", "--dump"});
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err, "入力値が数値ではありません.\n");
    EXPECT_EQ(render({bad, "--dump"}).status, 0);
    // A figure before the one asked for that stops at an error is passed over as the next-figure
    // command does: the next figure reads on from where the error happened.
    const std::string later =
        dir.write("later.txt", "ly0\r\n 0 0 1 x\r\n 0 0 287 0\r\nly1\r\n 0 0 0 200\r\n");
    const Outcome after = render({later, "--figure", "2", "--dump"});
    EXPECT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(after.err, "");
    EXPECT_TRUE(contains(after.out, "\nline 0 3780 5424 3780\n")) << after.out;
    EXPECT_FALSE(contains(after.out, "line 0 3780 0 0")) << after.out;
    EXPECT_TRUE(contains(render({later, "--figure", "3", "--dump"}).out, "\nline 0 3780 0 0\n"));
    EXPECT_EQ(render({bad, "--figure", "4", "--dump"}).err, "次の図はもうありません！\n");

    const Outcome zero = render({plot, "--scale", "0", "--dump"});
    EXPECT_EQ(zero.status, 1);
    EXPECT_EQ(zero.err, "'0' は縮尺に使えません.\n");
    EXPECT_EQ(render({plot, "--scale", "1/100", "--dump"}).err, "'1/100' は浮動小数点数ではありません.\n");
}

TEST(RenderMessages, OffScreenFiguresAreReportedButDrawn) {
    TempDir dir;
    const Outcome run = render({dir.write("a.txt", "ly0\r\n 400 10 500 10\r\n"), "--dump"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "図は、画面の右側にある。\r\n\r\n画面幅の 0.4 倍右側にある。\n");
}

TEST(RenderDump, ListsTheFiguresOperations) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", kTwoFigures);
    const Outcome first = render({plot, "--dump"});
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(first.out, "picture 5424 3780\n"
                         "extents 0 5424 1890 1890\n"
                         "pen #ff0000 4 solid copy\n"
                         "line 0 1890 5424 1890\n");
    EXPECT_EQ(render({plot, "--dump", "--figure", "2", "--mono"}).out, "picture 5424 3780\n"
                                                                       "extents 2712 2712 0 3780\n"
                                                                       "pen #000000 2 solid copy\n"
                                                                       "line 2712 3780 2712 0\n");
    const Outcome all = render({plot, "--dump", "--all-layers", "--mono", "--scale", "2"});
    EXPECT_EQ(all.out, "picture 5424 3780\n"
                       "extents 0 2712 1890 3780\n"
                       "pen #000000 4 solid copy\n"
                       "line 0 2835 2712 2835\n"
                       "line 1356 3780 1356 1890\n");
}

TEST(RenderOutput, APngIsTheViewImage) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", kTwoFigures);
    ASSERT_EQ(render({plot, "-o", dir.file("a.png")}).status, 0);
    QImage image(QString::fromStdString(dir.file("a.png")));
    ASSERT_EQ(image.size(), QSize(688, 469));
    EXPECT_EQ(image.pixel(300, 234) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(300, 200) & 0xFFFFFF, 0xFFFFFFu);

    ASSERT_EQ(render({plot, "-o", dir.file("b.PNG"), "--size", "200x100", "--figure", "2"}).status, 0);
    QImage small(QString::fromStdString(dir.file("b.PNG")));
    ASSERT_EQ(small.size(), QSize(200, 100));
    EXPECT_EQ(small.pixel(100, 50) & 0xFFFFFF, 0u);
}

TEST(RenderOutput, SvgAndPdfAreVectorFiles) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", kTwoFigures);
    ASSERT_EQ(render({plot, "-o", dir.file("a.svg")}).status, 0);
    const std::string svg = zelkova::testing::readBytes(dir.file("a.svg"));
    EXPECT_TRUE(contains(svg, "<svg")) << svg.substr(0, 200);
    EXPECT_TRUE(contains(svg, "#ff0000")) << svg;
    ASSERT_EQ(render({plot, "-o", dir.file("a.pdf")}).status, 0);
    EXPECT_EQ(zelkova::testing::readBytes(dir.file("a.pdf")).substr(0, 5), "%PDF-");
}

TEST(RenderOutput, ABmpIsTheViewImageAndAnEmfItsMetafile) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", kTwoFigures);
    ASSERT_EQ(render({plot, "-o", dir.file("a.png")}).status, 0);
    ASSERT_EQ(render({plot, "-o", dir.file("a.bmp")}).status, 0);
    EXPECT_EQ(zelkova::testing::readBytes(dir.file("a.bmp")).substr(0, 2), "BM");
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("a.bmp"))).convertToFormat(QImage::Format_RGB32),
              QImage(QString::fromStdString(dir.file("a.png"))).convertToFormat(QImage::Format_RGB32));

    ASSERT_EQ(render({plot, "-o", dir.file("a.emf")}).status, 0);
    const std::string emf = zelkova::testing::readBytes(dir.file("a.emf"));
    ASSERT_GT(emf.size(), 88u);
    EXPECT_EQ(emf.substr(0, 4), std::string("\x01\0\0\0", 4)); // the header record
    EXPECT_EQ(emf.substr(40, 4), " EMF");
    const std::string svg = dir.file("a.svg");
    ASSERT_EQ(
        std::system(("emf2svg-conv -i '" + dir.file("a.emf") + "' -o '" + svg + "' >/dev/null 2>&1").c_str()),
        0);
    EXPECT_TRUE(contains(zelkova::testing::readBytes(svg), "#FF0000"));
}

TEST(RenderOutput, TheSelectionIsWhatTheCopiesTakeWhicheverWayTheFrameIsGiven) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", kTwoFigures);
    ASSERT_EQ(render({plot, "-o", dir.file("view.png")}).status, 0);
    ASSERT_EQ(render({plot, "-o", dir.file("a.png"), "--selection", "250,200,450,300"}).status, 0);
    ASSERT_EQ(render({plot, "-o", dir.file("b.png"), "--selection", "450,300,250,200"}).status, 0);
    const QImage a(QString::fromStdString(dir.file("a.png")));
    ASSERT_EQ(a.size(), QSize(200, 100));
    EXPECT_EQ(zelkova::testing::readBytes(dir.file("a.png")), zelkova::testing::readBytes(dir.file("b.png")));
    EXPECT_EQ(a.convertToFormat(QImage::Format_RGB32), QImage(QString::fromStdString(dir.file("view.png")))
                                                           .copy(250, 200, 200, 100)
                                                           .convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(a.pixel(50, 34) & 0xFFFFFF, 0xFF0000u);

    ASSERT_EQ(render({plot, "-o", dir.file("a.emf"), "--selection", "450,300,250,200"}).status, 0);
    const std::string emf = zelkova::testing::readBytes(dir.file("a.emf"));
    std::int32_t bounds[4] = {};
    std::memcpy(bounds, emf.data() + 8, sizeof bounds);
    EXPECT_EQ(bounds[2], 199);
    EXPECT_EQ(bounds[3], 99);

    // After the viewer's buttons, the frame lies on the view they leave.
    ASSERT_EQ(render({plot, "-o", dir.file("zoomed.png"), "--nav", "bigger"}).status, 0);
    ASSERT_EQ(
        render({plot, "-o", dir.file("z.png"), "--nav", "bigger", "--selection", "450,300,250,200"}).status,
        0);
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("z.png"))).convertToFormat(QImage::Format_RGB32),
              QImage(QString::fromStdString(dir.file("zoomed.png")))
                  .copy(250, 200, 200, 100)
                  .convertToFormat(QImage::Format_RGB32));

    const Outcome flat = render({plot, "-o", dir.file("c.png"), "--selection", "250,200,450,200"});
    EXPECT_EQ(flat.status, 2);
    EXPECT_TRUE(contains(flat.err, "--selection needs a frame with width and height")) << flat.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.png")));
}

TEST(RenderOutput, WholeWritesTheFigureAtItsOwnSizeInItsMargin) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", kTwoFigures);
    ASSERT_EQ(render({plot, "-o", dir.file("w.bmp"), "--whole"}).status, 0);
    const QImage whole(QString::fromStdString(dir.file("w.bmp")));
    ASSERT_EQ(whole.size(), QSize(5424 + 20, 20)); // extents 0 to 5424 across, 1890 down
    EXPECT_EQ(whole.pixel(10, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(whole.pixel(10, 4) & 0xFFFFFF, 0xFFFFFFu); // the pen is 4 wide: 8 to 11
    EXPECT_EQ(whole.pixel(5, 10) & 0xFFFFFF, 0xFFFFFFu);
    ASSERT_EQ(render({plot, "-o", dir.file("w.emf"), "--whole", "--figure", "2"}).status, 0);
    const std::string emf = zelkova::testing::readBytes(dir.file("w.emf"));
    std::int32_t bounds[4] = {};
    std::memcpy(bounds, emf.data() + 8, sizeof bounds);
    EXPECT_EQ(bounds[2], 19);   // one point across
    EXPECT_EQ(bounds[3], 3799); // 3780 down, and the margin

    const Outcome empty = render({dir.write("e.txt", "ly0\r\nlt1\r\n"), "-o", dir.file("e.bmp"), "--whole"});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "保存する図がありません！\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("e.bmp")));
}

TEST(RenderOutput, AnUnwritableTargetIsReported) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", kTwoFigures);
    const Outcome run = render({plot, "-o", dir.file("no/such/folder/a.png")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.err, "を作成できません")) << run.err;
}

TEST(RenderTextsAndImages, AreDumpedDrawnAndReported) {
    TempDir dir;
    QImage blue(400, 200, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    ASSERT_TRUE(blue.save(QString::fromStdString(dir.file("photo.jpg")), "JPEG", 100));
    const std::string plot = dir.write("a.txt", "ly\r\n"
                                                "ch 0 0 1 0 \"^@BMphoto.jpg,400,30\r\n"
                                                "ch 100 100 1 0 \"^@BMnone.bmp,1,30\r\n"
                                                "cn5\r\n"
                                                "ch 100 150 0 1 \"Zelkova\x81\x45\xA5\r\n");
    const Outcome run = render({plot, "--dump", "-o", dir.file("a.png")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "この画像ファイルは存在しません！\r\nnone.bmp\n");
    EXPECT_EQ(run.out, "picture 5424 3780\n"
                       "extents 0 1890 945 3780\n"
                       "image 0 3213 1134 3780 400 200 colour\n"
                       "text 1796 945 94 900 40 horizontal Zelkova\n");
    QImage image(QString::fromStdString(dir.file("a.png")));
    ASSERT_EQ(image.size(), QSize(688, 469));
    EXPECT_LT(qRed(image.pixel(70, 440)), 8);
    EXPECT_GT(qBlue(image.pixel(70, 440)), 245) << "the photograph";
    EXPECT_EQ(image.pixel(70, 395) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(RenderTextsAndImages, ACorruptJpegStopsTheFigureWithTheErrorReport) {
    TempDir dir;
    dir.write("broken.jpg", "\xFF\xD8\xFF garbage");
    const std::string plot =
        dir.write("a.txt", "ly\r\n 0 0 10 10\r\nly\r\nch 0 0 1 0 \"^@BMbroken.jpg,1,30\r\n");
    const Outcome first = render({plot, "--dump"});
    EXPECT_EQ(first.status, 0);
    const Outcome second = render({plot, "--dump", "--figure", "2"});
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err, "画像ファイル " + dir.file("broken.jpg") + " を読み込めません.\n");
}

TEST(RenderCorpus, EveryPlotFileOfTheCorpusRenders) {
    TempDir dir;
    for (const auto& entry :
         std::filesystem::directory_iterator(zelkova::testing::corpusDir() / "plotfiles")) {
        if (entry.path().extension() != ".txt")
            continue;
        const std::string name = entry.path().filename().string();
        const std::string out = dir.file(entry.path().stem().string() + ".png");
        const Outcome run = render({entry.path().string(), "-o", out, "--scale", "100", "--all-layers"});
        if (name == "sample09.txt") { // the documentation excerpt has no start marker
            EXPECT_EQ(run.status, 1);
            continue;
        }
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        EXPECT_TRUE(QImage(QString::fromStdString(out)).size() == QSize(688, 469)) << name;
    }
}

// Lines, fills of every pattern, wide pens and raster modes, which the batch tool draws on its view
// image without the toolkit's application.
constexpr const char* kShapes = "ly0\r\n"
                                "lc1\r\n 10 10 270 190\r\n"
                                "lc3\r\n 10 190 270 10\r\nlt4\r\n 20 100 260 100\r\nlt1\r\n"
                                "ms 12 9 15\r\n 143 5 143 195\r\nme\r\n"
                                "bl 3 1 1 2\r\n 30 30 0 0\r\n 80 30 0 0\r\n 55 80 0 0\r\ne\r\n"
                                "bc 10 4 13 5\r\nci 200 60 25\r\n"
                                "bc 11 2 1 1\r\nci 200 140 25\r\n"
                                "bc 12 5 1 1\r\nci 100 140 25\r\n"
                                "sl 240 150 280 150 280 190\r\n"
                                "ci 60 150 20 30 300 0.5 0.2\r\n"
                                "pt 150 150\r\n";

TEST(RenderCorpus, TheBatchToolDrawsAsInProcess) {
    // In process the tests' application is there; the batch tool starts one only for texts.
    TempDir dir;
    std::vector<std::string> plots = {dir.write("shapes.txt", kShapes)};
    for (const char* name : {"sample01.txt", "sample04.txt", "sample05.txt", "sample07.txt"})
        plots.push_back((zelkova::testing::corpusDir() / "plotfiles" / name).string());
    for (const std::string& plot : plots) {
        const Arguments options = {"--scale", plot.find("sample") != std::string::npos ? "100" : "1",
                                   "--all-layers"};
        Arguments here = {plot, "-o", dir.file("here.png")};
        here.insert(here.end(), options.begin(), options.end());
        ASSERT_EQ(render(here).status, 0) << plot;
        QProcess batch;
        QStringList arguments = {QStringLiteral("render"), QString::fromStdString(plot), QStringLiteral("-o"),
                                 QString::fromStdString(dir.file("batch.png"))};
        for (const std::string& option : options)
            arguments << QString::fromStdString(option);
        batch.start(QStringLiteral(ZELKOVA_BATCH_PROGRAM), arguments);
        ASSERT_TRUE(batch.waitForFinished(60000)) << plot;
        EXPECT_EQ(batch.exitCode(), 0) << plot << ": " << batch.readAllStandardError().toStdString();
        const QImage expected(QString::fromStdString(dir.file("here.png")));
        EXPECT_FALSE(expected.isNull());
        EXPECT_TRUE(QImage(QString::fromStdString(dir.file("batch.png"))) == expected) << plot;
    }
}

// A view that shows the picture's pixels one to one, picture pixel (2612, 1790) at the view's
// (0, 0): a line across the paper at 100 mm runs along row 100 of a 200 x 200 image.
const Arguments kOneToOne = {"--size", "200x200", "--view", "-2612,-1790,2812,1990"};

// The rows of column 100 that are not white, and their colour when they all have one.
struct Stroke {
    int rows = 0;
    QRgb colour = 0xFFFFFF;
};
Stroke strokeOf(const std::string& png) {
    const QImage image(QString::fromStdString(png));
    Stroke stroke;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb pixel = image.pixel(100, y) & 0xFFFFFF;
        if (pixel == 0xFFFFFF)
            continue;
        ++stroke.rows;
        stroke.colour = pixel;
    }
    return stroke;
}

Outcome renderPens(const std::string& plot, const std::string& png, const Arguments& pens) {
    Arguments args = {plot, "-o", png};
    args.insert(args.end(), kOneToOne.begin(), kOneToOne.end());
    args.insert(args.end(), pens.begin(), pens.end());
    return render(args);
}

TEST(RenderPens, ColourNamesAreReadAsThePenPanelShowsThem) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", "ly0\r\nlc3\r\n 0 100 287 100\r\n");
    const std::vector<std::pair<std::string, QRgb>> colours = {
        {"clRed", 0xFF0000},     {"$00FF8000", 0x0080FF}, {"33023", 0xFF8000},
        {"clnavy", 0x000080},    {"$000080ff", 0xFF8000}, {"clBtnFace", 0xD4D0C8}, // the classic scheme
        {"$12FF8000", 0x0080FF}, // the top byte is no colour
    };
    for (const auto& [name, rgb] : colours) {
        const std::string png = dir.file("pen.png");
        const Outcome run = renderPens(plot, png, {"--pen", "3=" + name});
        ASSERT_EQ(run.status, 0) << name << ": " << run.err;
        const Stroke stroke = strokeOf(png);
        EXPECT_EQ(stroke.rows, 4) << name;
        EXPECT_EQ(stroke.colour, rgb) << name;
    }
    // Repeated, the last one holds; in monochrome no pen colour is applied.
    const std::string png = dir.file("last.png");
    ASSERT_EQ(renderPens(plot, png, {"--pen", "3=clRed", "--pen", "3=clLime"}).status, 0);
    EXPECT_EQ(strokeOf(png).colour, 0x00FF00u);
    ASSERT_EQ(renderPens(plot, png, {"--pen", "3=clRed", "--mono"}).status, 0);
    EXPECT_EQ(strokeOf(png).colour, 0u);
    // clNone draws nothing.
    ASSERT_EQ(renderPens(plot, png, {"--pen", "3=clNone"}).status, 0);
    EXPECT_EQ(strokeOf(png).rows, 0);

    // A name that is neither in the table nor a number stops the figure once the pen is chosen: in
    // the first figure with the open command's message, later with the conversion error.
    const std::string two =
        dir.write("two.txt", "ly0\r\nlc2\r\n 0 100 287 100\r\nly1\r\nlc3\r\n 0 0 1 1\r\n");
    EXPECT_EQ(render({plot, "--dump", "--pen", "3=orange"}).err,
              "エラーのため指定のファイルを開くことが出来ない！\n");
    EXPECT_EQ(render({two, "--dump", "--pen", "3=orange"}).status, 0); // pen 3 is not chosen yet
    const Outcome bad = render({two, "--figure", "2", "--dump", "--pen", "3=orange"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "'orange' は整数ではありません.\n");
    EXPECT_EQ(render({two, "--figure", "2", "--dump", "--pen", "4=orange"}).status, 0);
}

TEST(RenderPens, WidthTextsGoThroughTheWidthMappingWhenThePenIsChosen) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", "ly0\r\nlc3\r\n 0 100 287 100\r\n");
    // Width numbers 1 to 20 give 1 and 2 (n - 1) picture pixels; other numbers the thinnest line.
    const std::vector<std::pair<std::string, int>> widths = {{"1", 1},   {"2", 2},  {"3", 4}, {"7", 12},
                                                             {"20", 38}, {"21", 1}, {"0", 1}, {"-1", 1}};
    for (const auto& [text, rows] : widths) {
        const std::string png = dir.file("width.png");
        const Outcome run = renderPens(plot, png, {"--pen-width", "3=" + text});
        ASSERT_EQ(run.status, 0) << text << ": " << run.err;
        EXPECT_EQ(strokeOf(png).rows, rows) << text;
    }
    const Outcome dump = render({plot, "--dump", "--pen-width", "3=7", "--pen", "3=$00FF8000"});
    EXPECT_TRUE(contains(dump.out, "\npen #0080ff 12 solid copy\n")) << dump.out;

    // A text that is not an integer stops the figure where the pen is chosen, as the viewer does.
    const std::string two =
        dir.write("two.txt", "ly0\r\nlc2\r\n 0 100 287 100\r\nly1\r\nlc3\r\n 0 0 1 1\r\n");
    EXPECT_EQ(render({two, "--dump", "--pen-width", "3=abc"}).status, 0); // pen 3 is not chosen yet
    const Outcome bad = render({two, "--figure", "2", "--dump", "--pen-width", "3=abc"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "'abc' は整数ではありません.\n");
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(render({plot, "--dump", "--pen-width", "3=abc"}).err,
              "エラーのため指定のファイルを開くことが出来ない！\n");
    // Pen 1's width is read at the start of every figure.
    EXPECT_EQ(render({two, "--figure", "2", "--dump", "--pen-width", "1=abc"}).err,
              "'abc' は整数ではありません.\n");
}

} // namespace
} // namespace zelkova::batch
