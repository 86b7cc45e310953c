// zelkova-batch run RUNFILE: runs a run file as the editor's run command does, without windows
// and without the save step. The run file must pass the editor's run-file detection; its full
// path stands for the editor's opened file name. The programs run on the batch tool's own standard
// streams, so that a script feeds them and reads them; one that fails gets a note on standard
// error.
#include "batch/Commands.h"
#include "batch/StreamMessageBoxes.h"

#include "platform/SystemProcessLauncher.h"
#include "runner/Names.h"
#include "runner/ProgramEnd.h"
#include "runner/RunFileDetection.h"
#include "runner/Runner.h"
#include "runner/RunnerMessages.h"
#include "text/Failure.h"
#include "text/Files.h"
#include "text/Lines.h"
#include "text/Paths.h"

#include <filesystem>
#include <string_view>

namespace zelkova::batch {

namespace {

constexpr std::string_view kRunUsage =
    "usage: zelkova-batch run RUNFILE\n"
    "\n"
    "Runs the run file as the editor's run command does. Its messages go to\n"
    "standard error; the exit status is 0 when the run finished, 1 when it\n"
    "stopped with a message, 2 on a usage error.\n"
    "\n"
    "Each program runs on this tool's standard input, output and error. A\n"
    "program that ends with a non-zero status or by a signal gets a note on\n"
    "standard error (\"BEAM: 終了コード 2\"); the run goes on as it would.\n";

// Runs each program as `launcher` does and notes on `err` how a program ended that did not end
// by itself with status 0 ("BEAM: 終了コード 2"). The window would say it; here nothing else would.
class NotingLauncher final : public platform::ProcessLauncher {
public:
    NotingLauncher(platform::ProcessLauncher& launcher, std::ostream& err)
        : m_launcher(launcher), m_err(err) {}
    platform::LaunchResult runAndWait(const std::string& program, const std::string& workingFolder) override {
        const platform::LaunchResult result = m_launcher.runAndWait(program, workingFolder);
        if (const std::string end = runner::programEndText(result); !end.empty()) {
            m_err << text::fileNamePart(program) << ": " << end << '\n';
            m_err.flush();
        }
        return result;
    }

private:
    platform::ProcessLauncher& m_launcher;
    std::ostream& m_err;
};

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
    platform::SystemProcessLauncher system;
    NotingLauncher processes(system, err);
    const runner::RunRequest request{runFile, runFile, {}};
    return runner::runRunFile(request, messages, processes) == runner::RunOutcome::Finished ? 0 : 1;
}

} // namespace zelkova::batch
