// posix_spawn + waitpid. The child gets its current directory from
// posix_spawn_file_actions_addchdir_np where glibc has it (2.29 and later), which keeps the parent's
// own current directory untouched.
#include "platform/PosixProcessLauncher.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

extern char** environ;

namespace zelkova::platform {

LaunchResult PosixProcessLauncher::runAndWait(const std::string& program, const std::string& workingFolder) {
    LaunchResult result;
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return result;
    if (!workingFolder.empty() && posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str()) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return result;
    }
    std::vector<char> arg0(program.begin(), program.end());
    arg0.push_back('\0');
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return result;
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    // A program that cannot be executed after the spawn (a bad format, a missing interpreter)
    // ends with status 127 from the child; it counts as started and ended, as on Windows a
    // program that fails at once does.
    result.started = true;
    if (waited == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (waited == pid && WIFSIGNALED(status))
        result.exitCode = 128 + WTERMSIG(status);
    return result;
}

} // namespace zelkova::platform
