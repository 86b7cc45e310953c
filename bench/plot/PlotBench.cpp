// The plot viewer's benchmark: a generated plot file of short line segments with pen changes is
// read and recorded as one figure, then its picture is redisplayed into the 688 × 469 view image.
// Usage: bench_plot [SEGMENTS...]  (default 100000 1000000). Prints the times and the peak memory.
#include "platform/MessageBoxes.h"
#include "plot/Picture.h"
#include "plot/Reader.h"
#include "plot/Renderer.h"
#include "plot/qt/PainterCanvas.h"

#include <QImage>

#include <sys/resource.h>

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

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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

        QImage view(688, 469, QImage::Format_RGB32);
        std::vector<double> redisplays;
        for (int round = 0; round < 10; ++round) {
            const auto start = Clock::now();
            view.fill(Qt::white);
            zelkova::plot::drawPicture(view, picture, zelkova::plot::ViewRect{0, 0, 688, 469});
            redisplays.push_back(msSince(start));
        }
        std::sort(redisplays.begin(), redisplays.end());
        std::printf(
            "%ld segments (%.1f MB): read and record %.0f ms (best of 3), redisplay %.1f ms (median of "
            "10), %zu operations, peak memory %.0f MB\n",
            segments, bytes / 1e6, readMs, redisplays[redisplays.size() / 2], picture.ops().size(),
            peakKb() / 1024.0);
        std::filesystem::remove(file);
    }
    return 0;
}
