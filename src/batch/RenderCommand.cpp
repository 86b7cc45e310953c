// zelkova-batch render PLOT -o OUT.png|OUT.svg|OUT.pdf|OUT.bmp|OUT.emf [--figure N] [--scale N]
// [--all-layers] [--mono] [--size WxH] [--pen N=COLOUR] [--pen-width N=TEXT] [--view L,T,R,B]
// [--nav STEPS [--move-step F] [--zoom-step Z]] [--selection X1,Y1,X2,Y2 | --whole] [--dump]: reads
// figures 1 to N of a plot file as the viewer's open and next-figure commands do, and draws figure
// N as the viewer shows it, stretched over a view image of W × H pixels (688 × 469 by default).
// The reference device is fixed at 96 pixels per inch, so the picture never depends on the screen.
// The viewer's messages go to standard error; --dump writes the figure's retained picture to
// standard output, one operation per line.
#include "batch/Commands.h"
#include "batch/OffscreenApplication.h"

#include "batch/StreamMessageBoxes.h"
#include "image/ImageFiles.h"
#include "platform/MessageBoxes.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/QtText.h"
#include "plot/Navigation.h"
#include "plot/Output.h"
#include "plot/Picture.h"
#include "plot/PlotSession.h"
#include "plot/Renderer.h"
#include "plot/ViewerState.h"
#include "plot/ViewerTexts.h"
#include "plot/qt/PictureExport.h"
#include "text/Failure.h"
#include "text/Files.h"
#include "text/Numbers.h"
#include "text/Paths.h"

#include <QByteArray>
#include <QGuiApplication>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

namespace zelkova::batch {

namespace {

constexpr std::string_view kRenderUsage =
    "usage: zelkova-batch render PLOT -o OUT.png|OUT.svg|OUT.pdf|OUT.bmp|OUT.emf [--figure N]\n"
    "       [--scale N] [--all-layers] [--mono] [--size WxH] [--pen N=COLOUR] [--pen-width N=TEXT]\n"
    "       [--view L,T,R,B] [--nav STEPS [--move-step F] [--zoom-step Z]]\n"
    "       [--selection X1,Y1,X2,Y2 | --whole] [--dump]\n"
    "\n"
    "Draws figure N (default 1) of the plot file PLOT as the plot viewer shows it in a view of\n"
    "W x H pixels (default 688x469), at the scale 1/N (default 1), one figure per layer unless\n"
    "--all-layers, in colour unless --mono. --pen and --pen-width set pen N's colour name and width\n"
    "text as the pen panel does (each repeatable). --view draws into the view rectangle L,T,R,B;\n"
    "--nav applies the viewer's buttons in order (left, right, up, down, bigger, smaller, org,\n"
    "comma-separated) and prints the view rectangle and the percent box. --selection writes what\n"
    "the copy commands put on the clipboard for that frame; --whole writes the whole figure at its\n"
    "own size. --dump writes the figure's drawing operations to standard output; with --dump, -o may\n"
    "be left out.\n";

constexpr double kReferenceDpi = 96;
constexpr int kLargestSide = 20000;

enum class Format { Png, Svg, Pdf, Bmp, Emf };

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
    std::vector<std::pair<int, std::string>> penColours; // --pen N=COLOUR, in order
    std::vector<std::pair<int, std::string>> penWidths;  // --pen-width N=TEXT, in order
    std::optional<plot::ViewRect> view;
    std::vector<std::string> navSteps;
    double moveStep = plot::kDefaultMoveFraction;
    double zoomStep = plot::kDefaultZoomStep;
    std::optional<std::array<std::int32_t, 4>> selection; // press x, y, current x, y
    bool whole = false;
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
    if (extension == ".bmp")
        return Format::Bmp;
    if (extension == ".emf")
        return Format::Emf;
    return std::nullopt;
}

plot::ExportFormat exportFormatOf(Format format) {
    switch (format) {
    case Format::Png:
        return plot::ExportFormat::Png;
    case Format::Svg:
        return plot::ExportFormat::Svg;
    case Format::Pdf:
        return plot::ExportFormat::Pdf;
    case Format::Bmp:
        return plot::ExportFormat::Bmp;
    case Format::Emf:
        return plot::ExportFormat::Emf;
    }
    return plot::ExportFormat::Png;
}

// "N=TEXT" with N a pen number from 1 to 9.
std::optional<std::pair<int, std::string>> penSetting(const std::string& text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return std::nullopt;
    const auto pen = text::parseInteger(text.substr(0, equals));
    if (!pen || *pen < 1 || *pen > 9)
        return std::nullopt;
    return std::pair<int, std::string>(*pen, text.substr(equals + 1));
}

// Four comma-separated integers.
std::optional<std::array<std::int32_t, 4>> fourIntegers(const std::string& text) {
    std::array<std::int32_t, 4> values{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((comma == std::string::npos) != (i == 3))
            return std::nullopt;
        const auto value = text::parseInteger(text.substr(start, comma - start));
        if (!value)
            return std::nullopt;
        values[i] = *value;
        start = comma + 1;
    }
    return values;
}

std::optional<std::vector<std::string>> navigationSteps(const std::string& text) {
    static const std::array<std::string_view, 7> kSteps{"left",   "right",   "up", "down",
                                                        "bigger", "smaller", "org"};
    std::vector<std::string> steps;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string step = text.substr(start, comma == std::string::npos ? comma : comma - start);
        if (std::find(kSteps.begin(), kSteps.end(), step) == kSteps.end())
            return std::nullopt;
        steps.push_back(step);
        if (comma == std::string::npos)
            return steps;
        start = comma + 1;
    }
}

// One of the step-size menu's choices, exactly.
std::optional<double> oneOf(const std::string& text, std::initializer_list<std::string_view> choices) {
    for (std::string_view choice : choices)
        if (text == choice)
            return text::parseReal(text);
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
    static const std::array<std::string_view, 11> kWithValue{
        "-o",     "--figure", "--scale",     "--size",      "--pen",      "--pen-width",
        "--view", "--nav",    "--move-step", "--zoom-step", "--selection"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = std::find(kWithValue.begin(), kWithValue.end(), arg) != kWithValue.end();
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
        } else if (arg == "--pen" || arg == "--pen-width") {
            const auto setting = penSetting(args[++i]);
            if (!setting)
                return usage(arg + " needs N=VALUE with a pen number N from 1 to 9");
            (arg == "--pen" ? o.penColours : o.penWidths).push_back(*setting);
        } else if (arg == "--view") {
            const auto v = fourIntegers(args[++i]);
            if (!v || std::any_of(v->begin(), v->end(), [](std::int32_t c) {
                    return c < -plot::kViewLimit || c > plot::kViewLimit;
                }))
                return usage("--view needs L,T,R,B (four integers from -1073741824 to 1073741824)");
            o.view = plot::ViewRect{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
        } else if (arg == "--nav") {
            const auto steps = navigationSteps(args[++i]);
            if (!steps)
                return usage("--nav needs steps among left, right, up, down, bigger, smaller, org");
            o.navSteps = *steps;
        } else if (arg == "--move-step") {
            const auto step = oneOf(args[++i], {"0.05", "0.2", "0.5", "1.0"});
            if (!step)
                return usage("--move-step needs 0.05, 0.2, 0.5 or 1.0");
            o.moveStep = *step;
        } else if (arg == "--zoom-step") {
            const auto step = oneOf(args[++i], {"1.1", "1.414", "2.0"});
            if (!step)
                return usage("--zoom-step needs 1.1, 1.414 or 2.0");
            o.zoomStep = *step;
        } else if (arg == "--selection") {
            const auto frame = fourIntegers(args[++i]);
            if (!frame)
                return usage("--selection needs X1,Y1,X2,Y2 (four integers)");
            if ((*frame)[0] == (*frame)[2] || (*frame)[1] == (*frame)[3])
                return usage("--selection needs a frame with width and height");
            o.selection = *frame;
        } else if (arg == "--whole") {
            o.whole = true;
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
        return usage("-o OUT.png|OUT.svg|OUT.pdf|OUT.bmp|OUT.emf (or --dump) is needed");
    if (o.selection && o.whole)
        return usage("--selection and --whole exclude each other");
    if (!o.output.empty()) {
        const auto format = formatOf(o.output);
        if (!format)
            return usage("the output must end in .png, .svg, .pdf, .bmp or .emf");
        o.format = *format;
    }
    return o;
}

// Keeps the messages of the figures before the one asked for; they are shown only when the file
// itself could not be opened.
class CollectingMessageBoxes final : public platform::MessageBoxes {
public:
    platform::Reply show(const platform::Message& message) override {
        shown.push_back(message);
        return message.defaultReply;
    }
    std::vector<platform::Message> shown;
};

// Whether the figure writes texts: they need the toolkit's font database.
bool holdsTexts(const plot::Picture& picture) {
    return std::any_of(picture.ops().begin(), picture.ops().end(),
                       [](const plot::PictureOp& op) { return op.kind == plot::OpKind::Text; });
}

// Reads figures 1 to N as the viewer's open and next-figure commands do; the figure asked for shows
// its messages, the ones before it only what ends the whole request.
bool readFigures(plot::PlotSession& session, const RenderOptions& o, const plot::FigureSettings& settings,
                 platform::MessageBoxes& messages) {
    using Outcome = plot::PlotSession::Outcome;
    for (std::int32_t figure = 1;; ++figure) {
        const bool asked = figure == o.figure;
        CollectingMessageBoxes quiet;
        platform::MessageBoxes& shown = asked ? messages : static_cast<platform::MessageBoxes&>(quiet);
        const Outcome outcome =
            figure == 1 ? session.open(o.plot, settings, shown) : session.next(settings, shown);
        switch (outcome) {
        case Outcome::Drawn:
            if (asked)
                return true;
            break;
        case Outcome::FigureFailed:
            // A figure before the one asked for that stops at an error is passed over as the
            // viewer's next-figure command does: the next figure reads on from where it stopped.
            if (asked)
                return false;
            break;
        case Outcome::NoFurtherFigure:
            if (!asked)
                messages.plain(plot::kNoFurtherFigureText);
            return false;
        case Outcome::NotFound:
        case Outcome::NotAPlotFile:
        case Outcome::OpenFailed:
        case Outcome::NoFile:
            for (const platform::Message& message : quiet.shown)
                messages.show(message);
            return false;
        }
    }
}

// The view the figure is drawn into: --view or the original view, then the --nav steps as the
// viewer's buttons take them.
plot::ViewerState navigatedView(const RenderOptions& o) {
    plot::ViewerState state;
    const plot::ViewSize size{o.width, o.height};
    state.viewRect = o.view.value_or(plot::originalView(size));
    state.moveFraction = o.moveStep;
    state.zoomStep = o.zoomStep;
    for (const std::string& step : o.navSteps)
        if (const auto command = plot::viewCommandNamed(step))
            plot::applyViewCommand(state, *command, size);
    return state;
}

// After --nav: the view rectangle and the percent box's text.
void printView(const RenderOptions& o, const plot::ViewerState& state, std::ostream& out) {
    if (o.navSteps.empty())
        return;
    const plot::ViewRect& v = state.viewRect;
    out << "view " << v.left << ' ' << v.top << ' ' << v.right << ' ' << v.bottom << '\n'
        << "percent " << plot::percentText(state.magnification) << '\n';
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
    for (const auto& [pen, name] : options->penColours)
        settings.penColourNames[static_cast<std::size_t>(pen - 1)] = name;
    for (const auto& [pen, width] : options->penWidths)
        settings.penWidthTexts[static_cast<std::size_t>(pen - 1)] = width;
    settings.dpiX = kReferenceDpi;
    settings.dpiY = kReferenceDpi;
    try {
        plot::scaleDenominatorOf(settings.scaleText);
    } catch (const text::Failure& failure) {
        err << platform::withFinalStop(failure.what()) << '\n';
        return 1;
    }

    image::ImageFiles images;
    plot::PlotSession session;
    session.setImageLoader(&images);
    const bool drawn = readFigures(session, *options, settings, messages);
    try {
        session.close();
    } catch (const text::Failure&) {
        // the figure is read; a failing close of an input file loses nothing
    }
    if (!drawn)
        return 1;
    const plot::Picture& picture = *session.picture();

    if (options->dump)
        out << plot::dumpPicture(picture);
    const plot::ViewerState state = navigatedView(*options);
    if (options->output.empty()) {
        printView(*options, state, out);
        return 0;
    }

    // The frame drawn: the view, the selection the copy commands would copy, or the whole figure
    // at its own size as its save command writes it.
    plot::OutputFrame frame = plot::viewFrame(options->width, options->height, state.viewRect);
    if (options->selection) {
        const auto& s = *options->selection;
        frame = plot::selectionFrame(state.viewRect, {s[0], s[1]}, {s[2], s[3]});
    } else if (options->whole) {
        const auto whole = plot::wholeFigureFrame(picture);
        if (!whole) {
            messages.plain(plot::kNothingToSaveText);
            return 1;
        }
        frame = *whole;
    }
    if ((options->format == Format::Png || options->format == Format::Bmp) && !plot::bitmapFits(frame)) {
        messages.plain(plot::kTooLargeText);
        return 1;
    }

    // Lines, shapes and images are drawn on an image without the toolkit's application; texts need
    // its font database, and the vector formats its devices.
    std::unique_ptr<QGuiApplication> application;
    if (options->format == Format::Svg || options->format == Format::Pdf || options->format == Format::Emf ||
        holdsTexts(picture)) {
        application = ensureApplication();
        platform::installFontSubstitutions();
    }
    // Drawn in memory, then written beside the target and renamed over it: a failure leaves an
    // older output whole.
    const std::optional<QByteArray> bytes =
        plot::exportFrame(&picture, frame, exportFormatOf(options->format));
    const bool written = bytes.has_value();
    try {
        if (written) {
            text::writeFileAtomically(options->output, std::string_view(bytes->constData(), bytes->size()));
            printView(*options, state, out);
            return 0;
        }
    } catch (const text::Failure&) {
        // reported below, as the file that could not be made
    }
    err << platform::withFinalStop(text::cannotCreateText(options->output)) << '\n';
    return 1;
}

} // namespace zelkova::batch
