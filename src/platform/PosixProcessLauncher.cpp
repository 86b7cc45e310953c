// posix_spawn + waitpid. The child gets its current directory from
// posix_spawn_file_actions_addchdir_np (glibc 2.29 and later), which keeps the parent's own current
// directory untouched; it gets no descriptor of ours beyond the three standard streams, default
// signal handling and an empty signal mask, as a program started afresh from a shell would.
//
// A terminal program's pseudo-terminal comes from posix_openpt. The child becomes the leader of a
// session of its own (POSIX_SPAWN_SETSID) and then opens the terminal's slave end as its standard
// input, which makes it its controlling terminal, before it duplicates it onto standard output and
// error. posix_spawn rather than forkpty: it reports a program that cannot be executed as its own
// result, and it does not copy a large process's address space to start a small one.
#ifndef _WIN32

#include "platform/PosixProcessLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <vector>

extern char** environ;

namespace zelkova::platform {

namespace {

// The child changes folder before it executes the program, so a relative program path must be
// made absolute against our own current directory first.
std::string executablePath(const std::string& program, const std::string& workingFolder) {
    if (program.empty() || program.front() == '/' || workingFolder.empty())
        return program;
    std::vector<char> cwd(4096);
    while (::getcwd(cwd.data(), cwd.size()) == nullptr) {
        if (errno != ERANGE)
            return program;
        cwd.resize(cwd.size() * 2);
    }
    std::string path(cwd.data());
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + program;
}

class SpawnSetup {
public:
    SpawnSetup() {
        m_ok = posix_spawn_file_actions_init(&m_actions) == 0;
        m_hasActions = m_ok;
        m_ok = m_ok && posix_spawnattr_init(&m_attributes) == 0;
        m_hasAttributes = m_ok;
    }
    ~SpawnSetup() {
        if (m_hasAttributes)
            posix_spawnattr_destroy(&m_attributes);
        if (m_hasActions)
            posix_spawn_file_actions_destroy(&m_actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // `terminal`: the slave end's name, for a program of its own session on that terminal;
    // empty: the program keeps our standard streams and our session.
    bool prepare(const std::string& workingFolder, const std::string& terminal = {}) {
        if (!m_ok)
            return false;
        if (!workingFolder.empty() &&
            posix_spawn_file_actions_addchdir_np(&m_actions, workingFolder.c_str()) != 0)
            return false;
        short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
        if (!terminal.empty()) {
            flags |= POSIX_SPAWN_SETSID;
            if (posix_spawn_file_actions_addopen(&m_actions, 0, terminal.c_str(), O_RDWR, 0) != 0 ||
                posix_spawn_file_actions_adddup2(&m_actions, 0, 1) != 0 ||
                posix_spawn_file_actions_adddup2(&m_actions, 0, 2) != 0)
                return false;
        }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        // Nothing of ours leaks into the program, whatever was opened without close-on-exec.
        if (posix_spawn_file_actions_addclosefrom_np(&m_actions, 3) != 0)
            return false;
#endif
        sigset_t all;
        sigset_t none;
        sigfillset(&all);
        sigemptyset(&none);
        return posix_spawnattr_setsigdefault(&m_attributes, &all) == 0 &&
               posix_spawnattr_setsigmask(&m_attributes, &none) == 0 &&
               posix_spawnattr_setflags(&m_attributes, flags) == 0;
    }

    posix_spawn_file_actions_t* actions() {
        return &m_actions;
    }
    posix_spawnattr_t* attributes() {
        return &m_attributes;
    }

private:
    posix_spawn_file_actions_t m_actions{};
    posix_spawnattr_t m_attributes{};
    bool m_ok = false;
    bool m_hasActions = false;
    bool m_hasAttributes = false;
};

// Spawns `program` with its own name as its only argument, as a command line of the path alone
// gives it. Returns posix_spawn's result.
int spawn(pid_t& pid, const std::string& program, const std::string& workingFolder, SpawnSetup& setup) {
    const std::string path = executablePath(program, workingFolder);
    std::vector<char> arg0(program.begin(), program.end());
    arg0.push_back('\0');
    char* argv[] = {arg0.data(), nullptr};
    return posix_spawn(&pid, path.c_str(), setup.actions(), setup.attributes(), argv, environ);
}

void retainStatus(LaunchResult& result, int status) {
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset(int fd) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

// Sets up a new pseudo-terminal: our end (non-blocking), and the slave end's name, kept open by
// `slave` until the program has opened it itself. Returns 0, or why it failed (an errno value).
int openTerminal(Descriptor& master, Descriptor& slave, std::string& slaveName, TerminalProcess::Size size) {
    Descriptor fd(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return errno;
    std::array<char, 128> name{};
    if (::grantpt(fd.get()) != 0 || ::unlockpt(fd.get()) != 0 ||
        ::ptsname_r(fd.get(), name.data(), name.size()) != 0)
        return errno;
    slaveName = name.data();
    // The terminal's settings are made on its slave end before the program opens it.
    slave.reset(::open(slaveName.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (slave.get() < 0)
        return errno;
    termios settings{};
    if (::tcgetattr(slave.get(), &settings) == 0) {
        // No job control: a program stopped by Ctrl-Z would have no shell to resume it, so the
        // key reaches the program as its byte, as in a console window.
        settings.c_cc[VSUSP] = _POSIX_VDISABLE;
        ::tcsetattr(slave.get(), TCSANOW, &settings);
    }
    winsize window{};
    window.ws_col = size.columns;
    window.ws_row = size.rows;
    ::ioctl(slave.get(), TIOCSWINSZ, &window);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags | O_NONBLOCK) != 0)
        return errno;
    master.reset(fd.release());
    return 0;
}

} // namespace

LaunchResult PosixProcessLauncher::runAndWait(const std::string& program, const std::string& workingFolder) {
    LaunchResult result;
    if (program.empty()) {
        result.startError = ENOENT;
        return result;
    }
    SpawnSetup setup;
    if (!setup.prepare(workingFolder)) {
        result.startError = errno != 0 ? errno : EINVAL;
        return result;
    }
    pid_t pid = 0;
    if (const int error = spawn(pid, program, workingFolder, setup); error != 0) {
        result.startError = error;
        return result;
    }
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    // glibc reports a failure inside the child (a folder that cannot be entered, a file that
    // cannot be executed) as the result of posix_spawn; a child that got this far has run.
    result.started = true;
    if (waited == pid)
        retainStatus(result, status);
    return result;
}

std::unique_ptr<TerminalProcess>
TerminalProcess::start(const std::string& program, const std::string& workingFolder, Size size, int& error) {
    error = 0;
    if (program.empty()) {
        error = ENOENT;
        return nullptr;
    }
    Descriptor master;
    Descriptor slave;
    std::string slaveName;
    if ((error = openTerminal(master, slave, slaveName, size)) != 0)
        return nullptr;
    SpawnSetup setup;
    if (!setup.prepare(workingFolder, slaveName)) {
        error = errno != 0 ? errno : EINVAL;
        return nullptr;
    }
    pid_t pid = 0;
    if ((error = spawn(pid, program, workingFolder, setup)) != 0)
        return nullptr;
    // From here on only the program holds the slave end: once it and everything it started have
    // closed it, our end reads as closed.
    slave.reset(-1);
    return std::unique_ptr<TerminalProcess>(new TerminalProcess(pid, master.release()));
}

TerminalProcess::TerminalProcess(pid_t pid, int terminal) : m_pid(pid), m_terminal(terminal) {
    m_result.started = true;
#ifdef SYS_pidfd_open
    m_endNotice = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#endif
}

TerminalProcess::~TerminalProcess() {
    killAndWait();
    if (m_endNotice >= 0)
        ::close(m_endNotice);
    ::close(m_terminal);
}

TerminalProcess::ReadState TerminalProcess::read(std::string& bytes) {
    std::array<char, 65536> buffer;
    for (;;) {
        const ssize_t n = ::read(m_terminal, buffer.data(), buffer.size());
        if (n > 0) {
            bytes.append(buffer.data(), static_cast<std::size_t>(n));
            return ReadState::Data;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return ReadState::Nothing;
        // EIO: the last holder of the slave end has closed it.
        return ReadState::Closed;
    }
}

void TerminalProcess::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(m_terminal, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // a full input line (thousands of bytes) takes nothing more, as a terminal does
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

bool TerminalProcess::ended() {
    if (m_reaped)
        return true;
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(m_pid, &status, WNOHANG);
    } while (waited < 0 && errno == EINTR);
    if (waited == 0)
        return false;
    // ECHILD: somebody else reaped it; it has ended all the same, how is unknown.
    m_reaped = true;
    if (waited == m_pid)
        retainStatus(m_result, status);
    return true;
}

void TerminalProcess::signalGroup(int signal) {
    if (m_reaped)
        return;
    // The program leads its own process group; it may have left it, so it gets the signal too.
    ::kill(-m_pid, signal);
    ::kill(m_pid, signal);
}

void TerminalProcess::hangUp() {
    signalGroup(SIGHUP);
    signalGroup(SIGCONT); // a stopped program must run to take the hang-up
}

void TerminalProcess::kill() {
    signalGroup(SIGKILL);
}

const LaunchResult& TerminalProcess::killAndWait() {
    if (ended())
        return m_result;
    kill();
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(m_pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    m_reaped = true;
    if (waited == m_pid)
        retainStatus(m_result, status);
    return m_result;
}

} // namespace zelkova::platform

#endif // _WIN32
