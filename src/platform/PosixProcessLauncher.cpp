// posix_spawn + waitpid. The child gets its current directory from
// posix_spawn_file_actions_addchdir_np (glibc 2.29 and later), which keeps the parent's own current
// directory untouched; it gets no descriptor of ours beyond the three standard streams, default
// signal handling and an empty signal mask, as a program started afresh from a shell would.
#ifndef _WIN32

#include "platform/PosixProcessLauncher.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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

    bool prepare(const std::string& workingFolder) {
        if (!m_ok)
            return false;
        if (!workingFolder.empty() &&
            posix_spawn_file_actions_addchdir_np(&m_actions, workingFolder.c_str()) != 0)
            return false;
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
               posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK) == 0;
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

} // namespace

LaunchResult PosixProcessLauncher::runAndWait(const std::string& program, const std::string& workingFolder) {
    LaunchResult result;
    if (program.empty())
        return result;
    SpawnSetup setup;
    if (!setup.prepare(workingFolder))
        return result;
    const std::string path = executablePath(program, workingFolder);
    // The program's own name is its only argument, as a command line of the path alone gives it.
    std::vector<char> arg0(program.begin(), program.end());
    arg0.push_back('\0');
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), setup.actions(), setup.attributes(), argv, environ) != 0)
        return result;
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    // glibc reports a failure inside the child (a folder that cannot be entered, a file that
    // cannot be executed) as the result of posix_spawn; a child that got this far has run.
    result.started = true;
    if (waited == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (waited == pid && WIFSIGNALED(status))
        result.exitCode = 128 + WTERMSIG(status);
    return result;
}

} // namespace zelkova::platform

#endif // _WIN32
