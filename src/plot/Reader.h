// The plot file reader: finds the start marker and hands on the records one by one. Its position
// persists between figures, so a file is read once from top to bottom.
#pragma once

#include "plot/Lexer.h"
#include "plot/Records.h"

#include <array>
#include <optional>
#include <span>
#include <string>

namespace zelkova::plot {

class Reader {
public:
    explicit Reader(Lexer lexer) : m_lexer(std::move(lexer)) {}

    // Opens the file `path` (native name) for reading; throws Failure when it cannot be opened.
    static Reader openFile(const std::string& path);

    // Reads two characters of each line and skips it, from here on, until a line that begins with
    // "ly" has been read (true) or the end of the file is reached (false).
    bool seekStartMarker();

    bool atEnd() { return m_lexer.atEnd(); }

    // The next record, or nothing at the end of the file. Comments, empty lines and lines that hold
    // no record are skipped. Throws Failure for a malformed field; the reader then stays where the
    // error happened.
    std::optional<Record> next();

    // The next record when it is a line segment (its line begins with a blank), read as next()
    // reads it; false, having read nothing, when the next line is anything else or the file has
    // ended. Throws Failure for a malformed field, as next() does.
    bool nextSegment(SegmentRecord& segment);

    // The line segment records that come next, as nextSegment() reads them one by one, as many as
    // come before anything else and fit `out`, each as from.x, from.y, to.x, to.y; 0 when the next
    // line is no line segment. Throws Failure, having read nothing, when the first is malformed;
    // a malformed one after it ends the records returned, and the next call throws.
    std::size_t nextSegments(std::span<std::array<double, 4>> out);

    // Closes the file; throws Failure when the system reports an error.
    void close() { m_lexer.close(); }

    Lexer& lexer() { return m_lexer; }

private:
    // True when the byte after a keyword that reads number fields is a letter or a double quote:
    // such a line ("msg", the font line cn"...) cannot hold a record and is skipped.
    bool followedByWord();
    Record readBRecord(int shape);
    CircleRecord readCircle();
    SolidRecord readSolid();
    LineColourRecord readLineColour();
    TextRecord readText(char c1, char c2);

    Lexer m_lexer;
};

} // namespace zelkova::plot
