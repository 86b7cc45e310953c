// Zelkova's start-up (placeholder until the editor window arrives).
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}
