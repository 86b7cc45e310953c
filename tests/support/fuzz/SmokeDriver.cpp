// Runs a fuzz target without libFuzzer, so that every build's test suite exercises it: each input
// file (or each file of each folder given) as it is, then random mutations of them (byte changes,
// insertions of dictionary tokens and control bytes, deletions, splices, repeated runs) until the
// time is up. The random sequence is fixed, so a failure comes back on the next run.
//
// usage: fuzz_smoke SECONDS [--dict FILE] [--prefixes N] PATH...
//   --dict FILE    tokens to insert, in libFuzzer's dictionary format (one "token" a line)
//   --prefixes N   replays each file N times, behind each first byte 0 .. N-1 (for targets whose
//                  first byte picks settings)
//
// A plain driver rather than libFuzzer's own, because libFuzzer comes with clang only and this
// runs in the compiler's ordinary build too; `make fuzz` runs the real fuzzer.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#if defined(__has_include)
#if __has_include(<sanitizer/common_interface_defs.h>)
#include <sanitizer/common_interface_defs.h>
#define ZELKOVA_HAVE_SANITIZER_INTERFACE 1
#endif
#endif

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The input being run, kept where the failure handlers can write it out.
const std::string* g_current = nullptr;
constexpr const char* kFailureFile = "fuzz-smoke-failure";

// Writes the input that failed to kFailureFile in the current folder, so that it can be run again
// and kept as a regression input. Only async-signal-safe calls.
void saveFailingInput() {
    if (!g_current)
        return;
    const int fd = ::open(kFailureFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        (void)::write(fd, g_current->data(), g_current->size());
        ::close(fd);
        static const char kNote[] = "the failing input is in ./fuzz-smoke-failure\n";
        (void)::write(2, kNote, sizeof kNote - 1);
    }
}

extern "C" void onFatalSignal(int signalNumber) {
    saveFailingInput();
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

void run(const std::string& input) {
    g_current = &input;
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    g_current = nullptr;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The tokens of a libFuzzer dictionary: the quoted part of each line, with \\, \" and \xNN.
std::vector<std::string> readDictionary(const std::filesystem::path& path) {
    std::vector<std::string> tokens;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t open = line.find('"');
        const std::size_t close = line.rfind('"');
        if (line.empty() || line[0] == '#' || open == std::string::npos || close <= open)
            continue;
        std::string token;
        for (std::size_t i = open + 1; i < close; ++i) {
            if (line[i] != '\\' || i + 1 >= close) {
                token += line[i];
            } else if (line[i + 1] == 'x' && i + 3 < close && hexDigit(line[i + 2]) >= 0 &&
                       hexDigit(line[i + 3]) >= 0) {
                token += static_cast<char>(hexDigit(line[i + 2]) * 16 + hexDigit(line[i + 3]));
                i += 3;
            } else {
                token += line[++i];
            }
        }
        tokens.push_back(token);
    }
    return tokens;
}

std::string mutate(std::string s, const std::vector<std::string>& pool,
                   const std::vector<std::string>& tokens, std::mt19937& random) {
    static const std::string kLineBytes[] = {"\r\n", "\n", "\r", "\x1a", " ", "'", "\""};
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < edits; ++i) {
        const std::size_t at = s.empty() ? 0 : random() % (s.size() + 1);
        switch (random() % 7) {
        case 0:
            if (at < s.size())
                s[at] = static_cast<char>(random());
            break;
        case 1:
            if (!tokens.empty())
                s.insert(at, tokens[random() % tokens.size()]);
            break;
        case 2:
            s.insert(at, kLineBytes[random() % std::size(kLineBytes)]);
            break;
        case 3:
            if (at < s.size())
                s.erase(at, 1 + random() % 16);
            break;
        case 4: {
            const std::string& other = pool[random() % pool.size()];
            if (!other.empty()) {
                const std::size_t from = random() % other.size();
                s.insert(at, other.substr(from, 1 + random() % 256));
            }
            break;
        }
        case 5:
            if (at < s.size()) {
                const std::string piece = s.substr(at, 1 + random() % 32);
                for (int n = static_cast<int>(random() % 20); n > 0; --n)
                    s.insert(at, piece);
            }
            break;
        default:
            s.insert(at, 1, static_cast<char>(random() % 256));
            break;
        }
    }
    if (s.size() > 200000)
        s.resize(200000);
    return s;
}

int usage(const char* program) {
    std::fprintf(stderr, "usage: %s SECONDS [--dict FILE] [--prefixes N] PATH...\n", program);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return usage(argv[0]);
    const double seconds = std::atof(argv[1]);
    for (const int signalNumber : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        ::signal(signalNumber, onFatalSignal);
#ifdef ZELKOVA_HAVE_SANITIZER_INTERFACE
    __sanitizer_set_death_callback(saveFailingInput);
#endif
    std::vector<std::string> pool;
    std::vector<std::string> tokens;
    int prefixes = 0;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dict") == 0 && i + 1 < argc) {
            tokens = readDictionary(argv[++i]);
            continue;
        }
        if (std::strcmp(argv[i], "--prefixes") == 0 && i + 1 < argc) {
            prefixes = std::atoi(argv[++i]);
            continue;
        }
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
                    pool.push_back(readFile(entry.path()));
        } else if (std::filesystem::is_regular_file(path)) {
            pool.push_back(readFile(path));
        }
    }
    if (pool.empty()) {
        std::fprintf(stderr, "no inputs\n");
        return 2;
    }
    long runs = 0;
    for (const std::string& file : pool) {
        if (prefixes <= 0) {
            run(file);
            ++runs;
        }
        for (int prefix = 0; prefix < prefixes; ++prefix, ++runs)
            run(std::string(1, static_cast<char>(prefix)) + file);
    }
    const long replayed = runs;
    std::mt19937 random(20261208);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        run(mutate(pool[random() % pool.size()], pool, tokens, random));
        ++runs;
    }
    std::printf("%ld inputs replayed, %ld mutations run\n", replayed, runs - replayed);
    return 0;
}
