// How a line's kind is decided and how each record's fields are read.
#include "plot/Reader.h"

#include "text/Cp932.h"
#include "text/Failure.h"
#include "text/Files.h"
#include "text/Numbers.h"

#include <cstdio>

namespace zelkova::plot {

namespace {
constexpr int key(int c1, int c2) {
    return c1 << 8 | c2;
}

constexpr bool isAsciiLetter(int c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Token i of a rest-of-line list as a number. A missing token reads as the empty text, which is
// not a number either.
double tokenAt(const std::vector<std::string_view>& tokens, std::size_t i) {
    const std::string_view token = i < tokens.size() ? tokens[i] : std::string_view();
    if (auto value = parseNumberToken(token))
        return *value;
    throw text::Failure(text::notARealText(text::cp932ToUtf8(token)));
}
} // namespace

Reader Reader::openFile(const std::string& path) {
    // Opened without waiting: a FIFO or a device is refused, never read for ever.
    return Reader(Lexer(text::openInputFile(path).release()));
}

bool Reader::seekStartMarker() {
    for (;;) {
        const std::string start = m_lexer.characters(2);
        m_lexer.skipLine();
        if (start == "ly")
            return true;
        if (m_lexer.atEnd())
            return false;
    }
}

bool Reader::followedByWord() {
    const int c = m_lexer.peekInLine();
    return isAsciiLetter(c) || c == '"';
}

std::optional<Record> Reader::next() {
    Lexer& in = m_lexer;
    for (;;) {
        if (in.atEnd())
            return std::nullopt;
        const int c1 = in.peekInLine();
        if (c1 < 0) { // an empty line
            in.skipLine();
            continue;
        }
        in.advance();
        if (c1 == ' ') {
            SegmentRecord s;
            s.from.x = in.number();
            s.from.y = in.number();
            s.to.x = in.number();
            s.to.y = in.number();
            in.skipLine();
            return s;
        }
        if (c1 == '#') {
            in.skipLine();
            continue;
        }
        const int c2 = in.peekInLine();
        if (c2 >= 0)
            in.advance();
        if (c1 == 'b') {
            if (followedByWord()) {
                in.skipLine();
                continue;
            }
            return readBRecord(c2);
        }
        if (c2 < 0) { // a one-character keyword matches no record
            in.skipLine();
            continue;
        }
        const int k = key(c1, c2);
        if (k == key('l', 'y')) {
            in.skipLine();
            return LayerRecord{};
        }
        if (k == key('m', 'e')) {
            in.skipLine();
            return PenEndRecord{};
        }
        const bool readsNumbers = k == key('l', 't') || k == key('l', 'c') || k == key('c', 'n') ||
                                  k == key('p', 'n') || k == key('p', 't') || k == key('c', 'i') ||
                                  k == key('s', 'l') || k == key('s', 'c') || k == key('m', 's') ||
                                  k == key('c', 'h') || k == key('c', 'v') || k == key('c', 's') ||
                                  k == key('c', 'p') || k == key('c', 'r');
        if (!readsNumbers || followedByWord()) {
            in.skipLine();
            continue;
        }
        switch (k) {
        case key('l', 't'): {
            LineTypeRecord r{in.integer()};
            in.skipLine();
            return r;
        }
        case key('c', 'n'): {
            CharacterSizeRecord r{in.integer()};
            in.skipLine();
            return r;
        }
        case key('p', 'n'): {
            PointSizeRecord r{in.integer()};
            in.skipLine();
            return r;
        }
        case key('l', 'c'):
            return readLineColour();
        case key('p', 't'): {
            PointRecord r;
            r.at.x = in.number();
            r.at.y = in.number();
            in.skipLine();
            return r;
        }
        case key('c', 'i'):
            return readCircle();
        case key('s', 'l'):
            return readSolid();
        case key('s', 'c'): {
            SolidArcRecord r;
            r.centre.x = in.number();
            r.centre.y = in.number();
            r.radius = in.number();
            r.flatness = in.number();
            r.tilt = in.number();
            r.start = in.number();
            r.sweep = in.number();
            r.flag = in.integer();
            in.skipLine();
            return r;
        }
        case key('m', 's'): {
            PenSetRecord r;
            r.colourIndex = in.integer();
            r.widthNumber = in.integer();
            r.rasterMode = in.integer();
            in.skipLine();
            return r;
        }
        default:
            return readText(static_cast<char>(c1), static_cast<char>(c2));
        }
    }
}

bool Reader::nextSegment(SegmentRecord& s) {
    if (m_lexer.peekInLine() != ' ')
        return false;
    m_lexer.advance();
    s.from.x = m_lexer.number();
    s.from.y = m_lexer.number();
    s.to.x = m_lexer.number();
    s.to.y = m_lexer.number();
    m_lexer.skipLine();
    return true;
}

std::size_t Reader::nextSegments(std::span<std::array<double, 4>> out) {
    if (out.empty())
        return 0;
    // The usual lines in one pass; the rest, and a line the one pass does not take, as next()
    // reads them.
    if (const std::size_t count = m_lexer.shortNumberLines(out))
        return count;
    SegmentRecord s;
    if (!nextSegment(s))
        return 0;
    out[0] = {s.from.x, s.from.y, s.to.x, s.to.y};
    return 1;
}

LineColourRecord Reader::readLineColour() {
    LineColourRecord r;
    r.pen = m_lexer.integer();
    if (r.pen == 10) {
        r.extendedColour = m_lexer.integer();
        const std::string rest = m_lexer.restOfLine();
        const std::string_view s = trimmed(rest);
        if (!s.empty())
            r.fillPatternIndex = text::toInteger(text::cp932ToUtf8(s));
    }
    m_lexer.skipLine();
    return r;
}

CircleRecord Reader::readCircle() {
    CircleRecord r;
    r.centre.x = m_lexer.number();
    r.centre.y = m_lexer.number();
    const std::string rest = m_lexer.restOfLine();
    m_lexer.skipLine();
    const auto tokens = splitTokens(rest);
    r.radius = tokenAt(tokens, 0);
    if (tokens.size() == 1)
        return r;
    r.start = tokenAt(tokens, 1);
    r.end = tokenAt(tokens, 2);
    r.flatness = tokenAt(tokens, 3);
    r.tilt = tokenAt(tokens, 4);
    return r;
}

SolidRecord Reader::readSolid() {
    SolidRecord r;
    r.vertices[0].x = m_lexer.number();
    r.vertices[0].y = m_lexer.number();
    r.vertices[1].x = m_lexer.number();
    const std::string rest = m_lexer.restOfLine();
    m_lexer.skipLine();
    const auto tokens = splitTokens(rest);
    r.vertices[1].y = tokenAt(tokens, 0);
    r.count = 2;
    if (tokens.size() == 1)
        return r;
    r.vertices[2].x = tokenAt(tokens, 1);
    r.vertices[2].y = tokenAt(tokens, 2);
    r.count = 3;
    if (tokens.size() == 3)
        return r;
    r.vertices[3].x = tokenAt(tokens, 3);
    r.vertices[3].y = tokenAt(tokens, 4);
    r.count = 4;
    return r;
}

TextRecord Reader::readText(char c1, char c2) {
    TextRecord r;
    r.keyword = {c1, c2};
    r.at.x = m_lexer.number();
    r.at.y = m_lexer.number();
    r.dx = m_lexer.number();
    r.dy = m_lexer.number();
    const std::string rest = m_lexer.restOfLine();
    m_lexer.skipLine();
    const std::string_view t = trimmed(rest);
    const std::size_t quote = t.find('"');
    r.text = std::string(quote == std::string_view::npos ? t : t.substr(quote + 1));
    return r;
}

Record Reader::readBRecord(int shape) {
    Lexer& in = m_lexer;
    BRecord r;
    r.fillColourIndex = in.integer();
    r.fillPatternIndex = in.integer();
    r.penColourIndex = in.integer();
    r.penWidthNumber = in.integer();
    in.skipLine();
    switch (shape) {
    case 'l':
        r.shape = BRecord::Shape::Polygon;
        // Vertex lines up to the first line that begins with "e"; what follows that "e" is the
        // start of the next record. The end of the file ends the list too.
        while (!in.atEnd()) {
            const int c = in.peekInLine();
            if (c == 'e') {
                in.advance();
                break;
            }
            if (c >= 0)
                in.advance();
            PlotPoint p;
            p.x = in.number();
            p.y = in.number();
            in.number(); // u and v are read and not used
            in.number();
            in.skipLine();
            r.vertices.push_back(p);
        }
        break;
    case 'c':
        r.shape = BRecord::Shape::Circle;
        in.characters(2);
        r.centre.x = in.number();
        r.centre.y = in.number();
        r.radius = in.number();
        in.skipLine();
        break;
    case 'r':
        r.shape = BRecord::Shape::Segment;
        in.characters(2);
        r.centre.x = in.number();
        r.centre.y = in.number();
        r.radius = in.number();
        r.start = in.number();
        r.end = in.number();
        r.flatness = in.number();
        r.tilt = in.number();
        in.skipLine();
        break;
    default:
        break;
    }
    return r;
}

} // namespace zelkova::plot
