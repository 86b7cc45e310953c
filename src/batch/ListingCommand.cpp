// zelkova-batch listing LISTING -o OUT.pdf [...]: the listing printer's printing pass into a PDF
// file, on the application's PDF printer (A4 landscape, 5 mm margins, 1200 dpi). It asks nothing:
// where the window asks whether to print, the batch tool prints, and writes "pages: N" and
// "sheets: S" to standard output. The fit check's messages and failures go to standard error.
#include "batch/Commands.h"
#include "batch/OffscreenApplication.h"

#include "listing/Counting.h"
#include "listing/Printing.h"
#include "listing/qt/PrinterJob.h"
#include "platform/MessageBoxes.h"
#include "platform/qt/ApplicationPrinter.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/QtText.h"
#include "text/Failure.h"
#include "text/Numbers.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinter>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

namespace zelkova::batch {

namespace {

constexpr std::string_view kListingUsage =
    "usage: zelkova-batch listing LISTING -o OUT.pdf [--title T] [--chars K] [--lines L]\n"
    "       [--start S] [--first F] [--last T] [--copies C] [--font-size PT]\n"
    "\n"
    "Prints pages F (default 1) to T (default 999, at most the page total) of LISTING into\n"
    "OUT.pdf as the listing printer does: K characters per line (140), L lines per page (60),\n"
    "the title T on every sheet (default: the listing's full path), page numbers from S for page\n"
    "1 (default 1; -777 prints none), C copies (1), the print font at PT points (8).\n";

struct ListingOptions {
    std::string listing;
    std::string output;
    std::optional<std::string> title;
    listing::LineSettings lines;
    std::string start = "1";
    std::int32_t first = 1;
    std::int32_t last = 999;
    std::int32_t copies = 1;
    std::int32_t fontPoints = 8;
};

// Parses the arguments; an empty optional after a message on `err`.
std::optional<ListingOptions> parse(const Arguments& args, std::ostream& err) {
    ListingOptions options;
    const std::map<std::string_view, std::int32_t*> integers{
        {"--chars", &options.lines.chars}, {"--lines", &options.lines.lines},
        {"--first", &options.first},       {"--last", &options.last},
        {"--copies", &options.copies},     {"--font-size", &options.fontPoints}};
    bool haveListing = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = integers.count(arg) || arg == "-o" || arg == "--title" || arg == "--start";
        if (takesValue && i + 1 == args.size()) {
            err << "zelkova-batch listing: " << arg << " needs a value\n";
            return std::nullopt;
        }
        if (const auto it = integers.find(arg); it != integers.end()) {
            const std::optional<std::int32_t> value = text::parseInteger(args[++i]);
            if (!value) {
                err << text::notAnIntegerText(args[i]) << '\n';
                return std::nullopt;
            }
            *it->second = *value;
        } else if (arg == "-o") {
            options.output = args[++i];
        } else if (arg == "--title") {
            options.title = args[++i];
        } else if (arg == "--start") {
            options.start = args[++i];
            if (options.start != "-777" && !text::parseInteger(options.start)) {
                err << text::notAnIntegerText(options.start) << '\n';
                return std::nullopt;
            }
        } else if (!arg.empty() && arg.front() == '-') {
            err << "zelkova-batch listing: unknown option '" << arg << "'\n";
            return std::nullopt;
        } else if (haveListing) {
            err << "zelkova-batch listing: one listing only\n";
            return std::nullopt;
        } else {
            options.listing = arg;
            haveListing = true;
        }
    }
    if (!haveListing || options.output.empty()) {
        err << "zelkova-batch listing: a listing and -o OUT.pdf are needed\n";
        return std::nullopt;
    }
    if (options.copies < 1) {
        err << "zelkova-batch listing: --copies must be at least 1\n";
        return std::nullopt;
    }
    if (options.fontPoints < 1) {
        err << "zelkova-batch listing: --font-size must be at least 1\n";
        return std::nullopt;
    }
    return options;
}

std::string fullPath(const std::string& name) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(name, ec);
    return ec ? name : absolute.lexically_normal().string();
}

} // namespace

int listingCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kListingUsage;
        return 0;
    }
    const std::optional<ListingOptions> options = parse(args, err);
    if (!options) {
        err << kListingUsage;
        return 2;
    }

    const auto problems = listing::settingsProblems(options->lines);
    for (const std::string& problem : problems)
        err << problem << '\n';
    if (!problems.empty())
        return 1;

    const std::unique_ptr<QGuiApplication> application = ensureApplication();
    platform::installFontSubstitutions();
    platform::ApplicationPrinter printer(platform::ApplicationPrinter::Mode::PdfFile);
    QPrinter& qprinter = printer.printer();
    qprinter.setPageOrientation(QPageLayout::Landscape);
    qprinter.setOutputFileName(platform::fromUtf8(fullPath(options->output)));
    const std::string listingName = fullPath(options->listing);
    const std::string title = options->title.value_or(listingName);
    qprinter.setDocName(platform::fromUtf8(title));
    QFont font = listing::initialPrintFont();
    font.setPointSize(options->fontPoints);

    try {
        const listing::FitCheck check =
            listing::checkFit(listing::measurePage(qprinter, font), options->lines);
        for (const std::string& message : check.messages)
            err << message << '\n';
        if (!check.fits())
            return 1;

        listing::ListingPageTable table;
        const listing::PageCount count = listing::countPages(listingName, options->lines, table);
        const listing::PrintRange range = listing::resolveRange(options->first, options->last, count.pages);
        const std::optional<std::int32_t> initial = listing::pageInitialValueFrom(options->start);
        if (!range.usable()) {
            err << range.problem << '\n';
            return 1;
        }
        listing::PrintJob job;
        job.lines = options->lines;
        job.firstPage = range.first;
        job.lastPage = range.last;
        job.pageInitialValue = initial;
        job.copies = options->copies;
        job.title = title;
        listing::JobCallbacks callbacks;
        callbacks.showMessage = [&err](const std::string& message) { err << message << '\n'; };
        const listing::PrintSummary summary =
            listing::printOnPrinter(qprinter, font, listingName, job, callbacks);
        out << "pages: " << count.pages << '\n' << "sheets: " << summary.sheets << '\n';
    } catch (const text::Failure& failure) {
        err << platform::withFinalStop(failure.what()) << '\n';
        return 1;
    }
    return 0;
}

} // namespace zelkova::batch
