// zelkova-batch run RUNFILE: runs a run file as the editor's run command does, without windows
// and without the save step. The run file must pass the editor's run-file detection; its full
// path stands for the editor's opened file name.
#include "batch/Commands.h"
#include "batch/StreamMessageBoxes.h"

#include "platform/SystemProcessLauncher.h"
#include "runner/Names.h"
#include "runner/RunFileDetection.h"
#include "runner/Runner.h"
#include "runner/RunnerMessages.h"
#include "text/Failure.h"
#include "text/Files.h"
#include "text/Lines.h"

#include <filesystem>
#include <string_view>

namespace zelkova::batch {

namespace {

constexpr std::string_view kRunUsage =
    "usage: zelkova-batch run RUNFILE\n"
    "\n"
    "Runs the run file as the editor's run command does. Its messages go to\n"
    "standard error; the exit status is 0 when the run finished, 1 when it\n"
    "stopped with a message, 2 on a usage error.\n";

std::string fullPath(const std::string& name) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(name, ec);
    return ec ? name : absolute.lexically_normal().string();
}

} // namespace

int runCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kRunUsage;
        return 0;
    }
    if (args.size() != 1 || args[0].empty() || args[0].front() == '-') {
        err << kRunUsage;
        return 2;
    }
    StreamMessageBoxes messages(err);
    const std::string runFile = fullPath(args[0]);
    try {
        const std::string data = text::readFile(runFile);
        if (!runner::isRunFile(text::splitLines(data))) {
            messages.plain(runner::kNotARunFileText);
            return 1;
        }
    } catch (const text::Failure& failure) {
        // A run file in a folder that does not exist is "path not found", as the runner says.
        messages.generalError(runner::inMissingFolder(runFile) ? text::ioErrorText(text::error::PathNotFound)
                                                               : std::string(failure.what()));
        return 1;
    }
    platform::SystemProcessLauncher processes;
    const runner::RunRequest request{runFile, runFile, {}};
    return runner::runRunFile(request, messages, processes) == runner::RunOutcome::Finished ? 0 : 1;
}

} // namespace zelkova::batch
