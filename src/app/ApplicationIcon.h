// The program's icon: a zelkova tree, drawn at start-up so that no image file has to ship with the
// program itself. The same drawing makes the icon files that the desktop's icon theme gets.
#pragma once

#include <QIcon>

class QPainter;

namespace zelkova::app {

// Draws the tree into the square from (0, 0) to (size, size) of the painter's device.
void paintApplicationIcon(QPainter& painter, double size);

QIcon applicationIcon();

} // namespace zelkova::app
