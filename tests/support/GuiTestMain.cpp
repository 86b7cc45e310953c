// main() of every GUI test: the offscreen platform unless another one is asked for, one
// QApplication, IPA Gothic standing in for the Japanese fixed-pitch face.
#include "GuiHelpers.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    zelkova::testing::installFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
