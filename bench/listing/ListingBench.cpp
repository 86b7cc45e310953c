// Times the listing printer on 50,000-line listings. In process: the counting pass that File Open
// runs, and a print of every page into a PDF the direct way and through the painter, whose sheets
// must read back the same with pdftotext -bbox. Whole commands, as a user runs them:
// `zelkova-batch pages` (target: at most 30 ms) and `zelkova-batch listing` against the chain a
// Unix user would use instead, an asa-style awk filter for the carriage control, enscript and
// ps2pdf (targets: at most 0.6 s, at least 4 times faster), run alternately, medians.
//
// Two listings are timed: a generated one, denser than real output (about 87 printed characters a
// line), and one put together from the real listings of the corpus (about 40), repeated up to
// 50,000 lines.
//
// usage: bench_listing [--batch ZELKOVA_BATCH] [--rounds N] [LISTING...]
#include "WholeCommand.h"

#include "listing/Counting.h"
#include "listing/PageTable.h"
#include "listing/Printing.h"
#include "listing/qt/PrinterJob.h"
#include "platform/qt/ApplicationPrinter.h"
#include "platform/qt/Fonts.h"
#include "platform/qt/QtText.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace zelkova;
using Clock = std::chrono::steady_clock;

namespace {

// A listing shaped like a solver's output: a '1' page eject every 52 lines with a header, '0'
// spacing lines, tables of numbers up to 132 columns, and a few Shift-JIS comment lines.
std::string generateListing(int lines) {
    std::string out;
    out.reserve(static_cast<std::size_t>(lines) * 100);
    char buffer[256];
    int page = 1;
    for (int i = 0; i < lines; ++i) {
        if (i % 52 == 0) {
            std::snprintf(buffer, sizeof buffer,
                          "1                    STRUCTURAL ANALYSIS OUTPUT                        "
                          "PAGE %6d\r\n",
                          page++);
        } else if (i % 13 == 0) {
            std::snprintf(buffer, sizeof buffer, "0    ELEMENT GROUP %5d\r\n", i / 13);
        } else if (i % 97 == 0) {
            std::snprintf(buffer, sizeof buffer, " \x81\x9a \x8c\x8b\x89\xca\x82\xcc\x88\xea\x97\x97 %d\r\n",
                          i);
        } else {
            std::snprintf(buffer, sizeof buffer,
                          " %8d %14.6E %14.6E %14.6E %14.6E %14.6E %14.6E %14.6E %8d\r\n", i, i * 1.5,
                          -i * 0.25, i * 3.125e-3, i * 7.0, -i * 1.0e-5, i * 2.5e2, i * 0.5, i % 1000);
        }
        out += buffer;
    }
    return out;
}

// The corpus listings one after another, over and over, cut at `lines` lines.
std::string corpusListing(int lines) {
    const std::filesystem::path folder = std::filesystem::path(ZELKOVA_CORPUS_DIR) / "listings";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".lst" || entry.path().extension() == ".out")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::string out;
    int count = 0;
    while (count < lines && !files.empty()) {
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            std::string line;
            while (count < lines && std::getline(in, line)) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                out += line;
                out += "\r\n";
                ++count;
            }
        }
    }
    return out;
}

// The pages and words of a PDF as pdftotext -bbox reads them back.
std::string readBack(const std::string& pdf) {
    const std::string text = pdf + ".bbox";
    if (bench::runCommand({"pdftotext", "-bbox", pdf, text}).status != 0)
        return {};
    std::ifstream in(text);
    std::string out, line;
    while (std::getline(in, line))
        if (line.find("<page ") != std::string::npos || line.find("<word ") != std::string::npos)
            out += line + '\n';
    std::filesystem::remove(text);
    return out;
}

struct Figures {
    double countMs = 0;
    double directS = 0;
    double painterS = 0;
    bool sameSheets = false;
};

// In process: the counting pass, and the print into a PDF the direct way and through the painter,
// whose sheets must read back the same.
Figures timeInProcess(const std::string& listingName, const std::string& folder) {
    const listing::LineSettings settings{140, 60};
    std::vector<double> counts;
    listing::PageCount count;
    listing::ListingPageTable table;
    for (int run = 0; run < 11; ++run) {
        const auto start = Clock::now();
        count = listing::countPages(listingName, settings, table);
        counts.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }

    listing::PrintJob job;
    job.lines = settings;
    job.firstPage = 1;
    job.lastPage = count.pages;
    job.title = listingName;
    const auto print = [&](listing::PdfWriting how, const std::string& pdf) {
        platform::ApplicationPrinter printer(platform::ApplicationPrinter::Mode::PdfFile);
        printer.printer().setPageOrientation(QPageLayout::Landscape);
        printer.printer().setOutputFileName(platform::fromUtf8(pdf));
        printer.printer().setDocName(platform::fromUtf8(listingName));
        const auto start = Clock::now();
        (void)listing::printOnPrinter(printer.printer(), listing::initialPrintFont(), listingName, job, {},
                                      how);
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    const std::string direct = folder + "/direct.pdf";
    const std::string painted = folder + "/painted.pdf";
    std::vector<double> directs, painters;
    for (int run = 0; run < 3; ++run) {
        directs.push_back(print(listing::PdfWriting::Direct, direct));
        painters.push_back(print(listing::PdfWriting::Painter, painted));
    }
    const std::string read = readBack(direct);
    Figures f{bench::median(counts), bench::median(directs), bench::median(painters),
              !read.empty() && read == readBack(painted)};
    std::printf("listing: %s (%zu lines, %d pages)\n", listingName.c_str(), count.lines, count.pages);
    std::printf("  counting pass: %.2f ms (median of %zu)\n", f.countMs, counts.size());
    std::printf("  print to PDF, direct: %.3f s, %lld bytes; through the painter: %.3f s, %lld bytes "
                "(medians of 3)\n",
                f.directS, static_cast<long long>(std::filesystem::file_size(direct)), f.painterS,
                static_cast<long long>(std::filesystem::file_size(painted)));
    std::printf("  pdftotext -bbox of both: %s\n", f.sameSheets ? "identical" : "DIFFERENT");
    return f;
}

// The whole commands, as a user runs them: zelkova-batch pages, and zelkova-batch listing against
// the chain a Unix user would use instead (asa-style carriage control in awk, enscript, ps2pdf).
bool timeWholeCommands(const std::string& batch, const std::string& listingName, const std::string& folder,
                       int rounds) {
    bool met = true;
    std::vector<bench::CommandRun> pages;
    for (int run = 0; run < 2 * rounds + 1; ++run)
        pages.push_back(bench::runCommand({batch, "pages", listingName}));
    const bench::Summary p = bench::summarise(pages);
    bench::printSummary("zelkova-batch pages", p);
    std::printf("    target: at most 0.030 s whole: %s\n", p.wallS <= 0.030 ? "met" : "NOT MET");
    met = met && p.wallS <= 0.030 && !p.failed;

    const std::string ours = folder + "/zelkova.pdf";
    const std::string theirs = folder + "/chain.pdf";
    if (!bench::onPath("enscript") || !bench::onPath("ps2pdf")) {
        const bench::Summary z =
            bench::summarise({bench::runCommand({batch, "listing", listingName, "-o", ours})});
        bench::printSummary("zelkova-batch listing", z);
        std::printf("    the chain is not timed: enscript or ps2pdf (ghostscript) is not installed\n");
        return met && z.wallS <= 0.6;
    }
    const std::string chain =
        "awk '{ sub(/\\r$/, \"\"); c = substr($0, 1, 1); t = substr($0, 2); "
        "if (c == \"1\") printf \"\\f%s\\n\", t; else if (c == \"0\") printf \"\\n%s\\n\", t; "
        "else printf \"%s\\n\", t }' '" +
        listingName + "' | enscript -q -r -f Courier7 -L 60 -p - | ps2pdf - '" + theirs + "'";
    const auto [z, c] = bench::alternate(
        rounds,
        [&] {
            return bench::runCommand({batch, "listing", listingName, "-o", ours});
        },
        [&] { return bench::runShell(chain); });
    bench::printSummary("zelkova-batch listing", z);
    bench::printSummary("awk | enscript | ps2pdf", c);
    const double ratio = c.wallS / z.wallS;
    std::printf("    %.1f times faster than the chain (medians of %d, alternately); targets: at most 0.6 s, "
                "at least 4 times: %s\n",
                ratio, rounds, z.wallS <= 0.6 && ratio >= 4 ? "met" : "NOT MET");
    return met && z.wallS <= 0.6 && ratio >= 4 && !z.failed;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::installFontSubstitutions();

    std::string batch = ZELKOVA_BATCH;
    int rounds = 5;
    std::vector<std::string> listings;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--batch" && i + 1 < argc)
            batch = argv[++i];
        else if (arg == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else
            listings.push_back(arg);
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zelkova-bench-listing";
    std::filesystem::create_directories(folder);
    if (listings.empty()) {
        listings.push_back((folder / "listing-50000.lst").string());
        std::ofstream(listings.back(), std::ios::binary) << generateListing(50000);
        listings.push_back((folder / "corpus-50000.lst").string());
        std::ofstream(listings.back(), std::ios::binary) << corpusListing(50000);
    }
    std::printf("load average at the start: %.2f; zelkova-batch: %s\n", bench::loadAverage(), batch.c_str());
    bool met = true;
    for (const std::string& listingName : listings) {
        const Figures figures = timeInProcess(listingName, folder.string());
        met = met && figures.sameSheets;
        met = timeWholeCommands(batch, listingName, folder.string(), rounds) && met;
    }
    std::printf("load average at the end: %.2f\n", bench::loadAverage());
    return met ? 0 : 1;
}
