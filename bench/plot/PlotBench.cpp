// The plot viewer's benchmark: a generated plot file of short line segments with pen changes is
// read and recorded as one figure, then its picture is redisplayed into the 688 × 469 view image
// as a pan or zoom does it, at 100%, 1600% and 6%.
// Usage: bench_plot [SEGMENTS...]  (default 100000 1000000). Prints the times and the peak memory.
#include "platform/MessageBoxes.h"
#include "plot/Picture.h"
#include "plot/Reader.h"
#include "plot/Renderer.h"
#include "plot/qt/PainterCanvas.h"

#include <QImage>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class QuietMessageBoxes final : public zelkova::platform::MessageBoxes {
public:
    zelkova::platform::Reply show(const zelkova::platform::Message& m) override { return m.defaultReply; }
};

// Segments of up to 2 mm at random places on the paper (drawing units at 1/1), with a pen change
// every 100 segments through pens 1 to 8.
std::string generate(long segments) {
    std::mt19937 random(77);
    std::uniform_int_distribution<int> x(0, 286000);
    std::uniform_int_distribution<int> y(0, 199000);
    std::uniform_int_distribution<int> d(-1000, 1000);
    std::string out = "hq\r\nlg0\r\nly0\r\nlt1\r\n";
    out.reserve(static_cast<std::size_t>(segments) * 34);
    char line[96];
    for (long i = 0; i < segments; ++i) {
        if (i % 100 == 0) {
            std::snprintf(line, sizeof line, "lc%ld\r\n", 1 + (i / 100) % 8);
            out += line;
        }
        const int x1 = x(random);
        const int y1 = y(random);
        const int x2 = x1 + d(random) + 1000;
        const int y2 = y1 + d(random) + 1000;
        std::snprintf(line, sizeof line, " %d.%03d %d.%03d %d.%03d %d.%03d\r\n", x1 / 1000, x1 % 1000,
                      y1 / 1000, y1 % 1000, x2 / 1000, x2 % 1000, y2 / 1000, y2 % 1000);
        out += line;
    }
    return out;
}

struct Magnification {
    const char* name;
    double factor;
};
constexpr Magnification kMagnifications[] = {{"100%", 1.0}, {"1600%", 16.0}, {"6%", 0.06}};

// What a pan or zoom may take: instant to the eye on the largest figures.
const char* targetFor(long segments) {
    if (segments <= 100000)
        return "8 ms";
    if (segments <= 1000000)
        return "40 ms";
    return "none";
}

// The view rectangle of a 688 × 469 view image magnified by `factor` about its centre.
zelkova::plot::ViewRect centredView(double factor) {
    const double w = 688 * factor;
    const double h = 469 * factor;
    return {static_cast<std::int32_t>(344 - w / 2), static_cast<std::int32_t>(234.5 - h / 2),
            static_cast<std::int32_t>(344 + w / 2), static_cast<std::int32_t>(234.5 + h / 2)};
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The processor time of this thread: what a redisplay costs when other programs share the machine.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

long peakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<long> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atol(argv[i]));
    if (sizes.empty())
        sizes = {100000, 1000000};
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zelkova-plot-bench";
    std::filesystem::create_directories(folder);
    for (long segments : sizes) {
        const std::filesystem::path file = folder / ("segments-" + std::to_string(segments) + ".txt");
        {
            const std::string bytes = generate(segments);
            std::ofstream(file, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        const auto bytes = std::filesystem::file_size(file);

        double readMs = 1e300;
        zelkova::plot::Picture picture;
        for (int round = 0; round < 3; ++round) {
            const auto start = Clock::now();
            zelkova::plot::Reader reader = zelkova::plot::Reader::openFile(file.string());
            reader.seekStartMarker();
            QuietMessageBoxes messages;
            zelkova::plot::readFigure(reader, picture, zelkova::plot::FigureSettings{}, messages);
            readMs = std::min(readMs, msSince(start));
        }

        std::printf("%ld segments (%.1f MB): read and record %.0f ms (best of 3), %zu operations, peak "
                    "memory %.0f MB\n",
                    segments, bytes / 1e6, readMs, picture.ops().size(), peakKb() / 1024.0);
        // One redisplay as a pan or zoom does it: clear the view image, stretch the picture into
        // the view rectangle. 1600% and 6% are zoomed about the centre of the view.
        QImage view(688, 469, QImage::Format_RGB32);
        for (const Magnification& m : kMagnifications) {
            const zelkova::plot::ViewRect rect = centredView(m.factor);
            std::vector<double> wall;
            std::vector<double> cpu;
            for (int round = 0; round < 11; ++round) {
                const auto start = Clock::now();
                const double cpuStart = threadCpuMs();
                view.fill(Qt::white);
                zelkova::plot::drawPicture(view, picture, rect);
                cpu.push_back(threadCpuMs() - cpuStart);
                wall.push_back(msSince(start));
            }
            std::sort(wall.begin(), wall.end());
            std::sort(cpu.begin(), cpu.end());
            std::printf(
                "  redisplay at %5s: %6.1f ms (median of 11; best %.1f; processor time %.1f; target %s)\n",
                m.name, wall[wall.size() / 2], wall.front(), cpu[cpu.size() / 2], targetFor(segments));
        }
        std::filesystem::remove(file);
    }
    return 0;
}
