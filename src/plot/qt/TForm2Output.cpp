// The plot viewer's output: printing the figure on screen, copying the selection, saving.
#include "plot/qt/TForm2.h"

#include <QAction>

using namespace zelkova;

void TForm2::wireOutput() {
    for (QAction* item : {prtorg, prtset, N7, N6})
        item->setEnabled(false);
    // The save items are present but disabled from the start; nothing enables them.
    N1->setEnabled(false);
    N5->setEnabled(false);
}

void TForm2::Print1Click() {}
void TForm2::prtsetClick() {}
void TForm2::N7Click() {}
void TForm2::N6Click() {}
void TForm2::N1Click() {}
void TForm2::N5Click() {}
