// Runs the fuzz target without libFuzzer: every file given (or every file of the folders given)
// as it is, then random mutations of them (byte flips, insertions, deletions, splices, repeated
// runs) until the time is up. Usage: plot_fuzz_smoke SECONDS PATH...
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

void run(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

std::string mutate(std::string s, const std::vector<std::string>& pool, std::mt19937& random) {
    static const std::string kTokens[] = {" ",
                                          "\r\n",
                                          "\n",
                                          "\r",
                                          "\x1a",
                                          "ly",
                                          "lc10 ",
                                          "bl ",
                                          "e\r\n",
                                          "ci ",
                                          "sl ",
                                          "sc ",
                                          "pt ",
                                          "ms ",
                                          "me",
                                          "cn",
                                          "\"",
                                          "-",
                                          "1e308",
                                          "360",
                                          "720 ",
                                          "99999999999",
                                          "br 1 1 1 1\r\n",
                                          ".",
                                          "E-"};
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < edits; ++i) {
        const std::size_t at = s.empty() ? 0 : random() % (s.size() + 1);
        switch (random() % 6) {
        case 0:
            if (!s.empty() && at < s.size())
                s[at] = static_cast<char>(random());
            break;
        case 1:
            s.insert(at, kTokens[random() % std::size(kTokens)]);
            break;
        case 2:
            if (at < s.size())
                s.erase(at, 1 + random() % 16);
            break;
        case 3: {
            const std::string& other = pool[random() % pool.size()];
            if (!other.empty()) {
                const std::size_t from = random() % other.size();
                s.insert(at, other.substr(from, 1 + random() % 256));
            }
            break;
        }
        case 4:
            if (at < s.size()) {
                const std::string piece = s.substr(at, 1 + random() % 32);
                for (int n = static_cast<int>(random() % 20); n > 0; --n)
                    s.insert(at, piece);
            }
            break;
        default:
            s.insert(at, 1, static_cast<char>(random() % 32));
            break;
        }
    }
    if (s.size() > 200000)
        s.resize(200000);
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SECONDS PATH...\n", argv[0]);
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    std::vector<std::string> pool;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file())
                    pool.push_back(readFile(entry.path()));
        } else {
            pool.push_back(readFile(path));
        }
    }
    if (pool.empty()) {
        std::fprintf(stderr, "no inputs\n");
        return 2;
    }
    // Each file under every setting byte.
    long runs = 0;
    for (const std::string& file : pool)
        for (int flags = 0; flags < 64; ++flags, ++runs)
            run(std::string(1, static_cast<char>(flags)) + file);
    std::mt19937 random(20261208);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        run(mutate(pool[random() % pool.size()], pool, random));
        ++runs;
    }
    std::printf("%ld inputs run\n", runs);
    return 0;
}
