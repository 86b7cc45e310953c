// Starts each program in a window of its own (ProgramWindow) and waits for it behind that modal
// window: Zelkova's windows repaint meanwhile but take no input until the program has ended and
// its window has closed.
#pragma once

#include "platform/MessageBoxes.h"
#include "platform/ProcessLauncher.h"
#include "platform/qt/Services.h"

namespace zelkova::runner {

class ProgramWindowLauncher final : public platform::ProcessLauncher {
public:
    // `messages` asks before a running program is ended; `modal` shows the window.
    ProgramWindowLauncher(platform::MessageBoxes& messages, platform::ModalRunner& modal)
        : m_messages(messages), m_modal(modal) {}

    platform::LaunchResult runAndWait(const std::string& program, const std::string& workingFolder) override;

private:
    platform::MessageBoxes& m_messages;
    platform::ModalRunner& m_modal;
};

} // namespace zelkova::runner
