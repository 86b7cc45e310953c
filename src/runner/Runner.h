// Running a run file: for each case, copy the inputs in, clear stale outputs, start the program
// and wait for it, remove the input copies and deliver the outputs.
#pragma once

#include "platform/MessageBoxes.h"
#include "platform/ProcessLauncher.h"

#include <functional>
#include <string>
#include <string_view>

namespace zelkova::runner {

// The plot viewer's caption while it holds no plot file open.
inline constexpr std::string_view kViewerCaptionWithoutPlot = "JW_CAD作図用出力データを用いた作図";

struct RunRequest {
    std::string runFilePath;    // the run file as stored on disk (native name)
    std::string openedFileName; // the file last opened in the editor; its folder completes actual names
    std::function<std::string()> viewerCaption; // the plot viewer's caption (UTF-8), read at each output;
                                                // unset: no plot file is being viewed
};

enum class RunOutcome { Finished, Stopped };

// Runs the run file from top to bottom, showing the run's messages; stops at the first failure,
// with every file it opened closed and nothing undone.
[[nodiscard]] RunOutcome runRunFile(const RunRequest& request, platform::MessageBoxes& messages,
                                    platform::ProcessLauncher& processes);

} // namespace zelkova::runner
