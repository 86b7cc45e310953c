// Times the runner where its cost lies.
//
// 1. A text file of 200 MB (CR LF lines shaped like a solver's listing) goes through one case: the
//    READ copy into the program's folder, a program that hands it over as its output at no cost
//    (a hard link), and the WRITE delivery to the user's file. Each copy must reach at least half
//    the throughput of `cp` on the same file, timed in the same run.
// 2. One case whose program does nothing, run from its own run file: what it costs beyond the
//    program's own start and wait (target: at most 5 ms), with the program on the batch tool's
//    own standard streams.
// 3. The same program started on a pseudo-terminal of its own, as the program window starts it,
//    read to its end and waited for (the window itself excluded): what the terminal adds to a
//    plain start.
//
// usage: runner_bench WORK_FOLDER NOTHING_PROGRAM [MEGABYTES=200] [CASES=200]
#include "platform/MessageBoxes.h"
#include "platform/PosixProcessLauncher.h"
#include "runner/Runner.h"

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

using namespace zelkova;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Every box is a failure of the benchmark's set-up: print it and remember it.
class PrintingMessageBoxes final : public platform::MessageBoxes {
public:
    platform::Reply show(const platform::Message& message) override {
        std::fprintf(stderr, "runner message: %s\n", message.text.c_str());
        ++count;
        return message.defaultReply;
    }
    int count = 0;
};

// The program of the copy case: its output is its input, handed over by a hard link, so the
// case's time is the runner's own.
class LinkingLauncher final : public platform::ProcessLauncher {
public:
    platform::LaunchResult runAndWait(const std::string&, const std::string& folder) override {
        const bool ok = ::link((folder + "IN.DAT").c_str(), (folder + "OUT.DAT").c_str()) == 0;
        return {ok, ok ? 0 : 1};
    }
};

void generate(const fs::path& path, std::uintmax_t bytes) {
    if (fs::exists(path) && fs::file_size(path) == bytes)
        return;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk;
    std::uintmax_t written = 0;
    unsigned line = 0;
    char buffer[160];
    while (written < bytes) {
        chunk.clear();
        while (chunk.size() < (1u << 20)) {
            if (line % 50 == 0)
                std::snprintf(buffer, sizeof buffer,
                              "1\x8C\x8B\x89\xCA\x88\xEA\x97\x97  CASE %u%*sPAGE %6u\r\n", line / 5000, 60,
                              "", line / 50 + 1);
            else
                std::snprintf(buffer, sizeof buffer, " %6u %14.4f %14.4f %14.4f %14.4f\r\n", line % 100000,
                              line * 0.125, line * -0.5, line * 1.0e-3, line * 7.25);
            chunk += buffer;
            ++line;
        }
        const std::size_t take =
            static_cast<std::size_t>(std::min<std::uintmax_t>(chunk.size(), bytes - written));
        // The file ends on a whole line, so the copy is byte for byte.
        std::size_t end = take;
        if (written + take == bytes)
            while (end > 0 && chunk[end - 1] != '\n')
                --end;
        out.write(chunk.data(), static_cast<std::streamsize>(end));
        written += take;
    }
}

double timeCp(const fs::path& from, const fs::path& to) {
    const std::string a = from.string(), b = to.string();
    char cp[] = "cp";
    char* argv[] = {cp, const_cast<char*>(a.c_str()), const_cast<char*>(b.c_str()), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "cp", nullptr, nullptr, argv, environ) != 0) {
        std::perror("cp");
        std::exit(1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return secondsSince(start);
}

void writeRunFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s WORK_FOLDER NOTHING_PROGRAM [MEGABYTES=200] [CASES=200]\n", argv[0]);
        return 2;
    }
    const fs::path work = fs::absolute(argv[1]);
    const std::string nothing = fs::absolute(argv[2]).string();
    const double megabytes = argc > 3 ? std::atof(argv[3]) : 200.0;
    const int cases = argc > 4 ? std::atoi(argv[4]) : 200;
    fs::create_directories(work / "prog");
    fs::create_directories(work / "data");
    PrintingMessageBoxes messages;

    // --- 1. the text copy against cp
    const auto bytes = static_cast<std::uintmax_t>(megabytes * 1000 * 1000);
    const fs::path big = work / "data" / "big.txt";
    generate(big, bytes);
    const double size = static_cast<double>(fs::file_size(big)) / 1e6;
    const fs::path runFile = work / "data" / "COPY.FRT";
    const std::string linkProgram = (work / "prog" / "LINK").string();
    std::ofstream(linkProgram) << "stands for a program\n";
    writeRunFile(runFile, "R 'IN.DAT'='big.txt'\r\nW 'OUT.DAT'='out.txt'\r\nP '" + linkProgram + "'\r\n");
    std::vector<double> cpTimes, runTimes;
    LinkingLauncher linking;
    for (int round = 0; round < 5; ++round) {
        cpTimes.push_back(timeCp(big, work / "data" / "cp-copy.txt"));
        fs::remove(work / "data" / "cp-copy.txt");
        const auto start = Clock::now();
        const runner::RunOutcome outcome =
            runner::runRunFile({runFile.string(), runFile.string(), {}}, messages, linking);
        runTimes.push_back(secondsSince(start));
        if (outcome != runner::RunOutcome::Finished ||
            fs::file_size(work / "data" / "out.txt") != fs::file_size(big)) {
            std::fprintf(stderr, "the copy case did not deliver the file whole\n");
            return 1;
        }
        fs::remove(work / "data" / "out.txt");
    }
    // The best of each: other work on the machine only ever slows a round down.
    const double cpTime = *std::min_element(cpTimes.begin(), cpTimes.end());
    const double copyTime = *std::min_element(runTimes.begin(), runTimes.end()) / 2; // READ + WRITE
    std::printf("text copy, %.1f MB file (best of 5; median in brackets):\n", size);
    std::printf("  cp                  %7.3f s  %8.1f MB/s  (%.3f s)\n", cpTime, size / cpTime,
                median(cpTimes));
    std::printf("  READ copy + WRITE   %7.3f s  %8.1f MB/s a copy  (%.3f s)\n", copyTime * 2, size / copyTime,
                median(runTimes));
    std::printf("  ratio to cp         %7.2f   (target: at least 0.50)\n", cpTime / copyTime);

    // --- 2. an empty case
    const std::string emptyRun = (work / "data" / "EMPTY.FRT").string();
    writeRunFile(emptyRun, "one case whose program does nothing\r\nP '" + nothing + "'\r\n");
    platform::PosixProcessLauncher processes;
    const std::string folder = fs::path(nothing).parent_path().string() + "/";
    std::vector<double> direct, viaRunner;
    for (int i = 0; i < cases; ++i) {
        auto start = Clock::now();
        processes.runAndWait(nothing, folder);
        direct.push_back(secondsSince(start));
        start = Clock::now();
        (void)runner::runRunFile({emptyRun, emptyRun, {}}, messages, processes);
        viaRunner.push_back(secondsSince(start));
    }
    const double own = median(direct) * 1000;
    const double whole = median(viaRunner) * 1000;
    std::printf("empty case, median of %d:\n", cases);
    std::printf("  program alone       %7.3f ms\n", own);
    std::printf("  case through runner %7.3f ms\n", whole);
    std::printf("  runner's own cost   %7.3f ms  (target: at most 5 ms)\n", whole - own);

    // --- 3. the same program on a terminal of its own
    std::vector<double> onTerminal;
    for (int i = 0; i < cases; ++i) {
        const auto start = Clock::now();
        int error = 0;
        auto process = platform::TerminalProcess::start(nothing, folder, {80, 25}, error);
        if (!process) {
            std::fprintf(stderr, "the program could not be started on a terminal: %d\n", error);
            return 1;
        }
        std::string output;
        bool closed = false;
        while (!closed || !process->ended()) {
            // A closed terminal polls as ready for ever: once it is closed only the end is waited for.
            pollfd fds[2] = {{closed ? -1 : process->terminalDescriptor(), POLLIN, 0},
                             {process->endDescriptor(), POLLIN, 0}};
            ::poll(fds, process->endDescriptor() >= 0 ? 2 : 1, 10);
            closed = closed || process->read(output) == platform::TerminalProcess::ReadState::Closed;
        }
        onTerminal.push_back(secondsSince(start));
    }
    const double terminal = median(onTerminal) * 1000;
    std::printf("program on a terminal of its own, median of %d:\n", cases);
    std::printf("  start, read, wait   %7.3f ms\n", terminal);
    std::printf("  terminal's own cost %7.3f ms\n", terminal - own);

    fs::remove(big);
    return messages.count == 0 ? 0 : 1;
}
