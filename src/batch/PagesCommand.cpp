// zelkova-batch pages LISTING [--chars K] [--lines L]: the counting pass of the listing printer,
// with the page metrics of the application's PDF printer (A4 landscape, 5 mm margins, 1200 dpi,
// the 8-point print font), so that counts never depend on the machine's printers.
//
// Output: one line "<line number from 1>\t<listing page>" per line of the listing, then
// "pages: <N>", where N is the page total (a listing whose last page is exactly full counts one
// page more, as the printer does). Messages go to standard error.
//
// Where lines go depends on K and L alone, never on the paper: settings that would not fit on the
// PDF printer's sheet are still counted, after the fit check's message on standard error, so that
// a listing can be paginated for any printer. Settings no pass can use (K or L below 1) and files
// that cannot be read stop the command (status 1).
#include "batch/Commands.h"

#include "listing/Counting.h"
#include "listing/PageLayout.h"
#include "platform/MessageBoxes.h"
#include "text/Failure.h"
#include "text/Numbers.h"

#include <optional>
#include <string_view>

namespace zelkova::batch {

namespace {

constexpr std::string_view kPagesUsage =
    "usage: zelkova-batch pages LISTING [--chars K] [--lines L]\n"
    "\n"
    "Paginates LISTING by its carriage control as the listing printer does (K characters per\n"
    "line, default 140; L lines per page, default 60) and prints, for each line, its line number\n"
    "(from 1), a tab and its listing page, then 'pages: N'. Settings that would not fit on the\n"
    "PDF printer's A4 landscape sheet at 8 points are counted all the same, after the listing\n"
    "printer's message on standard error.\n";

} // namespace

int pagesCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
    std::optional<std::string> listingName;
    listing::LineSettings settings;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << kPagesUsage;
            return 0;
        }
        if (arg == "--chars" || arg == "--lines") {
            if (i + 1 == args.size()) {
                err << "zelkova-batch pages: " << arg << " needs a value\n" << kPagesUsage;
                return 2;
            }
            const std::optional<std::int32_t> value = text::parseInteger(args[++i]);
            if (!value) {
                err << text::notAnIntegerText(args[i]) << '\n' << kPagesUsage;
                return 2;
            }
            (arg == "--chars" ? settings.chars : settings.lines) = *value;
        } else if (!arg.empty() && arg.front() == '-') {
            err << "zelkova-batch pages: unknown option '" << arg << "'\n" << kPagesUsage;
            return 2;
        } else if (listingName) {
            err << "zelkova-batch pages: one listing only\n" << kPagesUsage;
            return 2;
        } else {
            listingName = arg;
        }
    }
    if (!listingName) {
        err << kPagesUsage;
        return 2;
    }

    const auto problems = listing::settingsProblems(settings);
    for (const std::string& problem : problems)
        err << problem << '\n';
    if (!problems.empty())
        return 1;
    for (const std::string& message : listing::checkFit(listing::kPdfPrinterMetrics, settings).messages)
        err << message << '\n';

    listing::ListingPageTable table;
    listing::PageCount count;
    try {
        count = listing::countPages(*listingName, settings, table);
    } catch (const text::Failure& failure) {
        err << platform::withFinalStop(failure.what()) << '\n';
        return 1;
    }
    std::string text;
    text.reserve(count.lines * 10 + 16);
    for (std::size_t line = 0; line < count.lines; ++line) {
        text += std::to_string(line + 1);
        text += '\t';
        text += std::to_string(table.pageOf(line));
        text += '\n';
    }
    text += "pages: " + std::to_string(count.pages) + '\n';
    out << text;
    return 0;
}

} // namespace zelkova::batch
