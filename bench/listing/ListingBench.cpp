// Times the listing printer on 50,000-line listings: the counting pass that File Open runs (target:
// at most 20 ms) and a print of every page to PDF (target: at most 1.0 s). Two listings are timed:
// a generated one, denser than real output (about 87 printed characters a line), and one put
// together from the real listings of the corpus (about 40), repeated up to 50,000 lines.
//
// usage: bench_listing [LISTING]   (with LISTING only that listing is timed)
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

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    double countMs = 0;
    double printS = 0;
};

Figures timeListing(const std::string& listingName, const std::string& pdfName) {
    const listing::LineSettings settings{140, 60};
    std::vector<double> counts;
    listing::PageCount count;
    listing::ListingPageTable table;
    for (int run = 0; run < 11; ++run) {
        const auto start = Clock::now();
        count = listing::countPages(listingName, settings, table);
        counts.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }

    platform::ApplicationPrinter printer(platform::ApplicationPrinter::Mode::PdfFile);
    printer.printer().setPageOrientation(QPageLayout::Landscape);
    printer.printer().setOutputFileName(platform::fromUtf8(pdfName));
    listing::PrintJob job;
    job.lines = settings;
    job.firstPage = 1;
    job.lastPage = count.pages;
    job.title = listingName;
    std::vector<double> prints;
    listing::PrintSummary summary;
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        summary =
            listing::printOnPrinter(printer.printer(), listing::initialPrintFont(), listingName, job, {});
        prints.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }

    const Figures figures{median(counts), median(prints)};
    std::printf("listing: %s (%zu lines, %d pages)\n", listingName.c_str(), count.lines, count.pages);
    std::printf("  counting pass: %.2f ms (median of %zu; target <= 20 ms)\n", figures.countMs,
                counts.size());
    std::printf("  print to PDF: %.3f s for %d sheets, %lld bytes (median of %zu; target <= 1.0 s)\n",
                figures.printS, summary.sheets, static_cast<long long>(std::filesystem::file_size(pdfName)),
                prints.size());
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::installFontSubstitutions();

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zelkova-bench-listing";
    std::filesystem::create_directories(folder);
    const std::string pdfName = (folder / "listing-50000.pdf").string();
    std::vector<std::string> listings;
    if (argc > 1) {
        listings.push_back(argv[1]);
    } else {
        listings.push_back((folder / "listing-50000.lst").string());
        std::ofstream(listings.back(), std::ios::binary) << generateListing(50000);
        listings.push_back((folder / "corpus-50000.lst").string());
        std::ofstream(listings.back(), std::ios::binary) << corpusListing(50000);
    }
    bool met = true;
    for (const std::string& listingName : listings) {
        const Figures figures = timeListing(listingName, pdfName);
        met = met && figures.countMs <= 20.0 && figures.printS <= 1.0;
    }
    return met ? 0 : 1;
}
