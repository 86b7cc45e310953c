// A PDF writer for printed listings: sheets of text in one embedded TrueType font, each glyph
// placed at a device-pixel position, as a print job lays them out. It writes what a listing needs
// and nothing else, fast: the page streams are compressed at zlib's fastest level on every core
// while the job goes on, and the font is embedded as a subset of the glyphs used (HarfBuzz's
// subsetter).
//
// Hand-written rather than built on a PDF library, because the sheets must read back exactly as
// those of the painter path do: the text operators, the numbers in them and the font's metrics are
// written in the same form, so that a text extractor finds every word at the same place.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelkova::listing {

// The sheet: its size in points and where the printable area's device pixels go on it.
struct PdfSheet {
    double widthPoints = 0; // the page's full size (MediaBox)
    double heightPoints = 0;
    double resolution = 0; // device pixels per inch
    int paintLeft = 0;     // the printable area's top-left corner, device pixels from the
    int paintTop = 0;      // page's top-left corner
};

// One glyph of a text item: its glyph index in the font and its pen position (device pixels of the
// printable area, y down, on the baseline).
struct PdfGlyph {
    std::uint32_t glyph = 0;
    double x = 0;
    double y = 0;
};

// The font's tables by tag (big-endian four-character code); empty when the font has none.
using FontTableSource = std::function<std::string(std::uint32_t tag)>;

class PdfListingWriter {
public:
    // `failureText` is the message of every failure to write the file.
    PdfListingWriter(const PdfSheet& sheet, const FontTableSource& fontTables, std::string failureText);
    ~PdfListingWriter();
    PdfListingWriter(const PdfListingWriter&) = delete;
    PdfListingWriter& operator=(const PdfListingWriter&) = delete;

    // False when the font cannot be embedded here: no TrueType outlines, or its licence allows no
    // embedding. Nothing else may be called then.
    bool usable() const;

    // The font's glyph for a character (0 when it has none).
    std::uint32_t glyphOf(char32_t character) const;

    // Starts the next sheet; the first call starts the first.
    void beginPage();
    // A text item at `pixelSize` (the font's size in device pixels), its glyphs in order.
    void drawGlyphs(double pixelSize, std::span<const PdfGlyph> glyphs);

    // Writes the whole document to `fileName`; throws text::Failure with the failure text when
    // the file cannot be written. `title` (UTF-8) goes into the document information.
    void write(const std::string& fileName, std::string_view title);

    // The pages so far.
    int pages() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// A number as the painter path writes it into a page: up to nine significant digits with the
// rest cut off (not rounded), no exponent, and a blank after it.
void appendPdfNumber(std::string& out, double value);

} // namespace zelkova::listing
