// Shows zelkova-batch render's --view and --nav: the view rectangle the figure is drawn into, the
// buttons applied in order with the chosen steps, the two lines it prints, and the refusals.
#include "TempDir.h"

#include "batch/Commands.h"

#include <QImage>

#include <sstream>

#include <gtest/gtest.h>

namespace zelkova::batch {
namespace {

using zelkova::testing::TempDir;

struct Rendered {
    int status = -1;
    std::string out;
    std::string err;
};

Rendered render(const Arguments& args) {
    std::ostringstream out;
    std::ostringstream err;
    Rendered run;
    run.status = renderCommand(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// A red line across the middle of the paper.
constexpr const char* kLine = "hq\r\nly0\r\nlc3\r\n 0 100 287 100\r\n";

TEST(RenderNavigation, AppliesTheButtonsInOrderAndPrintsTheViewAndThePercentBox) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", kLine);
    const Rendered bigger = render({plot, "-o", dir.file("a.png"), "--nav", "bigger"});
    ASSERT_EQ(bigger.status, 0) << bigger.err;
    EXPECT_EQ(bigger.out, "view 0 -194 973 469\npercent 141%\n");
    const QImage image(QString::fromStdString(dir.file("a.png")));
    EXPECT_EQ(image.pixel(300, 138) & 0xFFFFFF, 0xFF0000u); // −194 + 331.5, halves to even
    EXPECT_EQ(image.pixel(300, 234) & 0xFFFFFF, 0xFFFFFFu);

    EXPECT_EQ(render({plot, "-o", dir.file("b.png"), "--nav", "up", "--move-step", "0.5"}).out,
              "view 0 -234 688 235\npercent 100%\n");
    EXPECT_EQ(render({plot, "-o", dir.file("b.png"), "--nav", "smaller,smaller,smaller,right", "--zoom-step",
                      "2.0", "--move-step", "1.0"})
                  .out,
              "view 688 411 774 469\npercent 12%\n");
    const Rendered seven = render(
        {plot, "--dump", "--nav", "bigger,bigger,bigger,bigger,bigger,bigger,bigger", "--zoom-step", "2.0"});
    EXPECT_EQ(seven.out, render({plot, "--dump"}).out + "view 0 -59563 88064 469\npercent 1.28E4%\n");
    EXPECT_EQ(render({plot, "-o", dir.file("c.png"), "--size", "200x100", "--view", "-5,-5,50,60", "--nav",
                      "left,org,down"})
                  .out,
              "view 0 20 200 120\npercent 100%\n");
    // Without --nav nothing is printed.
    EXPECT_EQ(render({plot, "-o", dir.file("d.png"), "--view", "0,-194,973,469"}).out, "");
    const QImage viewed(QString::fromStdString(dir.file("d.png")));
    EXPECT_EQ(viewed, image);
}

TEST(RenderNavigation, StopsAtTheLimitOfTheViewRectangle) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", kLine);
    std::string steps = "bigger";
    for (int i = 1; i < 25; ++i)
        steps += ",bigger";
    const Rendered run = render({plot, "-o", dir.file("a.png"), "--nav", steps, "--zoom-step", "2.0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "view 0 -491781675 721420288 469\npercent 1.049E8%\n");
}

TEST(RenderNavigation, RefusesStepsAndViewsItCannotTake) {
    TempDir dir;
    const std::string plot = dir.write("a.txt", kLine);
    for (const Arguments& args : std::vector<Arguments>{
             {plot, "--dump", "--nav", "bigger,zoom"},
             {plot, "--dump", "--nav", ""},
             {plot, "--dump", "--nav", "up", "--move-step", "0.3"},
             {plot, "--dump", "--nav", "up", "--zoom-step", "1.5"},
             {plot, "--dump", "--view", "0,0,1073741825,469"},
             {plot, "--dump", "--view", "0,0,688"},
         }) {
        const Rendered run = render(args);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage: zelkova-batch render"), std::string::npos) << run.err;
    }
}

} // namespace
} // namespace zelkova::batch
