// Shows that colours read as the pen panel writes them (a table name, or "$" and eight upper-case
// hexadecimal digits) and read back from names in any case, decimal and "$" hexadecimal, that
// system colours draw in the table they are given, and that the renderer stops at a pen colour name
// it cannot read.
#include "PlotTestSupport.h"
#include "ScriptedMessageBoxes.h"

#include "plot/ColourNames.h"
#include "plot/Renderer.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

namespace zelkova::plot {
namespace {

constexpr Colour systemColour(std::uint32_t index) {
    return Colour{kSystemColourFlag | index};
}

TEST(ColourNames, NamedColoursShowTheirNamesAndOthersEightHexadecimalDigits) {
    EXPECT_EQ(colourName(Colour{33023}), "$000080FF"); // red 255, green 128, blue 0
    EXPECT_EQ(colourName(Colour::fromRgb(0, 128, 255)), "$00FF8000");
    EXPECT_EQ(colourName(Colour::fromRgb(255, 0, 0)), "clRed");
    EXPECT_EQ(colourName(Colour::fromRgb(254, 255, 255)), "$00FFFFFE");
    EXPECT_EQ(colourName(kNoColour), "clNone");
    EXPECT_EQ(colourName(Colour{0xABCDEF12}), "$ABCDEF12");
    // The system colours, in index order from clScrollBar to clInfoBk; none beyond.
    EXPECT_EQ(colourName(systemColour(0)), "clScrollBar");
    EXPECT_EQ(colourName(systemColour(1)), "clBackground");
    EXPECT_EQ(colourName(systemColour(19)), "clInactiveCaptionText");
    EXPECT_EQ(colourName(systemColour(24)), "clInfoBk");
    EXPECT_EQ(colourName(systemColour(25)), "$80000019");
}

TEST(ColourNames, EveryNameReadsBackToItsValueWhateverItsCase) {
    std::set<std::string> names;
    std::vector<Colour> named;
    for (std::uint32_t index = 0; index < 25; ++index)
        named.push_back(systemColour(index));
    for (int r : {0, 128, 192, 255})
        for (int g : {0, 128, 192, 255})
            for (int b : {0, 128, 192, 255})
                named.push_back(Colour::fromRgb(r, g, b));
    named.push_back(kNoColour);
    for (const Colour colour : named) {
        const std::string name = colourName(colour);
        if (name.front() != '$')
            names.insert(name);
        EXPECT_EQ(colourFromName(name), colour) << name;
        std::string upper = name;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(colourFromName(upper), colour) << upper;
    }
    EXPECT_EQ(names.size(), 42u); // every entry of the table was met once
}

TEST(ColourNames, TextsThatAreNoNameAreReadAsIntegers) {
    EXPECT_EQ(colourFromName("clbackground"), systemColour(1));
    EXPECT_EQ(colourFromName("CLNONE"), kNoColour);
    EXPECT_EQ(colourFromName("33023"), Colour{33023});
    EXPECT_EQ(colourFromName("$000080FF"), Colour{33023});
    EXPECT_EQ(colourFromName("$00ff8000"), Colour::fromRgb(0, 128, 255));
    EXPECT_EQ(colourFromName("$80000001"), systemColour(1));
    EXPECT_EQ(colourFromName("$FFFFFFFF"), Colour{0xFFFFFFFF});
    EXPECT_EQ(colourFromName("-1"), Colour{0xFFFFFFFF});
    for (const char* text :
         {"", "abc", "cl Red", "clRedd", "Red", "$", "$1FFFFFFFF", "12 3", "4294967296", "#FF0000"})
        EXPECT_FALSE(colourFromName(text).has_value()) << text;
}

TEST(ColourNames, SystemColoursDrawInTheGivenTableAndOtherValuesByTheirLowThreeBytes) {
    SystemColourTable desk = classicSystemColours();
    desk[1] = Colour::fromRgb(1, 2, 3);
    EXPECT_EQ(drawableColour(systemColour(1), desk), Colour::fromRgb(1, 2, 3));
    EXPECT_EQ(drawableColour(systemColour(1)), Colour::fromRgb(58, 110, 165)); // the classic desktop
    EXPECT_EQ(drawableColour(systemColour(5)), Colour::fromRgb(255, 255, 255));
    EXPECT_EQ(drawableColour(systemColour(25)), Colour::fromRgb(0, 0, 0));
    EXPECT_EQ(drawableColour(kNoColour), kNoColour);
    EXPECT_EQ(drawableColour(Colour{0x12FF8000}), Colour::fromRgb(0, 128, 255));
}

TEST(ColourNames, TheRendererReadsPenColourNamesWhenAPenIsChosenAndStopsAtOneItCannotRead) {
    FigureSettings s;
    s.penColourNames[1] = "clBtnFace";
    s.penColourNames[2] = "nonsense";
    testing::CallRecorder canvas;
    zelkova::testing::ScriptedMessageBoxes messages;
    Renderer renderer(canvas, PictureGeometry::forDpi(96, 96), 1, s, messages);
    Reader reader = testing::readerOf("lc2\r\n 0 0 1 1\r\nlc3\r\n 0 0 1 1\r\n");
    renderer.apply(*reader.next());
    renderer.apply(*reader.next());
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].pen.colour, Colour::fromRgb(212, 208, 200)); // the classic button face
    try {
        renderer.apply(*reader.next());
        ADD_FAILURE() << "pen 3's name was taken";
    } catch (const text::Failure& failure) {
        EXPECT_STREQ(failure.what(), "'nonsense' は整数ではありません");
    }
}

} // namespace
} // namespace zelkova::plot
