// Shows that `render -o` and `listing -o` write their outputs through the one writer of output
// files: a file the user may not write is refused with the command's message and left as it was,
// a replaced file keeps its mode, a link stays a link, and a device is written where it is.
#include "BatchRun.h"

#include "ListingFixtures.h"
#include "OrdinaryUser.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace zelkova::batch {
namespace {

namespace fs = std::filesystem;
using testing::batch;
using testing::OrdinaryUser;
using testing::readBytes;
using testing::Result;
using testing::TempDir;

constexpr const char* kPlot = "hq\r\nly0\r\nlc3\r\n 0 100 287 100\r\n";

class OutputFiles : public ::testing::Test {
protected:
    // The command line that writes `output` with each of the two commands.
    std::vector<Arguments> commandsWriting(const std::string& output) const {
        return {{"render", plot, "-o", output}, {"listing", listing, "-o", output}};
    }
    std::size_t filesIn(const fs::path& folder) const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    TempDir dir;
    const std::string plot = dir.write("in/plot.txt", kPlot);
    const std::string listing = dir.write("in/listing.lst", testing::listingOfPages(2));
};

TEST_F(OutputFiles, AFileTheUserMayNotWriteIsRefusedAndLeftAsItWas) {
    const std::string output = dir.write("out/read-only.pdf", "EARLIER");
    ::chmod(output.c_str(), 0444);
    OrdinaryUser user(dir.path());
    for (const Arguments& command : commandsWriting(output)) {
        const Result r = batch(command);
        EXPECT_EQ(r.status, 1) << command[0];
        EXPECT_NE(r.err.find("ファイル " + output + " を作成できません"), std::string::npos) << r.err;
        EXPECT_EQ(readBytes(output), "EARLIER");
    }
    EXPECT_EQ(filesIn(dir.path() / "out"), 1u);
}

TEST_F(OutputFiles, AReplacedFileKeepsItsModeAndALinkStaysALink) {
    const std::string real = dir.write("out/store/real.pdf", "EARLIER");
    ::chmod(real.c_str(), 0640);
    const std::string link = dir.file("out/link.pdf");
    fs::create_symlink("store/real.pdf", link);
    for (const Arguments& command : commandsWriting(link)) {
        const Result r = batch(command);
        EXPECT_EQ(r.status, 0) << command[0] << ": " << r.err;
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_NE(readBytes(real), "EARLIER");
        struct stat st {};
        ASSERT_EQ(::stat(real.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u) << command[0];
    }
    EXPECT_EQ(filesIn(dir.path() / "out"), 2u);
    EXPECT_EQ(filesIn(dir.path() / "out/store"), 1u);
}

TEST_F(OutputFiles, ADeviceIsWrittenWhereItIs) {
    const std::string null = dir.file("out/null.pdf");
    fs::create_directories(dir.path() / "out");
    fs::create_symlink("/dev/null", null);
    for (const Arguments& command : commandsWriting(null)) {
        const Result r = batch(command);
        EXPECT_EQ(r.status, 0) << command[0] << ": " << r.err;
        EXPECT_TRUE(fs::is_symlink(null));
        EXPECT_TRUE(fs::is_character_file("/dev/null"));
    }
    EXPECT_EQ(filesIn(dir.path() / "out"), 1u);
}

} // namespace
} // namespace zelkova::batch
