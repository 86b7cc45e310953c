// main() of Quillon. The QApplication is created only when the dialogs are needed, so the program
// runs without a display when its command line names the output file.
#include "filter/Program.h"
#include "filter/qt/QtOutputDialogs.h"

#include <QApplication>

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::unique_ptr<QApplication> application;
    auto makeDialogs = [&]() -> std::unique_ptr<zelkova::filter::OutputDialogs> {
        application = std::make_unique<QApplication>(argc, argv);
        zelkova::filter::installJapaneseTranslations(*application);
        return std::make_unique<zelkova::filter::QtOutputDialogs>();
    };
    return static_cast<int>(zelkova::filter::runQuillon(arguments, makeDialogs, std::cout, std::cerr));
}
