// Process start on Linux.
//
// PosixProcessLauncher: posix_spawn of the program path alone, no shell, no arguments beyond the
// program name, the working folder as current directory, Zelkova's environment and standard
// streams, no other descriptor of ours; then waitpid with no time-out. The batch tool uses it, so
// that scripts feed the program and read it.
//
// TerminalProcess: the same start, but on a pseudo-terminal of the program's own, in a session of
// its own with that terminal as its controlling terminal, as a console program runs in a console
// window. Whoever holds the terminal's other end shows the output and types the input; the
// terminal's line discipline echoes and edits the typed line.
#pragma once

#include "platform/ProcessLauncher.h"

#ifndef _WIN32

#include <sys/types.h>

#include <memory>
#include <string>
#include <string_view>

namespace zelkova::platform {

class PosixProcessLauncher final : public ProcessLauncher {
public:
    LaunchResult runAndWait(const std::string& program, const std::string& workingFolder) override;
};

class TerminalProcess {
public:
    struct Size {
        unsigned short columns = 80;
        unsigned short rows = 25;
    };
    enum class ReadState { Data, Nothing, Closed };

    // Starts `program` as PosixProcessLauncher does, its standard streams on a new terminal of
    // `size`. Null when it cannot be started; `error` then holds why (an errno value).
    static std::unique_ptr<TerminalProcess> start(const std::string& program,
                                                  const std::string& workingFolder, Size size, int& error);
    // A program still running is killed (with everything in its process group) and reaped.
    ~TerminalProcess();
    TerminalProcess(const TerminalProcess&) = delete;
    TerminalProcess& operator=(const TerminalProcess&) = delete;

    // Our end of the terminal (non-blocking): readable when output waits.
    int terminalDescriptor() const { return m_terminal; }
    // Readable once the program has ended; -1 where the system offers none (then poll ended()).
    int endDescriptor() const { return m_endNotice; }

    // Appends the output that waits to `bytes`. Closed: no program holds the terminal any more.
    ReadState read(std::string& bytes);
    // Sends typed bytes to the program, through the line discipline.
    void write(std::string_view bytes);

    // True once the program has ended (reaps it without blocking).
    bool ended();
    // How it ended; meaningful once ended() is true.
    const LaunchResult& result() const { return m_result; }

    // Ends the program as a closed terminal does: SIGHUP to its process group.
    void hangUp();
    // Ends it without appeal: SIGKILL to its process group.
    void kill();
    // Kills it unless it has ended, and waits for its end.
    const LaunchResult& killAndWait();

private:
    TerminalProcess(pid_t pid, int terminal);
    void signalGroup(int signal);

    pid_t m_pid;
    int m_terminal;
    int m_endNotice = -1;
    bool m_reaped = false;
    LaunchResult m_result;
};

} // namespace zelkova::platform

#endif // _WIN32
