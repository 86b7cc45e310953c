// Shows that a plot session keeps or forgets its file as the open and next-figure commands require,
// and that each way a request ends shows its one message.
#include "ScriptedMessageBoxes.h"
#include "TempDir.h"

#include "plot/PlotSession.h"
#include "text/Failure.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

namespace zelkova::plot {
namespace {

using Outcome = PlotSession::Outcome;
using zelkova::testing::ScriptedMessageBoxes;
using zelkova::testing::TempDir;

class PlotSessionTest : public ::testing::Test {
protected:
    FigureSettings settings;
    ScriptedMessageBoxes messages;
    TempDir dir;
    PlotSession session;
};

TEST_F(PlotSessionTest, AMissingFileKeepsTheFormerFileAndFigure) {
    const std::string plot = dir.write("a.txt", "ly\r\n 0 0 10 10\r\n");
    ASSERT_EQ(session.open(plot, settings, messages), Outcome::Drawn);
    const Picture* figure = session.picture();
    EXPECT_EQ(session.open(dir.file("none.txt"), settings, messages), Outcome::NotFound);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"指定のファイルを開けない！（名前が違う？）"});
    EXPECT_EQ(session.path(), plot);
    EXPECT_EQ(session.picture(), figure);
}

TEST_F(PlotSessionTest, AFifoIsNoPlotFileAndIsNeverWaitedFor) {
#ifdef _WIN32
    const std::string fifo = "NUL"; // Windows has no FIFO in its file system; a device is refused alike
#else
    const std::string fifo = dir.file("pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
#endif
    EXPECT_EQ(session.open(fifo, settings, messages), Outcome::NotFound);
    EXPECT_THROW(Reader::openFile(fifo), text::Failure);
    EXPECT_FALSE(session.isOpen());
}

TEST_F(PlotSessionTest, AFileWithoutTheStartMarkerStaysNamedAtItsEnd) {
    const std::string plain = dir.write("b.txt", "# no layer here\r\n 0 0 10 10\r\n");
    EXPECT_EQ(session.open(plain, settings, messages), Outcome::NotAPlotFile);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{" これは作図ﾌｧｲﾙでない！"});
    EXPECT_TRUE(session.isOpen());
    EXPECT_EQ(session.next(settings, messages), Outcome::NoFurtherFigure);
    EXPECT_EQ(messages.texts().back(), "次の図はもうありません！");
}

TEST_F(PlotSessionTest, AnErrorInTheFirstFigureIsTheOpenCommandsAndALaterOneItsOwnText) {
    const std::string plot = dir.write("c.txt", "ly\r\n 0 x 1 1\r\n 0 0 5 5\r\nly\r\n 0 y 1 1\r\n");
    EXPECT_EQ(session.open(plot, settings, messages), Outcome::FigureFailed);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"エラーのため指定のファイルを開くことが出来ない！"});
    EXPECT_EQ(session.path(), plot) << "the file stays named, its reader where the error happened";
    // The reader reads on after the error: the rest of the first layer is the next figure.
    EXPECT_EQ(session.next(settings, messages), Outcome::Drawn);
    ASSERT_NE(session.picture(), nullptr);
    EXPECT_FALSE(session.picture()->empty());
    EXPECT_EQ(session.next(settings, messages), Outcome::FigureFailed);
    EXPECT_EQ(messages.shown().back().text, "入力値が数値ではありません.");
    EXPECT_EQ(messages.shown().back().kind, platform::MessageKind::Error);
}

TEST_F(PlotSessionTest, ClosingForgetsTheFileAndTheNextFigureThenDoesNothing) {
    ASSERT_EQ(session.open(dir.write("d.txt", "ly\r\n 0 0 1 1\r\n"), settings, messages), Outcome::Drawn);
    session.close();
    EXPECT_FALSE(session.isOpen());
    EXPECT_EQ(session.next(settings, messages), Outcome::NoFile);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_NE(session.picture(), nullptr) << "the last figure stays until the next one";
}

// A loader of one-pixel bitmaps that remembers the files it was asked for.
class RememberingLoader final : public ImageLoader {
public:
    DecodedImage load(const std::string& path, ImageFormat) override {
        files.push_back(path);
        auto bitmap = std::make_shared<Bitmap>();
        bitmap->width = bitmap->height = 1;
        bitmap->pixels = {0xFF000000u};
        return {bitmap, false};
    }
    std::vector<std::string> files;
};

TEST_F(PlotSessionTest, HandsItsLoaderTheImagesBesideThePlotFile) {
    const std::string photo = dir.write("plots/photo.jpg", "x");
    const std::string plot = dir.write("plots/a.txt", "ly\r\nch 0 0 1 0 \"^@BMC:\\jww\\photo.jpg,1,30\r\n");
    EXPECT_EQ(session.open(plot, settings, messages), Outcome::Drawn);
    EXPECT_TRUE(messages.shown().empty()) << "without a loader the file is found but not drawn";
    RememberingLoader loader;
    session.setImageLoader(&loader);
    EXPECT_EQ(session.open(plot, settings, messages), Outcome::Drawn);
    EXPECT_EQ(loader.files, std::vector<std::string>{photo});
    ASSERT_NE(session.picture(), nullptr);
    ASSERT_EQ(session.picture()->ops().size(), 1u);
    EXPECT_EQ(session.picture()->ops()[0].kind, OpKind::Image);
}

} // namespace
} // namespace zelkova::plot
