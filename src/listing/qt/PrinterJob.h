// The listing printer on a Qt paint device: the print font, the page metrics measured on the
// printer, and a print job that draws the printing pass's steps through QPainter.
#pragma once

#include "listing/PageLayout.h"
#include "listing/Printing.h"

#include <QFont>

#include <functional>
#include <string>

class QPaintDevice;
class QPrinter;

namespace zelkova::listing {

// "ＭＳ ゴシック" (IPA Gothic on Linux), 8 points, fixed pitch: the print font at start-up.
QFont initialPrintFont();

// The print font as it is put on the printer: fixed pitch forced.
QFont fixedPitch(const QFont& font);

// Page width and height of the printable area, and w and h measured on "石" in `printFont` on the
// device, in its pixels.
PageMetrics measurePage(QPaintDevice& device, const QFont& printFont);

// What a print job reports while it runs.
struct JobCallbacks {
    std::function<void(const std::string&)> showMessage; // the fit check's messages (UTF-8)
    std::function<void(int)> sheetStarted;               // sheet number within the job
};

// How a job on a PDF printer writes its file: directly (the listing PDF writer, unless only the
// painter can draw the listing), or through the painter and Qt's PDF engine.
enum class PdfWriting { Direct, Painter };

// Runs one print job on `printer` (ready for a job: a PDF printer has its file name). Checks the
// fit again on the started job, shows its messages and prints regardless, as the settings passed
// the check before the job started. The copies are `job.copies`; the printer's own copy count is
// set to 1 for the job so that a printer never multiplies them again, and restored afterwards.
// Throws text::Failure when the job cannot start (no printer, a PDF file that cannot be
// created or that is the listing itself), or the listing cannot be read.
PrintSummary printOnPrinter(QPrinter& printer, const QFont& printFont, const std::string& fileName,
                            const PrintJob& job, const JobCallbacks& callbacks,
                            PdfWriting pdfWriting = PdfWriting::Direct);

} // namespace zelkova::listing
