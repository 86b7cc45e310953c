// How a started program ended, in words.
#include "runner/ProgramEnd.h"

#include "text/Failure.h"

#include <cerrno>
#include <cstring>

namespace zelkova::runner {

namespace {

// "SIGSEGV"; a signal without a name (a real-time one) by its number.
std::string signalName(int signal) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 32))
    if (const char* abbreviation = ::sigabbrev_np(signal))
        return std::string("SIG") + abbreviation;
#endif
    return std::to_string(signal);
}

std::string startErrorText(int error) {
    if (error == ENOEXEC)
        return "実行できる形式ではありません";
    return text::ioErrorText(text::errorCodeFromErrno(error));
}

} // namespace

std::string programEndText(const platform::LaunchResult& result) {
    if (!result.started)
        return result.startError != 0 ? "起動できません（" + startErrorText(result.startError) + "）"
                                      : std::string("起動できません");
    if (result.signal != 0)
        return "シグナル " + signalName(result.signal);
    if (result.exitCode != 0)
        return "終了コード " + std::to_string(result.exitCode);
    return {};
}

} // namespace zelkova::runner
