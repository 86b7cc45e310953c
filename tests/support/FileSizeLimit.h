// A full disk for the scope: files of this process cannot grow past `bytes` (RLIMIT_FSIZE), and
// a write past it fails with EFBIG, which the general error report counts as a full disk.
#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace zelkova::testing {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldSignal = ::signal(SIGXFSZ, SIG_IGN); // a failed write instead of the end of the process
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        ::signal(SIGXFSZ, m_oldSignal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    sighandler_t m_oldSignal{};
};

} // namespace zelkova::testing
