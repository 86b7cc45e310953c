// The plot viewer's benchmark on generated plot files of short line segments with pen changes.
// In process: reading and recording one figure (target for 1,000,000 segments: at most 120 ms)
// and redisplaying its picture into the 688 × 469 view image as a pan or zoom does it, at 100%,
// 1600% and 6%. Whole commands, as a user runs them:
// `zelkova-batch render` to PNG against `rsvg-convert` on the SVG twin of the same drawing (a path
// of lines for each pen's run, in its colour and width), run alternately, medians (targets for
// 1,000,000 segments: at most 0.25 s, at least 25 times faster, at most 60 MB).
//
// usage: bench_plot [--batch ZELKOVA_BATCH] [--rounds N] [SEGMENTS...]  (default 100000 1000000)
#include "WholeCommand.h"

#include "platform/MessageBoxes.h"
#include "plot/Picture.h"
#include "plot/Reader.h"
#include "plot/Renderer.h"
#include "plot/ViewerState.h"
#include "plot/qt/PainterCanvas.h"

#include <QImage>

#include <sys/resource.h>

#include <ctime>

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
namespace bench = zelkova::bench;

class QuietMessageBoxes final : public zelkova::platform::MessageBoxes {
public:
    zelkova::platform::Reply show(const zelkova::platform::Message& m) override { return m.defaultReply; }
};

struct Segment {
    int pen;
    int x1, y1, x2, y2; // thousandths of a drawing unit
};

// Segments of up to 2 mm at random places on the paper (drawing units at 1/1), with a pen change
// every 100 segments through pens 1 to 8.
std::vector<Segment> generate(long count) {
    std::mt19937 random(77);
    std::uniform_int_distribution<int> x(0, 286000);
    std::uniform_int_distribution<int> y(0, 199000);
    std::uniform_int_distribution<int> d(-1000, 1000);
    std::vector<Segment> segments;
    segments.reserve(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        Segment s;
        s.pen = static_cast<int>(1 + (i / 100) % 8);
        s.x1 = x(random);
        s.y1 = y(random);
        s.x2 = s.x1 + d(random) + 1000;
        s.y2 = s.y1 + d(random) + 1000;
        segments.push_back(s);
    }
    return segments;
}

std::string plotFile(const std::vector<Segment>& segments) {
    std::string out = "hq\r\nlg0\r\nly0\r\nlt1\r\n";
    out.reserve(segments.size() * 34);
    char line[96];
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Segment& s = segments[i];
        if (i % 100 == 0) {
            std::snprintf(line, sizeof line, "lc%d\r\n", s.pen);
            out += line;
        }
        std::snprintf(line, sizeof line, " %d.%03d %d.%03d %d.%03d %d.%03d\r\n", s.x1 / 1000, s.x1 % 1000,
                      s.y1 / 1000, s.y1 % 1000, s.x2 / 1000, s.x2 % 1000, s.y2 / 1000, s.y2 % 1000);
        out += line;
    }
    return out;
}

// The same drawing as SVG: the paper in millimetres, y up as in the plot file, the segments drawn
// with one pen (each hundred) one path of separate lines in that pen's default colour and width
// (picture pixels of the 96 dpi reference device, five to a paper pixel). One element a segment
// would pass librsvg's limit of a million elements.
std::string svgTwin(const std::vector<Segment>& segments) {
    std::string out = "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"688\" "
                      "height=\"469\" viewBox=\"0 0 287 200\" preserveAspectRatio=\"none\">\n"
                      "<rect width=\"287\" height=\"200\" fill=\"white\"/>\n"
                      "<g transform=\"matrix(1 0 0 -1 0 200)\" fill=\"none\" stroke-linecap=\"round\">\n";
    out.reserve(segments.size() * 50);
    const double mmPerPicturePixel = 25.4 / 96 / 5;
    char text[256];
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Segment& s = segments[i];
        if (i == 0 || s.pen != segments[i - 1].pen) {
            const zelkova::plot::PenDefault& pen =
                zelkova::plot::kPenDefaults[static_cast<std::size_t>(s.pen - 1)];
            const int widthNumber = std::atoi(pen.widthText);
            const int pixels = widthNumber == 1 ? 1 : 2 * (widthNumber - 1);
            std::snprintf(text, sizeof text, "%s<path stroke=\"#%02x%02x%02x\" stroke-width=\"%.3f\" d=\"",
                          i == 0 ? "" : "\"/>\n", pen.colour.red(), pen.colour.green(), pen.colour.blue(),
                          pixels * mmPerPicturePixel);
            out += text;
        }
        std::snprintf(text, sizeof text, "M%d.%03d %d.%03dL%d.%03d %d.%03d", s.x1 / 1000, s.x1 % 1000,
                      s.y1 / 1000, s.y1 % 1000, s.x2 / 1000, s.x2 % 1000, s.y2 / 1000, s.y2 % 1000);
        out += text;
    }
    if (!segments.empty())
        out += "\"/>\n";
    out += "</g>\n</svg>\n";
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

// The processor time of this thread, which a busy machine disturbs less than the wall time.
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

void write(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    std::string batch = ZELKOVA_BATCH;
    int rounds = 3;
    std::vector<long> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--batch" && i + 1 < argc)
            batch = argv[++i];
        else if (arg == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else
            sizes.push_back(std::atol(argv[i]));
    }
    if (sizes.empty())
        sizes = {100000, 1000000};
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zelkova-plot-bench";
    std::filesystem::create_directories(folder);
    std::printf("load average at the start: %.2f; zelkova-batch: %s\n", bench::loadAverage(), batch.c_str());
    bool met = true;
    for (const long count : sizes) {
        const std::filesystem::path file = folder / ("segments-" + std::to_string(count) + ".txt");
        const std::filesystem::path svg = folder / ("segments-" + std::to_string(count) + ".svg");
        {
            const std::vector<Segment> segments = generate(count);
            write(file, plotFile(segments));
            write(svg, svgTwin(segments));
        }
        const auto bytes = std::filesystem::file_size(file);

        std::vector<double> reads, readCpu;
        zelkova::plot::Picture picture;
        for (int round = 0; round < 5; ++round) {
            const auto start = Clock::now();
            const double cpu = threadCpuMs();
            zelkova::plot::Reader reader = zelkova::plot::Reader::openFile(file.string());
            reader.seekStartMarker();
            QuietMessageBoxes messages;
            zelkova::plot::readFigure(reader, picture, zelkova::plot::FigureSettings{}, messages);
            reads.push_back(msSince(start));
            readCpu.push_back(threadCpuMs() - cpu);
        }
        const double read = bench::median(reads);
        std::printf(
            "%ld segments (%.1f MB): read and record %.0f ms (median of 5, best %.0f; processor %.0f ms), "
            "%zu operations, peak memory in process %.0f MB\n",
            count, bytes / 1e6, read, *std::min_element(reads.begin(), reads.end()), bench::median(readCpu),
            picture.ops().size(), peakKb() / 1024.0);
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
                m.name, wall[wall.size() / 2], wall.front(), cpu[cpu.size() / 2], targetFor(count));
        }

        const std::string png = (folder / "zelkova.png").string();
        const std::string theirs = (folder / "rsvg.png").string();
        const bool large = count >= 1000000;
        if (!bench::onPath("rsvg-convert")) {
            const bench::Summary z =
                bench::summarise({bench::runCommand({batch, "render", file.string(), "-o", png})});
            bench::printSummary("zelkova-batch render", z);
            std::printf("    rsvg-convert is not timed: it is not installed (librsvg2-bin)\n");
            if (large)
                met = met && read <= 120 && z.wallS <= 0.25 && z.peakMb <= 60 && !z.failed;
            continue;
        }
        const auto [z, r] = bench::alternate(
            rounds,
            [&] {
                return bench::runCommand({batch, "render", file.string(), "-o", png});
            },
            [&] {
                return bench::runCommand(
                    {"rsvg-convert", "-w", "688", "-h", "469", "-o", theirs, svg.string()});
            });
        bench::printSummary("zelkova-batch render", z);
        bench::printSummary("rsvg-convert", r);
        const double ratio = r.wallS / z.wallS;
        std::printf("    %.1f times faster than rsvg-convert (medians of %d, alternately)", ratio, rounds);
        if (large) {
            const bool ok = read <= 120 && z.wallS <= 0.25 && ratio >= 25 && z.peakMb <= 60 && !z.failed;
            std::printf(
                "; targets: read and record at most 120 ms, at most 0.25 s, at least 25 times, at most "
                "60 MB: %s",
                ok ? "met" : "NOT MET");
            met = met && ok;
        }
        std::printf("\n");
        std::filesystem::remove(file);
        std::filesystem::remove(svg);
    }
    std::printf("load average at the end: %.2f\n", bench::loadAverage());
    return met ? 0 : 1;
}
