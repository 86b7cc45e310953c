// The signal-time removal of temporary files. Everything the handler touches is a fixed array of
// plain entries, and it calls only getpid, unlinkat and raise, all async-signal-safe.
#include "text/TemporaryFiles.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace zelkova::text {

namespace {

constexpr int kEntries = 32;
constexpr std::size_t kNameBytes = 64;

enum State : int { Free, Filling, Ready };

struct Entry {
    std::atomic<int> state{Free};
    int folderFd = -1;
    pid_t owner = 0;
    char name[kNameBytes] = {};
};

Entry g_entries[kEntries];
std::once_flag g_handlersInstalled;

extern "C" void removeTemporaryFiles(int signalNumber) {
    const pid_t self = ::getpid();
    for (Entry& entry : g_entries)
        if (entry.state.load(std::memory_order_acquire) == Ready && entry.owner == self)
            ::unlinkat(entry.folderFd, entry.name, 0);
    // SA_RESETHAND has put the default action back; the signal, blocked while this handler runs,
    // ends the process as soon as the handler returns.
    ::raise(signalNumber);
}

void installHandlers() {
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signalNumber, nullptr, &current) != 0)
            continue;
        if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL)
            continue;
        struct sigaction removal {};
        removal.sa_handler = removeTemporaryFiles;
        sigemptyset(&removal.sa_mask);
        removal.sa_flags = SA_RESETHAND;
        ::sigaction(signalNumber, &removal, nullptr);
    }
}

} // namespace

int registerTemporaryFile(int folderFd, std::string_view name) {
    if (name.size() >= kNameBytes)
        return -1;
    std::call_once(g_handlersInstalled, installHandlers);
    for (int i = 0; i < kEntries; ++i) {
        int expected = Free;
        if (!g_entries[i].state.compare_exchange_strong(expected, Filling, std::memory_order_acq_rel))
            continue;
        Entry& entry = g_entries[i];
        entry.folderFd = folderFd;
        entry.owner = ::getpid();
        std::memcpy(entry.name, name.data(), name.size());
        entry.name[name.size()] = '\0';
        entry.state.store(Ready, std::memory_order_release);
        return i;
    }
    return -1;
}

void unregisterTemporaryFile(int entry) {
    if (entry >= 0 && entry < kEntries)
        g_entries[entry].state.store(Free, std::memory_order_release);
}

} // namespace zelkova::text
