// The plot viewer's output benchmark: a figure of generated short line segments with a pen change
// every 100 segments is printed to a PDF file on A4 landscape as vector drawing, printed again with
// not-xor pens through the raster path (600 dpi, in bands), and written as an EMF of the view.
// Each case runs in a child process of its own, so that its peak memory is its own.
// Usage: bench_plot_output [SEGMENTS [vector|raster|emf]]  (default 1000000, every case). Prints the
// times (wall clock and processor), file sizes and peak memory.
#include "platform/qt/ApplicationPrinter.h"
#include "plot/EmfCanvas.h"
#include "plot/Output.h"
#include "plot/Picture.h"
#include "plot/qt/PictureExport.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinter>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using namespace zelkova;

// Segments of up to 2 mm at random places on the paper, pens 1 to 8 in turn.
plot::Picture figure(long segments, plot::RasterMode mode) {
    static const plot::Colour kPens[8] = {plot::Colour::fromRgb(0, 0, 0),
                                          plot::Colour::fromRgb(0, 255, 255),
                                          plot::Colour::fromRgb(255, 0, 0),
                                          plot::Colour::fromRgb(0, 0, 255),
                                          plot::Colour{33023},
                                          plot::Colour::fromRgb(0, 128, 0),
                                          plot::Colour::fromRgb(255, 0, 255),
                                          plot::Colour::fromRgb(128, 128, 128)};
    plot::Picture picture(5424, 3780, 18.8976, 18.8976);
    plot::RecordingCanvas canvas(picture);
    std::mt19937 random(77);
    std::uniform_int_distribution<int> x(0, 5424);
    std::uniform_int_distribution<int> y(0, 3780);
    std::uniform_int_distribution<int> d(-19, 19);
    for (long i = 0; i < segments; ++i) {
        if (i % 100 == 0)
            canvas.setPen({kPens[(i / 100) % 8], (i / 100) % 2 == 0 ? 2 : 4, plot::LineStyle::Solid, mode});
        const plot::Point from{x(random), y(random)};
        canvas.line(from, {from.x + d(random) + 19, from.y + d(random) + 19});
    }
    picture.setDrawnExtents({0, 5424, 0, 3780});
    return picture;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double peakMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

double fileMb(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size / 1e6;
}

void printCase(const char* name, long segments, plot::RasterMode mode, const std::string& pdf) {
    const plot::Picture picture = figure(segments, mode);
    const double before = peakMb();
    platform::ApplicationPrinter printer(platform::ApplicationPrinter::Mode::PdfFile);
    printer.printer().setOutputFileName(QString::fromStdString(pdf));
    printer.printer().setPageOrientation(QPageLayout::Landscape);
    const auto start = Clock::now();
    const double cpu = cpuSeconds();
    plot::printPicture(printer.printer(), &picture,
                       plot::printedRectOn(printer.printer(), {0, 0, 688, 469}, 688, 469));
    const double seconds = secondsSince(start);
    std::printf("%-30s %6.2f s (cpu %5.2f s)  %6.1f MB file  peak memory %.0f MB (figure alone %.0f MB)\n",
                name, seconds, cpuSeconds() - cpu, fileMb(pdf), peakMb(), before);
}

void metafileCase(long segments, const std::string& emf) {
    const plot::Picture picture = figure(segments, plot::RasterMode::CopyPen);
    const auto start = Clock::now();
    const double cpu = cpuSeconds();
    const std::string bytes = plot::metafileOf(&picture, plot::viewFrame(688, 469, {0, 0, 688, 469}));
    std::ofstream(emf, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const double seconds = secondsSince(start);
    std::printf("%-30s %6.2f s (cpu %5.2f s)  %6.1f MB file  peak memory %.0f MB\n", "EMF of the view",
                seconds, cpuSeconds() - cpu, fileMb(emf), peakMb());
}

// Runs `body` in a child process and waits for it.
void inChild(const std::function<void()>& body) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        body();
        std::fflush(stdout);
        std::_Exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

} // namespace

int main(int argc, char** argv) {
    const long segments = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zelkova-output-bench";
    std::filesystem::create_directories(folder);
    std::printf("%ld segments, A4 landscape PDF printer at 1200 dpi\n", segments);
    const auto run = [&](const std::function<void()>& body) {
        inChild([&] {
            if (!std::getenv("QT_QPA_PLATFORM"))
                setenv("QT_QPA_PLATFORM", "offscreen", 1);
            int qtArgc = 1;
            QGuiApplication application(qtArgc, argv);
            body();
        });
    };
    const std::string only = argc > 2 ? argv[2] : "";
    if (only.empty() || only == "vector")
        run([&] {
            printCase("print, vector (copy pens)", segments, plot::RasterMode::CopyPen,
                      (folder / "vector.pdf").string());
        });
    if (only.empty() || only == "raster")
        run([&] {
            printCase("print, raster (not-xor pens)", segments, plot::RasterMode::NotXorPen,
                      (folder / "raster.pdf").string());
        });
    if (only.empty() || only == "emf")
        run([&] { metafileCase(segments, (folder / "view.emf").string()); });
    std::filesystem::remove_all(folder);
    return 0;
}
