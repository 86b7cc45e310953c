// Printing a listing into a PDF file without the painter: the sheets are laid out as the painter
// path lays them out (same metrics, same glyphs at the same places, read back word for word the
// same), and written by the listing PDF writer, several times faster than through Qt's PDF engine.
#pragma once

#include "listing/Printing.h"
#include "listing/qt/PrinterJob.h"

#include <QString>

#include <optional>
#include <string>

class QFont;
class QPrinter;

namespace zelkova::listing {

// Prints the job of `fileName` on the PDF printer `printer` into the file `pdfName`, with the
// page layout, font and document name of `printer`. Once it is clear that the font can be
// embedded, it shows the fit check's messages on the job as the painter path does. Nothing when
// only the painter can draw this job (a character the print font lacks, a synthesised or
// decorated face, a font that cannot be embedded): no file is written then, and the caller prints
// through the painter, without the messages when they were shown (`messagesShown`). Throws
// text::Failure with `failureText` when the file cannot be written, and the reading failure when
// the listing cannot be read.
std::optional<PrintSummary> printListingPdf(QPrinter& printer, const QFont& printFont,
                                            const std::string& fileName, const PrintJob& job,
                                            const JobCallbacks& callbacks, const QString& pdfName,
                                            const std::string& failureText, bool& messagesShown);

} // namespace zelkova::listing
