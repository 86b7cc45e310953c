// Shows that the rules of text and image records give the angle, escapement and spacing marks that
// texts are written with, and the path, height, kind and file of image references, edge cases
// included.
#include "TempDir.h"

#include "plot/TextRecords.h"

#include <gtest/gtest.h>

#include <numbers>

namespace zelkova::plot {
namespace {

using zelkova::testing::TempDir;
constexpr double kPi = std::numbers::pi;

// The directions (1, 0), (0, 1), (−1, 0) and (−1e−11, 1) are drawn in TextImageRecordsTest.
TEST(TextAngle, FollowsTheDirectionWithTheVerticalCaseForATinyDx) {
    EXPECT_DOUBLE_EQ(textAngle(1e-11, -3), -kPi / 2);
    EXPECT_DOUBLE_EQ(textAngle(0, 0), kPi / 2) << "dy = 0 counts as upwards";
    EXPECT_DOUBLE_EQ(textAngle(-1, -1), kPi / 4 + kPi);
    // The CAD program's dimension texts: a direction a hair off the vertical.
    EXPECT_NEAR(textAngle(-3.2783543701953e-005, 749.999999999999), kPi / 2, 1e-7);

    EXPECT_EQ(escapementOf(textAngle(1, 1)), 450);
    EXPECT_EQ(escapementOf(textAngle(0, -1)), -900);
}

TEST(SpacingMarks, AreCountedInHalfWidthCellsAndTakenOff) {
    // ABC, two full-width dots and a half-width one: P = 5.
    const SpacedText abc = removeSpacingMarks("ABC\x81\x45\x81\x45\xA5");
    EXPECT_EQ(abc.text, "ABC");
    EXPECT_EQ(abc.spacingCount, 5);
    EXPECT_EQ(extraSpacingOf(40, 5, 6), 33) << "h = 40, six bytes left: 200 div 6";

    const SpacedText six = removeSpacingMarks("AB\x81\x45\x81\x45\x81\x45\x81\x45\x81\x45\x81\x45");
    EXPECT_EQ(six.text, "AB\x81\x45") << "at most five full-width dots go";
    EXPECT_EQ(six.spacingCount, 10);

    EXPECT_EQ(removeSpacingMarks("A\xA5\xA5").text, "A\xA5") << "one half-width dot only";
    const SpacedText before = removeSpacingMarks("A\xA5\x81\x45");
    EXPECT_EQ(before.text, "A\xA5") << "a half-width dot counts only at the very end";
    EXPECT_EQ(before.spacingCount, 2);

    const SpacedText marksOnly = removeSpacingMarks("\x81\x45\xA5");
    EXPECT_EQ(marksOnly.text, "");
    EXPECT_EQ(marksOnly.spacingCount, 3);

    const SpacedText none = removeSpacingMarks("1,820");
    EXPECT_EQ(none.text, "1,820");
    EXPECT_EQ(none.spacingCount, 0);
}

TEST(SpacingMarks, NeverTakeAPieceOfADoubleByteCharacter) {
    // "Ε" (0x83 0xA5) ends in the half-width dot's byte; "メE" (0x83 0x81 0x45) in the bytes of the
    // full-width dot. Neither is a mark.
    EXPECT_EQ(removeSpacingMarks("\x83\xA5").text, "\x83\xA5");
    EXPECT_EQ(removeSpacingMarks("\x83\xA5").spacingCount, 0);
    EXPECT_EQ(removeSpacingMarks("\x83\x81\x45").text, "\x83\x81\x45");
    EXPECT_EQ(removeSpacingMarks("\x83\x81\x45").spacingCount, 0);
}

TEST(ImageReference, TakesThePathAndTheHeightOfEveryForm) {
    EXPECT_TRUE(isImageReference("^@BMa.bmp,1,2"));
    EXPECT_FALSE(isImageReference("^@Bm a"));
    EXPECT_FALSE(isImageReference(" ^@BM"));

    const ImageReference three = parseImageReference("^@BMC:\\data\\a.bmp,100,30");
    EXPECT_EQ(three.path, "C:\\data\\a.bmp");
    EXPECT_EQ(three.heightText, "30");
    EXPECT_EQ(parseImageReference("^@BMa.jpg,30").heightText, "30") << "no field to skip";
    EXPECT_EQ(parseImageReference("^@BMa.jpg,100, 12.5 ").heightText, " 12.5 ");
    // The CAD program's longer form: path, width, height, then flags.
    const ImageReference cad = parseImageReference("^@BMC:\\jww\\photo.jpg,640,30,0,0,1,0");
    EXPECT_EQ(cad.path, "C:\\jww\\photo.jpg");
    EXPECT_EQ(cad.heightText, "30");

    const ImageReference noComma = parseImageReference("^@BMphoto.jpg");
    EXPECT_EQ(noComma.path, "") << "without a comma the path is empty";
    EXPECT_EQ(parseImageReference("^@BM,,5").path, "");
    EXPECT_EQ(parseImageReference("^@BM,,5").heightText, "5");
}

TEST(ImageReference, KnowsExactlySixExtensions) {
    EXPECT_EQ(imageFormatOf("a.bmp"), ImageFormat::Bmp);
    EXPECT_EQ(imageFormatOf("C:\\x\\a.BMP"), ImageFormat::Bmp);
    for (const char* jpeg : {"a.jpg", "a.JPG", "a.jpeg", "a.JPEG", "dir.x/b.c.jpg"})
        EXPECT_EQ(imageFormatOf(jpeg), ImageFormat::Jpeg) << jpeg;
    for (const char* other : {"a.Jpg", "a.Bmp", "a.png", "a", "a.jpg.txt", "dir.bmp\\photo", "dir.jpg/photo",
                              "C:photo", "", "a.jpg "})
        EXPECT_EQ(imageFormatOf(other), std::nullopt) << other;
}

TEST(ImageFile, IsLookedForAsWrittenThenInThePlotFilesFolder) {
    TempDir dir;
    const std::string photo = dir.write("plots/photo.jpg", "x");
    const std::string elsewhere = dir.write("other/pic.bmp", "x");
    const std::string plotFolder = dir.file("plots/");

    EXPECT_EQ(findImageFile(elsewhere, plotFolder), elsewhere) << "as written";
    EXPECT_EQ(findImageFile("C:\\jww\\photo.jpg", plotFolder), photo) << "a Windows path";
    EXPECT_EQ(findImageFile("photos\\photo.jpg", plotFolder), photo) << "relative, \\ separators";
    EXPECT_EQ(findImageFile("photo.jpg", dir.file("plots")), photo) << "a folder without its separator";
    EXPECT_EQ(findImageFile(dir.file("gone/photo.jpg"), plotFolder), std::nullopt)
        << "an absolute native path is taken as written";
    EXPECT_EQ(findImageFile("", plotFolder), std::nullopt);
    EXPECT_EQ(findImageFile("C:\\jww\\", plotFolder), std::nullopt);
    EXPECT_EQ(findImageFile("missing.jpg", plotFolder), std::nullopt);
    EXPECT_EQ(findImageFile(dir.file("plots"), plotFolder), std::nullopt) << "a folder is no file";
    {
        zelkova::testing::CurrentDirectory inPlots(dir.file("plots"));
        EXPECT_EQ(findImageFile("D:\\photo.jpg", ""), "photo.jpg") << "the plot file in the current folder";
    }
}

} // namespace
} // namespace zelkova::plot
