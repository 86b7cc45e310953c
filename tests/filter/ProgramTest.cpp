// Shows how Quillon gets its output file (the command line, or the file dialog and its
// questions), which failures it reports, and that it never loses a file the user has.
#include "filter/Program.h"

#include "ExchangeText.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <sstream>

using namespace zelkova::filter;
using zelkova::testing::readBytes;
namespace fs = std::filesystem;

namespace {

struct Shown {
    std::string kind; // "file", "question" or "error"
    std::string caption;
    std::string text;
    Answer defaultAnswer = Answer::No;
};

class ScriptedDialogs final : public OutputDialogs {
public:
    ScriptedDialogs(std::deque<std::optional<fs::path>> files, std::deque<Answer> answers,
                    std::vector<Shown>& shown)
        : m_files(std::move(files)), m_answers(std::move(answers)), m_shown(shown) {}

    std::optional<fs::path> chooseFile(const std::string& title) override {
        m_shown.push_back({"file", title, "", Answer::No});
        if (m_files.empty()) {
            ADD_FAILURE() << "unscripted file dialog";
            return std::nullopt;
        }
        auto file = m_files.front();
        m_files.pop_front();
        return file;
    }
    Answer ask(const std::string& caption, const std::string& text, Answer defaultAnswer) override {
        m_shown.push_back({"question", caption, text, defaultAnswer});
        if (m_answers.empty()) {
            ADD_FAILURE() << "unscripted question: " << text;
            return Answer::Yes; // ends the program instead of asking for ever
        }
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    void showError(const std::string& caption, const std::string& text) override {
        m_shown.push_back({"error", caption, text, Answer::No});
    }

private:
    std::deque<std::optional<fs::path>> m_files;
    std::deque<Answer> m_answers;
    std::vector<Shown>& m_shown;
};

class QuillonRun : public ::testing::Test {
protected:
    QuillonRun() {
        exchange =
            dir.write("JWC_TEMP.TXT", zelkova::testing::crlfLines(zelkova::testing::numberedLines(10)));
    }

    ExitStatus runWith(std::vector<std::string> arguments) {
        return runQuillon(
            arguments, [] { return std::unique_ptr<OutputDialogs>(); }, out, err, exchange);
    }
    ExitStatus runWithDialogs(std::deque<std::optional<fs::path>> files, std::deque<Answer> answers) {
        return runQuillon(
            {},
            [&] { return std::make_unique<ScriptedDialogs>(std::move(files), std::move(answers), shown); },
            out, err, exchange);
    }
    std::size_t filesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()));
    }

    zelkova::testing::TempDir dir;
    fs::path exchange;
    std::ostringstream out, err;
    std::vector<Shown> shown;
};

const std::string kLines9And10 = "L9\r\nL10\r\n";

} // namespace

TEST_F(QuillonRun, DialogClosedWithoutNameThenYesEndsWithNothingWritten) {
    EXPECT_EQ(runWithDialogs({std::nullopt}, {Answer::Yes}), ExitStatus::EndedByUser);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].kind, "file");
    EXPECT_EQ(shown[0].caption, "Open: Select File for Unit 7");
    EXPECT_EQ(shown[1].kind, "question");
    EXPECT_EQ(shown[1].caption, "File Open Error");
    EXPECT_EQ(shown[1].text, "A File Must be Selected\r\rTerminate Program?");
    EXPECT_EQ(shown[1].defaultAnswer, Answer::No);
    EXPECT_EQ(filesInFolder(), 1u);
    EXPECT_EQ(out.str(), "");
}

TEST_F(QuillonRun, NoToTheQuestionShowsTheDialogAgain) {
    const fs::path existing = dir.write("plot.txt", "old");
    EXPECT_EQ(runWithDialogs({std::nullopt, std::nullopt, existing}, {Answer::No, Answer::No}),
              ExitStatus::Done);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[4].kind, "file");
    EXPECT_EQ(readBytes(existing), kLines9And10);
    EXPECT_EQ(out.str(), "Stop - Program terminated.\n");
}

TEST_F(QuillonRun, ANewNameIsTakenOnlyOnceTheUserAgreesToCreateIt) {
    const fs::path refused = dir.path() / "refused.txt";
    const fs::path created = dir.path() / "created.txt";
    EXPECT_EQ(runWithDialogs({refused, created}, {Answer::No, Answer::Yes}), ExitStatus::Done);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1].kind, "question");
    EXPECT_EQ(shown[1].caption, "Open: Select File for Unit 7");
    EXPECT_EQ(shown[1].text,
              refused.string() + "\r\nこのファイルは存在しません。\r\nファイルを作成しますか？");
    EXPECT_EQ(shown[1].defaultAnswer, Answer::Yes);
    EXPECT_FALSE(fs::exists(refused));
    EXPECT_EQ(readBytes(created), kLines9And10);
}

TEST_F(QuillonRun, AFolderIsNotAcceptedAsTheOutputFile) {
    const fs::path existing = dir.write("plot.txt", "");
    EXPECT_EQ(runWithDialogs({dir.path(), existing}, {}), ExitStatus::Done);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1].kind, "error");
    EXPECT_EQ(shown[1].text,
              dir.path().string() +
                  "\r\nはファイルではありません。\r\nファイルを選ぶか、新しい名前を入力して下さい。");
    EXPECT_EQ(readBytes(existing), kLines9And10);
}

TEST_F(QuillonRun, AnArgumentNamesTheOutputAndNeedsNoDialogs) {
    bool asked = false;
    const fs::path output = dir.path() / "plot.txt";
    const ExitStatus status = runQuillon(
        {output.string(), "ignored"},
        [&] {
            asked = true;
            return std::unique_ptr<OutputDialogs>();
        },
        out, err, exchange);
    EXPECT_EQ(status, ExitStatus::Done);
    EXPECT_FALSE(asked);
    EXPECT_EQ(readBytes(output), kLines9And10);
    EXPECT_EQ(err.str(), "");
}

TEST_F(QuillonRun, AMissingExchangeFileLeavesTheOutputFileAsItWas) {
    const fs::path output = dir.write("plot.txt", "the user's old plot\r\n");
    fs::remove(exchange);
    EXPECT_EQ(runWithDialogs({output}, {}), ExitStatus::Failed);
    EXPECT_NE(err.str().find("JWC_TEMP.TXT"), std::string::npos);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].kind, "error");
    EXPECT_EQ(shown[1].text + "\n", err.str().substr(9)); // after "quillon: "
    EXPECT_EQ(readBytes(output), "the user's old plot\r\n");
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(QuillonRun, TheExchangeFileIsNeverTakenAsTheOutput) {
    const std::string before = readBytes(exchange);
    EXPECT_EQ(runWith({exchange.string()}), ExitStatus::Failed);
    EXPECT_NE(err.str().find("exchange file itself"), std::string::npos);
    EXPECT_EQ(readBytes(exchange), before);
}

TEST_F(QuillonRun, OutputThatCannotBeCreatedIsReported) {
    EXPECT_EQ(runWith({(dir.path() / "no such folder" / "plot.txt").string()}), ExitStatus::Failed);
    EXPECT_NE(err.str().find("Cannot create"), std::string::npos);
    EXPECT_EQ(runWith({""}), ExitStatus::Failed);
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(QuillonRun, AReadOnlyOutputFileIsNotReplaced) {
    const fs::path output = dir.write("plot.txt", "kept");
    fs::permissions(output, fs::perms::owner_read);
    if (std::FILE* file = std::fopen(output.c_str(), "ab")) {
        std::fclose(file);
        GTEST_SKIP() << "this user may write any file";
    }
    EXPECT_EQ(runWith({output.string()}), ExitStatus::Failed);
    EXPECT_NE(err.str().find("Cannot write"), std::string::npos);
    EXPECT_EQ(readBytes(output), "kept");
}

TEST_F(QuillonRun, AShortExchangeFileIsReportedAfterWritingWhatTheFirstPassFound) {
    dir.write("JWC_TEMP.TXT", zelkova::testing::crlfLines({"hq", "lc10 255", "x"}));
    const fs::path output = dir.write("plot.txt", "old");
    EXPECT_EQ(runWith({output.string()}), ExitStatus::Failed);
    EXPECT_NE(err.str().find("ends after 3 lines"), std::string::npos) << err.str();
    EXPECT_EQ(readBytes(output), "lg0\r\nly0\r\nlc10 255\r\nx\r\n");
    EXPECT_EQ(out.str(), "");
}
