// The plot viewer's benchmark of texts and images: a figure of generated text records (horizontal,
// rotated and vertical, in several sizes) is read and recorded, then redisplayed into the 688 × 469
// view image; and a figure that places one 4000 × 3000 JPEG photograph is opened (decoding
// included), then redisplayed.
// Usage: bench_plot_text [TEXTS [texts]]  (default 20000; "texts" leaves the JPEG out). Prints the
// times and the peak memory.
#include "image/ImageFiles.h"
#include "platform/MessageBoxes.h"
#include "platform/qt/Fonts.h"
#include "plot/Picture.h"
#include "plot/PlotSession.h"
#include "plot/Reader.h"
#include "plot/Renderer.h"
#include "plot/qt/PainterCanvas.h"
#include "text/Cp932.h"

#include <QGuiApplication>
#include <QImage>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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

// Milliseconds of this thread's processor time: steadier than the wall clock on a busy machine.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long peakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Texts as drawings carry them: dimensions, labels, titles. A third each horizontal, turned by one
// of a few angles, and vertical ("cv" down the page), in text sizes 2 to 5.
std::string generateTexts(long count) {
    static const char* const kTexts[] = {"1,820",          "2,730",       "W=5.00 KN/M", "事務室",
                                         "相談室(9.94㎡)", "P1=50.00 KN", "洋室-1",      "単純梁の計算例",
                                         "MAX.163.50 KN",  "ｶｳﾝﾀｰ",       "X1",          "倉庫①"};
    static const double kAngles[] = {30, 45, 90, 120, 180, 270};
    std::mt19937 random(11);
    std::uniform_int_distribution<int> x(0, 270000);
    std::uniform_int_distribution<int> y(0, 190000);
    std::string out = "ly0\r\n";
    char line[256];
    for (long i = 0; i < count; ++i) {
        if (i % 50 == 0) {
            std::snprintf(line, sizeof line, "cn%ld\r\n", 2 + (i / 50) % 4);
            out += line;
        }
        const std::string text = zelkova::text::utf8ToCp932(kTexts[i % 12]);
        const double px = x(random) / 1000.0;
        const double py = y(random) / 1000.0;
        switch (i % 3) {
        case 0:
            std::snprintf(line, sizeof line, "ch %.3f %.3f 1 0 \"", px, py);
            break;
        case 1: {
            const double a = kAngles[(i / 3) % 6] * 3.141592653589793 / 180;
            std::snprintf(line, sizeof line, "ch %.3f %.3f %.6f %.6f \"", px, py, std::cos(a), std::sin(a));
            break;
        }
        default:
            std::snprintf(line, sizeof line, "cv %.3f %.3f 0 -1 \"", px, py);
            break;
        }
        out += line + text + "\r\n";
    }
    return out;
}

// A photograph-like 4000 × 3000 picture: smooth colour fields with fine noise.
QImage photograph() {
    QImage image(4000, 3000, QImage::Format_RGB32);
    std::mt19937 random(5);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int r =
                std::clamp(static_cast<int>(128 + 100 * std::sin(x / 300.0)) + noise(random), 0, 255);
            const int g =
                std::clamp(static_cast<int>(128 + 100 * std::cos(y / 250.0)) + noise(random), 0, 255);
            const int b = std::clamp((x + y) / 28 + noise(random), 0, 255);
            row[x] = qRgb(r, g, b);
        }
    }
    return image;
}

// Redisplays `count` times; `rounds` receives the wall-clock times, `cpu` the median processor
// time. Returns the median wall-clock time.
double redisplayMs(const zelkova::plot::Picture& picture, QImage& view, std::vector<double>& rounds,
                   int count, double& cpu) {
    rounds.clear();
    std::vector<double> cpuRounds;
    for (int round = 0; round < count; ++round) {
        const auto start = Clock::now();
        const double cpuStart = cpuMs();
        view.fill(Qt::white);
        zelkova::plot::drawPicture(view, picture, zelkova::plot::ViewRect{0, 0, 688, 469});
        rounds.push_back(msSince(start));
        cpuRounds.push_back(cpuMs() - cpuStart);
    }
    std::vector<double> sorted = rounds;
    std::sort(sorted.begin(), sorted.end());
    std::sort(cpuRounds.begin(), cpuRounds.end());
    cpu = cpuRounds[cpuRounds.size() / 2];
    return sorted[sorted.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    zelkova::platform::installFontSubstitutions();
    const long texts = argc > 1 ? std::atol(argv[1]) : 20000;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zelkova-text-bench";
    std::filesystem::create_directories(folder);
    QImage view(688, 469, QImage::Format_RGB32);
    std::vector<double> rounds;

    // Texts.
    const std::filesystem::path textFile = folder / "texts.txt";
    writeFile(textFile, generateTexts(texts));
    double recordMs = 1e300;
    double recordCpu = 1e300;
    zelkova::plot::Picture picture;
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        const double cpuStart = cpuMs();
        zelkova::plot::Reader reader = zelkova::plot::Reader::openFile(textFile.string());
        reader.seekStartMarker();
        QuietMessageBoxes messages;
        zelkova::plot::readFigure(reader, picture, zelkova::plot::FigureSettings{}, messages);
        recordMs = std::min(recordMs, msSince(start));
        recordCpu = std::min(recordCpu, cpuMs() - cpuStart);
    }
    double warmCpu = 0;
    const double warm = redisplayMs(picture, view, rounds, 10, warmCpu);
    std::printf("%ld text records: read and record %.1f ms (best of 3; %.1f ms processor time); redisplay at "
                "688 x 469: first %.1f ms (the face loaded, glyphs shaped and rasterised), then %.1f ms "
                "(median of 10; %.1f ms "
                "processor time)\n",
                texts, recordMs, recordCpu, rounds.front(), warm, warmCpu);
    view.save(QString::fromStdString((folder / "texts.png").string()));
    if (argc > 2 && std::string(argv[2]) == "texts")
        return 0;

    // One 4000 × 3000 JPEG.
    const std::filesystem::path jpeg = folder / "photo.jpg";
    photograph().save(QString::fromStdString(jpeg.string()), "JPEG", 85);
    const std::filesystem::path imageFile = folder / "photo.txt";
    writeFile(imageFile, "ly\r\nch 10 10 1 0 \"^@BMphoto.jpg,0,150\r\n");
    zelkova::image::ImageFiles images;
    double openMs = 1e300;
    double openCpu = 1e300;
    std::shared_ptr<const zelkova::plot::Picture> photo;
    for (int round = 0; round < 3; ++round) {
        zelkova::plot::PlotSession session;
        session.setImageLoader(&images);
        QuietMessageBoxes messages;
        const auto start = Clock::now();
        const double cpuStart = cpuMs();
        session.open(imageFile.string(), zelkova::plot::FigureSettings{}, messages);
        openMs = std::min(openMs, msSince(start));
        openCpu = std::min(openCpu, cpuMs() - cpuStart);
        photo = session.sharedPicture();
    }
    double photoCpu = 0;
    const double photoRedisplay = redisplayMs(*photo, view, rounds, 10, photoCpu);
    std::printf("4000 x 3000 JPEG (%.1f MB): open %.1f ms (best of 3, decoding included; %.1f ms processor "
                "time); redisplay at 688 x 469 %.1f ms (median of 10; %.1f ms processor time); peak memory "
                "%.0f MB\n",
                std::filesystem::file_size(jpeg) / 1e6, openMs, openCpu, photoRedisplay, photoCpu,
                peakKb() / 1024.0);
    view.save(QString::fromStdString((folder / "photo.png").string()));
    return 0;
}
