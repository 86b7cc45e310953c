// The GUI application that fonts, printers and the vector devices need when the batch tool draws.
#pragma once

#include <QGuiApplication>

#include <memory>

namespace zelkova::batch {

// Makes an offscreen application when none exists yet (null when one does). Qt's own notes about
// the session environment (a missing XDG_RUNTIME_DIR) are kept off standard error, which carries
// only the messages the windows would show.
std::unique_ptr<QGuiApplication> ensureApplication();

} // namespace zelkova::batch
