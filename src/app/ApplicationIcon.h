// The program's icon: a zelkova tree, drawn at start-up so that no image file has to ship.
#pragma once

#include <QIcon>

namespace zelkova::app {

QIcon applicationIcon();

} // namespace zelkova::app
