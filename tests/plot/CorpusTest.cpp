// Shows that every real plot file of the corpus is read whole, figure by figure, as the viewer
// reads it, and draws what its records hold.
#include "ScriptedMessageBoxes.h"
#include "TempDir.h"

#include "plot/Picture.h"
#include "plot/Reader.h"
#include "plot/Renderer.h"
#include "plot/ViewerTexts.h"
#include "text/Failure.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zelkova::plot {
namespace {

struct FileSummary {
    bool plotFile = false;
    int figures = 0; // figures read before the no-further-figure message
    std::vector<std::size_t> opsPerFigure;
    int texts = 0; // text operations recorded
    std::vector<std::string> messages;
    std::string failure;
};

FileSummary readWhole(const std::string& name, const char* scale) {
    FileSummary summary;
    Reader reader = Reader::openFile((zelkova::testing::corpusDir() / "plotfiles" / name).string());
    summary.plotFile = reader.seekStartMarker();
    if (!summary.plotFile)
        return summary;
    FigureSettings settings;
    settings.scaleText = scale;
    zelkova::testing::ScriptedMessageBoxes messages;
    for (int guard = 0; guard < 1000; ++guard) {
        Picture picture;
        try {
            if (readFigure(reader, picture, settings, messages) == FigureEnd::NoFurtherFigure)
                break;
        } catch (const text::Failure& failure) {
            summary.failure = failure.what();
            break;
        }
        ++summary.figures;
        summary.opsPerFigure.push_back(picture.ops().size());
        for (const PictureOp& op : picture.ops())
            summary.texts += op.kind == OpKind::Text;
    }
    summary.messages = messages.texts();
    return summary;
}

TEST(Corpus, EveryFileIsReadToItsEndWithoutAnError) {
    for (const auto& entry :
         std::filesystem::directory_iterator(zelkova::testing::corpusDir() / "plotfiles")) {
        if (entry.path().extension() != ".txt")
            continue;
        const std::string name = entry.path().filename().string();
        for (const char* scale : {"1", "100", "-37.5"}) {
            const FileSummary s = readWhole(name, scale);
            EXPECT_EQ(s.failure, "") << name << " at 1/" << scale;
            if (s.plotFile) {
                ASSERT_FALSE(s.messages.empty()) << name;
                EXPECT_EQ(s.messages.back(), kNoFurtherFigureText) << name;
            }
        }
    }
}

TEST(Corpus, FilesWithoutDrawingDataHaveOneEmptyFigure) {
    for (const char* name : {"sample02.txt", "sample03.txt"}) {
        const FileSummary s = readWhole(name, "100");
        EXPECT_TRUE(s.plotFile) << name;
        EXPECT_EQ(s.figures, 1) << name;
        EXPECT_EQ(s.opsPerFigure, std::vector<std::size_t>{0}) << name;
        EXPECT_EQ(s.messages.size(), 1u) << name;
    }
}

TEST(Corpus, TheDocumentationExcerptHasNoStartMarker) {
    EXPECT_FALSE(readWhole("sample09.txt", "1").plotFile);
}

TEST(Corpus, AOneLineDrawingAtItsScaleFitsThePaper) {
    const FileSummary s = readWhole("sample01.txt", "100");
    EXPECT_EQ(s.figures, 1);
    EXPECT_EQ(s.opsPerFigure, std::vector<std::size_t>{2}); // pen and line
    EXPECT_EQ(s.messages.size(), 1u);                       // only the no-further-figure message
    // At 1/1 the 10 m line runs off both sides of the paper but covers it: no message either.
    const FileSummary full = readWhole("sample01.txt", "1");
    EXPECT_EQ(full.messages.size(), 1u);
}

TEST(Corpus, AFloorPlanIsDrawnLayerByLayer) {
    const FileSummary s = readWhole("sample06.txt", "100");
    EXPECT_GT(s.figures, 3);
    EXPECT_GT(s.texts, 50);
    // A figure ends at a layer only once it has drawn; the last one, at the end of the file, holds
    // the texts that the writer puts after all lines.
    for (std::size_t i = 0; i + 1 < s.opsPerFigure.size(); ++i)
        EXPECT_GT(s.opsPerFigure[i], 0u) << "figure " << i + 1;
}

TEST(Corpus, LinesWithoutTheirLeadingBlankAreSkipped) {
    // The elevation generator's lines lack the blank; its circles and points are drawn.
    const FileSummary s = readWhole("sample07.txt", "100");
    EXPECT_EQ(s.failure, "");
    EXPECT_GE(s.figures, 1);
}

} // namespace
} // namespace zelkova::plot
