// Writes a large exchange file for timing Quillon: the CAD program's 8 header lines, then layer,
// pen, line, circle, point and text records (Japanese texts included) up to the size asked for,
// with an extended-colour record at a chosen fraction of the file, or none.
//
//   quillon_generate_exchange FILE [MEGABYTES=100] [PIVOT_FRACTION=0.5, or "none"]
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A fixed sequence, so every run times the same file.
unsigned next(unsigned& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

std::string coordinate(unsigned& state) {
    return std::to_string(static_cast<int>(next(state) % 200000) - 100000) + "." +
           std::to_string(next(state) % 1000000);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [MEGABYTES] [PIVOT_FRACTION|none]\n", argv[0]);
        return 2;
    }
    const double megabytes = argc > 2 ? std::atof(argv[2]) : 100.0;
    const bool withPivot = !(argc > 3 && std::string(argv[3]) == "none");
    const double pivotFraction = argc > 3 && withPivot ? std::atof(argv[3]) : 0.5;
    const auto target = static_cast<unsigned long long>(megabytes * 1024 * 1024);
    const auto pivotAt = static_cast<unsigned long long>(static_cast<double>(target) * pivotFraction);

    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    std::string text =
        "hq\r\nhk 0\r\nhs 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100 100\r\n"
        "hcw 2 2.5 3 4 5 6 7 8 9 10\r\nhch 2 2.5 3 4 5 6 7 8 9 10\r\nhcd 0 0 0 0 0 0 0 0 0 0\r\n"
        "hcc 6 6 6 6 6 6 6 6 6 6\r\nhn -15225.38 -10767.26 15701.79 11878.16\r\nlg0\r\nly0\r\n";
    unsigned state = 12345;
    unsigned long long written = 0;
    bool pivotWritten = !withPivot;
    while (written + text.size() < target) {
        if (!pivotWritten && written + text.size() >= pivotAt) {
            text += "lc10 65408\r\n";
            pivotWritten = true;
        }
        const unsigned kind = next(state) % 100;
        if (kind < 70) {
            text += " " + coordinate(state) + " " + coordinate(state) + " " + coordinate(state) + " " +
                    coordinate(state) + "\r\n";
        } else if (kind < 78) {
            text += "ci " + coordinate(state) + " " + coordinate(state) + " 699.999989690007 90 0 1 0\r\n";
        } else if (kind < 86) {
            // 平面図 in code page 932, a circled digit and half-width kana.
            text += "ch " + coordinate(state) + " " + coordinate(state) +
                    " 1 0 \"\x95\xBD\x96\xCA\x90\x7D\x87\x40" + "\xB1\xB2\xB3 room " +
                    std::to_string(next(state) % 1000) + "   \r\n";
        } else if (kind < 92) {
            text += "pt " + coordinate(state) + " " + coordinate(state) + "\r\n";
        } else if (kind < 96) {
            text += "lc" + std::to_string(1 + next(state) % 9) + "\r\nlt" +
                    std::to_string(1 + next(state) % 9) + "\r\n";
        } else {
            const char* hex = "0123456789abcdef";
            text += std::string("ly") + hex[next(state) % 16] + "\r\n";
            if (kind == 99)
                text += std::string("lg") + hex[next(state) % 16] + "\r\n";
        }
        if (text.size() >= (1 << 20)) {
            std::fwrite(text.data(), 1, text.size(), file);
            written += text.size();
            text.clear();
        }
    }
    std::fwrite(text.data(), 1, text.size(), file);
    if (std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
