// zelkova-batch render PLOT -o OUT.png|OUT.svg|OUT.pdf [--figure N] [--scale N] [--all-layers]
// [--mono] [--size WxH] [--dump]: reads figures 1 to N of a plot file as the viewer's open and
// next-figure commands do, and draws figure N as the viewer shows it, stretched over a view image
// of W × H pixels (688 × 469 by default). The reference device is fixed at 96 pixels per inch, so
// the picture never depends on the screen. The viewer's messages go to standard error; --dump
// writes the figure's retained picture to standard output, one operation per line.
#include "batch/Commands.h"
#include "batch/OffscreenApplication.h"

#include "batch/StreamMessageBoxes.h"
#include "platform/MessageBoxes.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/QtText.h"
#include "plot/Picture.h"
#include "plot/Reader.h"
#include "plot/Renderer.h"
#include "plot/ViewerTexts.h"
#include "plot/qt/PainterCanvas.h"
#include "text/Failure.h"
#include "text/Files.h"
#include "text/Numbers.h"
#include "text/Paths.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>

namespace zelkova::batch {

namespace {

constexpr std::string_view kRenderUsage =
    "usage: zelkova-batch render PLOT -o OUT.png|OUT.svg|OUT.pdf [--figure N] [--scale N]\n"
    "       [--all-layers] [--mono] [--size WxH] [--dump]\n"
    "\n"
    "Draws figure N (default 1) of the plot file PLOT as the plot viewer shows it in a view of\n"
    "W x H pixels (default 688x469), at the scale 1/N (default 1), one figure per layer unless\n"
    "--all-layers, in colour unless --mono. --dump writes the figure's drawing operations to\n"
    "standard output; with --dump, -o may be left out.\n";

constexpr double kReferenceDpi = 96;
constexpr int kLargestSide = 20000;

enum class Format { Png, Svg, Pdf };

struct RenderOptions {
    std::string plot;
    std::string output;
    Format format = Format::Png;
    std::int32_t figure = 1;
    std::string scale = "1";
    bool allLayers = false;
    bool mono = false;
    int width = 688;
    int height = 469;
    bool dump = false;
};

std::optional<Format> formatOf(const std::string& name) {
    std::string extension = std::filesystem::path(name).extension().string();
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (extension == ".png")
        return Format::Png;
    if (extension == ".svg")
        return Format::Svg;
    if (extension == ".pdf")
        return Format::Pdf;
    return std::nullopt;
}

bool parseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    const auto w = text::parseInteger(text.substr(0, x));
    const auto h = text::parseInteger(text.substr(x + 1));
    if (!w || !h || *w < 1 || *h < 1 || *w > kLargestSide || *h > kLargestSide)
        return false;
    width = *w;
    height = *h;
    return true;
}

std::optional<RenderOptions> parse(const Arguments& args, std::ostream& err) {
    RenderOptions o;
    bool havePlot = false;
    auto usage = [&err](const std::string& problem) {
        err << "zelkova-batch render: " << problem << '\n' << kRenderUsage;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "-o" || arg == "--figure" || arg == "--scale" || arg == "--size";
        if (takesValue && i + 1 == args.size())
            return usage(arg + " needs a value");
        if (arg == "-o") {
            o.output = args[++i];
        } else if (arg == "--figure") {
            const auto n = text::parseInteger(args[++i]);
            if (!n || *n < 1)
                return usage("--figure needs a figure number from 1");
            o.figure = *n;
        } else if (arg == "--scale") {
            o.scale = args[++i];
        } else if (arg == "--size") {
            if (!parseSize(args[++i], o.width, o.height))
                return usage("--size needs WxH, each from 1 to 20000");
        } else if (arg == "--all-layers") {
            o.allLayers = true;
        } else if (arg == "--mono") {
            o.mono = true;
        } else if (arg == "--dump") {
            o.dump = true;
        } else if (arg == "--help" || arg == "-h") {
            return usage("help");
        } else if (!arg.empty() && arg.front() == '-') {
            return usage("unknown option '" + arg + "'");
        } else if (havePlot) {
            return usage("one plot file only");
        } else {
            o.plot = arg;
            havePlot = true;
        }
    }
    if (!havePlot)
        return usage("a plot file is needed");
    if (o.output.empty() && !o.dump)
        return usage("-o OUT.png|OUT.svg|OUT.pdf (or --dump) is needed");
    if (!o.output.empty()) {
        const auto format = formatOf(o.output);
        if (!format)
            return usage("the output must end in .png, .svg or .pdf");
        o.format = *format;
    }
    return o;
}

// Discards what the viewer would show while it reads the figures before the one asked for.
class QuietMessageBoxes final : public platform::MessageBoxes {
public:
    platform::Reply show(const platform::Message& message) override { return message.defaultReply; }
};

// The view image as the viewer leaves it after the figure: cleared to white, then the picture
// stretched into the view rectangle.
QImage viewImage(const plot::Picture& picture, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    plot::drawPicture(image, picture, plot::ViewRect{0, 0, width, height});
    return image;
}

// The picture as an SVG or PDF document of the view's size, into `device`.
bool writeVector(const plot::Picture& picture, const RenderOptions& o, QIODevice& device) {
    const plot::ViewRect rect{0, 0, o.width, o.height};
    if (o.format == Format::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&device);
        svg.setSize(QSize(o.width, o.height));
        svg.setViewBox(QRect(0, 0, o.width, o.height));
        svg.setResolution(static_cast<int>(kReferenceDpi));
        svg.setTitle(QStringLiteral("Zelkova plot"));
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        painter.fillRect(QRect(0, 0, o.width, o.height), Qt::white);
        plot::drawPicture(painter, picture, rect);
        return painter.end();
    }
    QPdfWriter pdf(&device);
    pdf.setResolution(static_cast<int>(kReferenceDpi));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(o.width * 72.0 / kReferenceDpi, o.height * 72.0 / kReferenceDpi),
                              QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setCreator(QStringLiteral("zelkova-batch"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    // The page may be a device pixel larger than asked: stretch over the view size exactly.
    painter.fillRect(QRect(0, 0, o.width, o.height), Qt::white);
    plot::drawPicture(painter, picture, rect);
    return painter.end();
}

} // namespace

int renderCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::optional<RenderOptions> options = parse(args, err);
    if (!options)
        return 2;
    StreamMessageBoxes messages(err);

    plot::FigureSettings settings;
    settings.scaleText = options->scale;
    settings.layerMode = !options->allLayers;
    settings.colourMode = !options->mono;
    settings.dpiX = kReferenceDpi;
    settings.dpiY = kReferenceDpi;
    try {
        plot::scaleDenominatorOf(settings.scaleText);
    } catch (const text::Failure& failure) {
        err << platform::withFinalStop(failure.what()) << '\n';
        return 1;
    }

    if (!text::existsAsFile(options->plot)) {
        messages.plain(plot::kFileNotFoundText);
        return 1;
    }
    std::optional<plot::Reader> reader;
    plot::Picture picture;
    for (std::int32_t figure = 1;; ++figure) {
        QuietMessageBoxes quiet;
        platform::MessageBoxes& shown = figure == options->figure
                                            ? static_cast<platform::MessageBoxes&>(messages)
                                            : static_cast<platform::MessageBoxes&>(quiet);
        try {
            if (figure == 1) {
                reader.emplace(plot::Reader::openFile(options->plot));
                if (!reader->seekStartMarker()) {
                    messages.plain(plot::kNotAPlotFileText);
                    return 1;
                }
            }
            if (plot::readFigure(*reader, picture, settings, shown) == plot::FigureEnd::NoFurtherFigure) {
                if (figure != options->figure)
                    messages.plain(plot::kNoFurtherFigureText);
                return 1;
            }
        } catch (const std::exception& failure) {
            // A figure before the one asked for that stops at an error is passed over as the
            // viewer's next-figure command does: the reader stays where the error happened and the
            // next figure reads on from there. A file that could not be opened ends it all.
            if (figure != options->figure && reader)
                continue;
            // Opening shows its own message for any error up to the first figure; later figures
            // show the error's text.
            if (figure == 1)
                messages.plain(plot::kCannotOpenForErrorText);
            else
                messages.generalError(failure.what());
            return 1;
        }
        if (figure == options->figure)
            break;
    }
    try {
        reader->close();
    } catch (const text::Failure&) {
        // the figure is read; a failing close of an input file loses nothing
    }

    if (options->dump)
        out << plot::dumpPicture(picture);
    if (options->output.empty())
        return 0;

    const std::unique_ptr<QGuiApplication> application = ensureApplication();
    platform::installFontSubstitutions();
    // Drawn in memory, then written beside the target and renamed over it: a failure leaves an
    // older output whole.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    if (options->format == Format::Png)
        drawn = viewImage(picture, options->width, options->height).save(&buffer, "PNG");
    else
        drawn = writeVector(picture, *options, buffer);
    buffer.close();
    try {
        if (drawn) {
            text::writeFileAtomically(options->output, std::string_view(bytes.constData(), bytes.size()));
            return 0;
        }
    } catch (const text::Failure&) {
        // reported below, as the file that could not be made
    }
    err << platform::withFinalStop(text::cannotCreateText(options->output)) << '\n';
    return 1;
}

} // namespace zelkova::batch
