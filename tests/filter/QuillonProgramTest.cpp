// Shows, by running the built program in a scratch working folder without a display, that Quillon
// reorders the exchange file as the CAD program's users rely on, leaves the exchange file as it was
// and reports a missing or short one with a non-zero exit status.
#include "ExchangeText.h"
#include "ScriptedMessageBoxes.h"
#include "TempDir.h"

#include "plot/Picture.h"
#include "plot/Reader.h"
#include "plot/Renderer.h"
#include "text/Failure.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using zelkova::testing::crlfLines;
using zelkova::testing::numberedLines;
using zelkova::testing::readBytes;
using zelkova::testing::sameBytes;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

class QuillonProgram : public ::testing::Test {
protected:
    // Runs quillon in the work folder with no display to connect to.
    Finished run(const std::vector<std::string>& arguments) {
        const std::string outFile = captures.file("stdout"), errFile = captures.file("stderr");
        const pid_t pid = fork();
        if (pid == 0) {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            if (chdir(work.path().c_str()) != 0)
                _exit(126);
            dup2(open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            dup2(open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            std::vector<char*> argv{const_cast<char*>(QUILLON_PROGRAM)};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(QUILLON_PROGRAM, argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(outFile), readBytes(errFile)};
    }

    // Writes the exchange file, runs quillon on it into plot.txt and checks that it ended well and
    // left the exchange file alone; returns the output.
    std::string filter(const std::string& exchange) {
        work.write("JWC_TEMP.TXT", exchange);
        const Finished result = run({"plot.txt"});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, "Stop - Program terminated.\n");
        EXPECT_TRUE(sameBytes(exchange, readBytes(work.path() / "JWC_TEMP.TXT")));
        return readBytes(work.path() / "plot.txt");
    }
    std::string filter(const Lines& lines) { return filter(crlfLines(lines)); }

    // Lines first..last of `lines` (from 1).
    static Lines part(const Lines& lines, int first, int last) {
        return Lines(&lines[first - 1], &lines[last]);
    }
    static Lines joined(std::initializer_list<Lines> parts) {
        Lines all;
        for (const Lines& p : parts)
            all.insert(all.end(), p.begin(), p.end());
        return all;
    }

    zelkova::testing::TempDir work, captures;
};

} // namespace

TEST_F(QuillonProgram, WithoutPivotCopiesLines9ToTheEnd) {
    const Lines lines = numberedLines(20);
    EXPECT_TRUE(sameBytes(crlfLines(part(lines, 9, 20)), filter(lines)));
}

TEST_F(QuillonProgram, MovesLinesFromTheExtendedColourToTheFrontAfterTheLayersInForce) {
    // The only layer record is line 10, the only layer-group record line 12; both are longer than
    // the 3 characters they contribute.
    const Lines lines = numberedLines(20, {{10, "ly3 first"}, {12, "lg2x"}, {15, "lc10 65408"}});
    const std::string expected = crlfLines(joined({{"lg2", "ly3"}, part(lines, 15, 20), part(lines, 9, 14)}));
    EXPECT_TRUE(sameBytes(expected, filter(lines)));
    EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), 14);
}

TEST_F(QuillonProgram, ALayerGroupRecordOfTwoCharactersContributesABlank) {
    const Lines lines = numberedLines(12, {{9, "lg"}, {11, "lc10 255"}});
    EXPECT_TRUE(sameBytes(crlfLines(joined({{"lg ", "ly0"}, part(lines, 11, 12), part(lines, 9, 10)})),
                          filter(lines)));
}

TEST_F(QuillonProgram, AnImageIsAPivotInTheSixthFieldOnly) {
    const std::string image = R"(ch 100 200 1 0 "^@BMC:\jww\plan.bmp,100,30)";
    Lines lines = numberedLines(12, {{11, image}});
    EXPECT_TRUE(sameBytes(crlfLines(joined({{"lg0", "ly0"}, part(lines, 11, 12), part(lines, 9, 10)})),
                          filter(lines)));
    lines[10] = R"(ch 100 200 1 "^@BMC:\jww\plan.bmp,100,30)";
    EXPECT_TRUE(sameBytes(crlfLines(part(lines, 9, 12)), filter(lines)));
}

TEST_F(QuillonProgram, OnlyTheFirstOfTwoPivotsCounts) {
    const Lines lines = numberedLines(14, {{10, R"(ch 0 0 1 0 "^@BMa.jpg,10)"}, {12, "lc10 255"}});
    EXPECT_TRUE(sameBytes(crlfLines(joined({{"lg0", "ly0"}, part(lines, 10, 14), part(lines, 9, 9)})),
                          filter(lines)));
}

TEST_F(QuillonProgram, APivotAmongTheHeaderLinesLeavesNothingForTheSecondPass) {
    const Lines lines = numberedLines(20, {{2, "ly5"}, {4, "lc10 255"}});
    EXPECT_TRUE(sameBytes(crlfLines(joined({{"lg0", "ly5"}, part(lines, 4, 20)})), filter(lines)));
}

TEST_F(QuillonProgram, CutsLongLinesAt254CharactersAndDropsTrailingBlanks) {
    const std::string longLine = " " + std::string(200, '1') + std::string(60, ' ') + std::string(39, '2');
    const Lines lines = numberedLines(10, {{9, longLine}, {10, "cn3   "}});
    EXPECT_TRUE(sameBytes(" " + std::string(200, '1') + "\r\ncn3\r\n", filter(lines)));
}

TEST_F(QuillonProgram, ReadsEveryKindOfLineEndAndWritesCrLf) {
    const Lines lines = numberedLines(11);
    std::string lf, cr;
    for (const std::string& line : lines) {
        lf += line + "\n";
        cr += line + "\r";
    }
    const std::string expected = "L9\r\nL10\r\nL11\r\n";
    EXPECT_TRUE(sameBytes(expected, filter(lf)));
    EXPECT_TRUE(sameBytes(expected, filter(cr)));
    EXPECT_TRUE(sameBytes(expected, filter(crlfLines(lines) + "\x1A" + "L12\r\n")));
}

TEST_F(QuillonProgram, AMissingExchangeFileIsAnErrorAndCreatesNoOutput) {
    const Finished result = run({"plot.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("JWC_TEMP.TXT"), std::string::npos);
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(fs::exists(work.path() / "plot.txt"));
}

TEST_F(QuillonProgram, AShortExchangeFileIsAnErrorThatLeavesTheOutputAsItWas) {
    work.write("JWC_TEMP.TXT", crlfLines({"hq", "lc10 255", "L3", "L4", "L5"}));
    work.write("plot.txt", "the plot of the last run\r\n");
    const Finished result = run({"plot.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("ends after 5 lines"), std::string::npos) << result.err;
    EXPECT_TRUE(sameBytes("the plot of the last run\r\n", readBytes(work.path() / "plot.txt")));
    EXPECT_EQ(std::distance(fs::directory_iterator(work.path()), fs::directory_iterator()), 2);
}

// The floor plan written by the CAD program, as it stands and with an extended colour put in,
// becomes a file that the plot viewer can read.
TEST_F(QuillonProgram, TurnsARealExchangeFileIntoAWellFormedPlotFile) {
    const std::string plan = readBytes(zelkova::testing::corpusDir() / "plotfiles" / "sample06.txt");
    ASSERT_GT(plan.size(), 60000u);
    std::string withColour = plan;
    const std::size_t solidAt = withColour.find("\r\nly1\r\n");
    ASSERT_NE(solidAt, std::string::npos);
    withColour.insert(solidAt + 2, "lc10 65408\r\n");

    for (const std::string& exchange : {plan, withColour}) {
        const std::string output = filter(exchange);
        const std::size_t inputLines = std::count(exchange.begin(), exchange.end(), '\n');
        std::size_t lines = 0, lineStart = 0, longest = 0;
        for (std::size_t i = 0; i < output.size(); ++i) {
            if (output[i] == '\r' || output[i] == '\n') {
                ASSERT_TRUE(output[i] == '\r' && i + 1 < output.size() && output[i + 1] == '\n')
                    << "at " << i;
                longest = std::max(longest, i - lineStart);
                ++lines;
                lineStart = i += 2;
                --i;
            }
        }
        EXPECT_EQ(lineStart, output.size()) << "the last line has no line end";
        EXPECT_LE(longest, 254u);
        if (exchange == plan) {
            EXPECT_EQ(lines, inputLines - 8);
            EXPECT_TRUE(output.starts_with("lg0\r\nlye\r\n"));
        } else {
            EXPECT_EQ(lines, inputLines - 8 + 2);
            EXPECT_TRUE(output.starts_with("lg0\r\nly8\r\nlc10 65408\r\nly1\r\n")) << output.substr(0, 40);
        }
    }
}

// What Quillon writes from the CAD program's floor plan opens in the plot viewer's reader and
// draws, figure by figure, every line segment of the plan.
TEST_F(QuillonProgram, ItsOutputOfARealExchangeFileDrawsInThePlotViewer) {
    const std::string plan = readBytes(zelkova::testing::corpusDir() / "plotfiles" / "sample06.txt");
    filter(plan);
    zelkova::plot::Reader reader = zelkova::plot::Reader::openFile((work.path() / "plot.txt").string());
    ASSERT_TRUE(reader.seekStartMarker());
    zelkova::plot::FigureSettings settings;
    settings.scaleText = "100";
    zelkova::testing::ScriptedMessageBoxes messages;
    int figures = 0;
    std::size_t lineSegments = 0;
    for (;;) {
        zelkova::plot::Picture picture;
        zelkova::plot::FigureEnd end{};
        try {
            end = zelkova::plot::readFigure(reader, picture, settings, messages);
        } catch (const zelkova::text::Failure& failure) {
            FAIL() << "figure " << figures + 1 << ": " << failure.what();
        }
        if (end == zelkova::plot::FigureEnd::NoFurtherFigure)
            break;
        ++figures;
        for (const zelkova::plot::PictureOp& op : picture.ops())
            if (op.kind == zelkova::plot::OpKind::Lines)
                lineSegments += op.count / 2;
        ASSERT_LT(figures, 1000);
    }
    EXPECT_GT(figures, 10);
    // 780 segments with a leading blank, and the point lists of the curve records read as
    // segments the same way.
    EXPECT_GE(lineSegments, 780u);
}
