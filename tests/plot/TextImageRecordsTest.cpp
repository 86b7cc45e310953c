// Shows that the renderer writes text records where the cell rule puts them, with the escapement,
// spacing and face they ask for, and places image records in their rectangle with the messages
// of a missing or unsupported file, stopping the figure at a height that is not a number or a
// file the loader cannot read.
#include "PlotTestSupport.h"
#include "ScriptedMessageBoxes.h"
#include "TempDir.h"

#include "plot/Renderer.h"
#include "text/Failure.h"

#include <gtest/gtest.h>

#include <map>

namespace zelkova::plot {
namespace {

using testing::CallRecorder;
using testing::readerOf;
using zelkova::testing::TempDir;

// Hands out bitmaps of the sizes it is told, remembering what it was asked to load.
class FakeLoader final : public ImageLoader {
public:
    DecodedImage load(const std::string& path, ImageFormat format) override {
        loads.emplace_back(path, format);
        if (failing)
            throw text::Failure("画像ファイル " + path + " を読み込めません");
        auto bitmap = std::make_shared<Bitmap>();
        bitmap->width = width;
        bitmap->height = height;
        bitmap->pixels.assign(static_cast<std::size_t>(width * height), 0xFF808080u);
        return {bitmap, greyscale};
    }
    std::vector<std::pair<std::string, ImageFormat>> loads;
    std::int32_t width = 400;
    std::int32_t height = 200;
    bool greyscale = false;
    bool failing = false;
};

// Draws the records of `text` (code page 932) with the images of `folder`.
struct Drawing {
    Drawing(const std::string& text, ImageLoader* loader = nullptr, std::string folder = {},
            const char* scale = "1") {
        settings.scaleText = scale;
        Renderer renderer(canvas, PictureGeometry::forDpi(96, 96), scaleDenominatorOf(scale), settings,
                          messages, ImageAccess{loader, std::move(folder)});
        Reader reader = readerOf(text);
        try {
            while (auto record = reader.next())
                renderer.apply(*record);
        } catch (const text::Failure& f) {
            failure = f.what();
        }
        extents = renderer.extents();
        height = renderer.fontHeight();
    }
    FigureSettings settings;
    CallRecorder canvas;
    zelkova::testing::ScriptedMessageBoxes messages;
    Extents extents;
    std::int32_t height = 0;
    std::string failure;
};

// Picture coordinates at 96 dpi, scale 1/1.
std::int32_t px(double mm) {
    return rnd(mm * 96 / 25.4 * 5);
}
std::int32_t py(double mm) {
    return 3780 - px(mm);
}

TEST(TextRecords, StandTheFirstCellOnTheAnchorInEveryDirection) {
    const Drawing d("cn5\r\n"
                    "ch 10 20 1 0 \"A\r\n"
                    "ch 10 20 0 1 \"A\r\n"
                    "ch 10 20 -1 0 \"A\r\n"
                    "cs 10 20 -1e-11 1 \"A\r\n"
                    "cv 10 20 0 -5 \"A\r\n");
    ASSERT_EQ(d.canvas.texts.size(), 5u);
    const std::int32_t h = px(5);
    const std::int32_t x = px(10);
    const std::int32_t y = py(20);
    const auto& t = d.canvas.texts;
    EXPECT_EQ(t[0].at, (Point{x, y - h}));
    EXPECT_EQ(t[0].escapement, 0);
    EXPECT_EQ(t[1].at, (Point{x - h, y}));
    EXPECT_EQ(t[1].escapement, 900);
    EXPECT_EQ(t[2].at, (Point{x, y + h}));
    EXPECT_EQ(t[2].escapement, 1800);
    EXPECT_EQ(t[3].at, (Point{x - h, y}));
    EXPECT_EQ(t[3].escapement, 900);
    EXPECT_EQ(t[4].at, (Point{x + h, y}));
    EXPECT_EQ(t[4].escapement, -900);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(t[i].face, TextFace::Horizontal) << i;
    EXPECT_EQ(t[4].face, TextFace::Vertical);
    for (const TextOp& op : t) {
        EXPECT_EQ(op.height, h);
        EXPECT_EQ(op.extraSpacing, 0);
        EXPECT_EQ(op.text, "A");
    }
    EXPECT_EQ(d.height, h) << "the font stays the figure's font";
}

TEST(TextRecords, SpreadTheirTextAndDrawNothingForMarksAlone) {
    // Six bytes of text and P = 5 at h = 40 picture pixels: 200 div 6 = 33.
    const Drawing spread("ch 0 0 1 0 \"ABCDEF\x81\x45\x81\x45\xA5\r\n");
    ASSERT_EQ(spread.canvas.texts.size(), 1u);
    EXPECT_EQ(spread.canvas.texts[0].text, "ABCDEF");
    EXPECT_EQ(spread.canvas.texts[0].extraSpacing, spread.height * 5 / 6);

    const Drawing marks("ch 100 100 1 0 \"\x81\x45\x81\x45\xA5\r\nch 0 0 1 0 \"\r\n");
    EXPECT_TRUE(marks.canvas.texts.empty());
    EXPECT_FALSE(marks.extents.anyDrawn()) << "nothing drawn, nothing converted";
}

TEST(TextRecords, WidenTheDrawnExtentsByTheirAnchor) {
    const Drawing d("ch 400 -10 1 0 \"far away\r\n");
    EXPECT_EQ(d.extents.minX, px(400));
    EXPECT_EQ(d.extents.maxX, px(400));
    EXPECT_EQ(d.extents.minY, py(-10));
    EXPECT_EQ(d.extents.maxY, py(-10));
}

class ImageRecords : public ::testing::Test {
protected:
    TempDir dir;
    FakeLoader loader;
    std::string folder() const { return dir.file(""); }
};

TEST_F(ImageRecords, FillTheirHeightInPaperMillimetresWithTheBitmapsAspect) {
    dir.write("photo.jpg", "x");
    const Drawing d("ch 0 0 1 0 \"^@BM" + dir.file("photo.jpg") + ",0,30\r\n", &loader, folder());
    ASSERT_EQ(d.canvas.images.size(), 1u);
    const ImageOp& op = d.canvas.images[0];
    EXPECT_EQ(op.left, px(0));
    EXPECT_EQ(op.top, py(30));
    EXPECT_EQ(op.right, px(60));
    EXPECT_EQ(op.bottom, py(0));
    EXPECT_EQ(d.extents.maxX, px(60));
    EXPECT_EQ(d.extents.minY, py(30));
    ASSERT_EQ(loader.loads.size(), 1u);
    EXPECT_EQ(loader.loads[0].second, ImageFormat::Jpeg);
    EXPECT_TRUE(d.messages.shown().empty());
}

TEST_F(ImageRecords, KeepTheirPaperHeightAtAnyScale) {
    dir.write("a.bmp", "x");
    const Drawing d("ch 1000 2000 1 0 \"^@BMa.bmp,100,30\r\n", &loader, folder(), "100");
    ASSERT_EQ(d.canvas.images.size(), 1u);
    const ImageOp& op = d.canvas.images[0];
    EXPECT_EQ(op.left, px(10));
    EXPECT_EQ(op.bottom, py(20));
    EXPECT_EQ(op.top, py(50));
    EXPECT_EQ(op.right, px(70));
    EXPECT_EQ(loader.loads[0].first, dir.file("a.bmp")) << "found in the plot file's folder";
    EXPECT_EQ(loader.loads[0].second, ImageFormat::Bmp);
}

TEST_F(ImageRecords, ReadTheLongerFormOfTheCadProgram) {
    dir.write("photo.JPG", "x");
    const Drawing d("ch 0 0 1 0 \"^@BMC:\\jww\\photo.JPG,640,30,0,0,1,0\r\n", &loader, folder());
    ASSERT_EQ(d.failure, "");
    ASSERT_EQ(d.canvas.images.size(), 1u);
    EXPECT_EQ(d.canvas.images[0].top, py(30));
}

TEST_F(ImageRecords, ReportMissingAndUnsupportedFilesAndGoOn) {
    dir.write("photo.Jpg", "x");
    dir.write("photo.png", "x");
    const Drawing d("ch 0 0 1 0 \"^@BMnone.jpg,1,30\r\n"
                    "ch 0 0 1 0 \"^@BMphoto.Jpg,1,30\r\n"
                    "ch 0 0 1 0 \"^@BMC:\\photo.png,1,30\r\n"
                    "ch 0 0 1 0 \"^@BMphoto.jpg\r\n"
                    "ch 5 5 1 0 \"after\r\n",
                    &loader, folder());
    EXPECT_EQ(d.failure, "");
    EXPECT_EQ(d.messages.texts(), (std::vector<std::string>{
                                      "この画像ファイルは存在しません！\r\nnone.jpg",
                                      "本ソフトで未対応の画像ファイルです！\r\nphoto.Jpg",
                                      "本ソフトで未対応の画像ファイルです！\r\nC:\\photo.png",
                                      "この画像ファイルは存在しません！\r\n",
                                  }));
    EXPECT_TRUE(loader.loads.empty());
    EXPECT_TRUE(d.canvas.images.empty());
    ASSERT_EQ(d.canvas.texts.size(), 1u) << "the figure goes on";
    EXPECT_EQ(d.extents.minX, px(5)) << "only the text's anchor was converted";
    EXPECT_EQ(d.extents.maxY, py(5));
}

TEST_F(ImageRecords, StopTheFigureAtAHeightThatIsNoNumberOrAFileThatCannotBeRead) {
    dir.write("a.bmp", "x");
    const Drawing height("ch 0 0 1 0 \"^@BMa.bmp,1,3O\r\nch 0 0 1 0 \"after\r\n", &loader, folder());
    EXPECT_EQ(height.failure, "'3O' は浮動小数点数ではありません");
    EXPECT_TRUE(height.canvas.texts.empty());
    // A missing file is reported before its height is read.
    const Drawing missing("ch 0 0 1 0 \"^@BMb.bmp,1,x\r\n", &loader, folder());
    EXPECT_EQ(missing.failure, "");

    loader.failing = true;
    const Drawing unreadable("ch 0 0 1 0 \"^@BMa.bmp,1,30\r\nch 0 0 1 0 \"after\r\n", &loader, folder());
    EXPECT_EQ(unreadable.failure, "画像ファイル " + dir.file("a.bmp") + " を読み込めません");
    EXPECT_TRUE(unreadable.canvas.texts.empty());
}

TEST_F(ImageRecords, DecodeAFileOnceAFigureAndNoteAGreyscaleJpegOnce) {
    dir.write("scan.jpg", "x");
    loader.greyscale = true;
    loader.width = 100;
    loader.height = 100;
    const Drawing d("ch 0 0 1 0 \"^@BMscan.jpg,1,10\r\nch 50 0 1 0 \"^@BMscan.jpg,1,20\r\n", &loader,
                    folder());
    EXPECT_EQ(loader.loads.size(), 1u);
    ASSERT_EQ(d.canvas.images.size(), 2u);
    EXPECT_EQ(d.canvas.images[0].bitmap, d.canvas.images[1].bitmap) << "one bitmap, shared";
    EXPECT_EQ(d.canvas.images[1].right - d.canvas.images[1].left, px(20));
    EXPECT_EQ(d.messages.texts(),
              std::vector<std::string>{"scan.jpg\r\nﾓﾉｸﾛJPEGです。画像劣化するので、WINDOWSのｱｸｾｻﾘｰで\r\n"
                                       "画像ﾌｧｲﾙを白黒ﾋﾞｯﾄﾏｯﾌﾟに変えてから実行して下さい。"});
}

TEST_F(ImageRecords, OpenAJapanesePathByItsNativeName) {
    const std::string native = dir.write("写真/図面.jpg", "x");
    // 写真\図面.jpg in code page 932.
    const Drawing d("ch 0 0 1 0 \"^@BM" + dir.file("") + "\x8E\xCA\x90\x5E/\x90\x7D\x96\xCA.jpg,1,10\r\n",
                    &loader, folder());
    EXPECT_TRUE(d.messages.shown().empty()) << d.messages.texts().front();
    ASSERT_EQ(loader.loads.size(), 1u);
    EXPECT_EQ(loader.loads[0].first, native);
}

TEST_F(ImageRecords, AreCheckedButNotDrawnWithoutALoader) {
    dir.write("a.bmp", "x");
    const Drawing d("ch 0 0 1 0 \"^@BMa.bmp,1,30\r\n", nullptr, folder());
    EXPECT_TRUE(d.canvas.images.empty());
    EXPECT_EQ(d.failure, "");
    EXPECT_TRUE(d.messages.shown().empty());
}

} // namespace
} // namespace zelkova::plot
