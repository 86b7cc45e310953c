// Timing whole commands as a user runs them: the wall time, the processor time of the command and
// every process it waited for, and the peak memory of the largest of them. Pairs of commands run
// alternately, so that a machine whose load changes treats both alike, and are summed up by
// medians.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace zelkova::bench {

struct CommandRun {
    double wallS = 0;
    double cpuS = 0;
    double peakMb = 0;
    int status = -1; // the exit status; -1 when the command did not end by itself
};

// Runs `argv` with standard output to `output` and standard error to /dev/null. The peak memory
// comes from GNU time when it is installed: a process forked from this one would count this
// program's own memory as its peak, one forked from time does not.
inline CommandRun runCommand(const std::vector<std::string>& argv, const std::string& output = "/dev/null") {
    static const bool haveTime = access("/usr/bin/time", X_OK) == 0;
    static const std::string peakFile = "/tmp/zelkova-bench-peak-" + std::to_string(getpid());
    std::vector<char*> args;
    if (haveTime) {
        for (const char* word : {"/usr/bin/time", "-f", "%M", "-o"})
            args.push_back(const_cast<char*>(word));
        args.push_back(const_cast<char*>(peakFile.c_str()));
    }
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = open("/dev/null", O_WRONLY);
        dup2(out, 1);
        dup2(null, 2);
        execvp(args[0], args.data());
        _exit(127);
    }
    CommandRun run;
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.wallS = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuS = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
               usage.ru_stime.tv_usec / 1e6;
    run.peakMb = usage.ru_maxrss / 1024.0;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (haveTime) {
        if (std::FILE* f = std::fopen(peakFile.c_str(), "r")) {
            // time writes a note first when the command did not end with status 0.
            char line[256];
            long kb = -1;
            while (std::fgets(line, sizeof line, f))
                kb = std::atol(line);
            std::fclose(f);
            if (kb >= 0)
                run.peakMb = kb / 1024.0;
        }
        std::remove(peakFile.c_str());
    }
    return run;
}

// A shell command line, for pipelines.
inline CommandRun runShell(const std::string& line) {
    return runCommand({"/bin/sh", "-c", line});
}

inline double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Medians of several runs.
struct Summary {
    double wallS = 0;
    double cpuS = 0;
    double peakMb = 0; // the largest seen
    bool failed = false;
};

inline Summary summarise(const std::vector<CommandRun>& runs) {
    std::vector<double> wall, cpu;
    Summary s;
    for (const CommandRun& r : runs) {
        wall.push_back(r.wallS);
        cpu.push_back(r.cpuS);
        s.peakMb = std::max(s.peakMb, r.peakMb);
        s.failed = s.failed || r.status != 0;
    }
    s.wallS = median(wall);
    s.cpuS = median(cpu);
    return s;
}

// Runs `ours` and `theirs` alternately `rounds` times each.
template <typename Ours, typename Theirs>
std::pair<Summary, Summary> alternate(int rounds, Ours ours, Theirs theirs) {
    std::vector<CommandRun> a, b;
    for (int i = 0; i < rounds; ++i) {
        a.push_back(ours());
        b.push_back(theirs());
    }
    return {summarise(a), summarise(b)};
}

inline void printSummary(const char* what, const Summary& s) {
    std::printf("  %-34s %8.3f s wall  %8.3f s processor  %7.1f MB peak%s\n", what, s.wallS, s.cpuS, s.peakMb,
                s.failed ? "  (FAILED)" : "");
}

// The machine's load over the last minute, for the record.
inline double loadAverage() {
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

// True when `program` is found on PATH.
inline bool onPath(const std::string& program) {
    return runShell("command -v " + program + " >/dev/null 2>&1").status == 0;
}

} // namespace zelkova::bench
