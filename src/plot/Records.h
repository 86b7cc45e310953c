// The records of a plot file as the reader hands them on, with their fields as the file gives them
// (drawing units, angles in degrees or radians as the record has them).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace zelkova::plot {

// A point in drawing units (y up).
struct PlotPoint {
    double x = 0;
    double y = 0;
    friend constexpr bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

// " x1 y1 x2 y2"
struct SegmentRecord {
    PlotPoint from;
    PlotPoint to;
};

// "ly": the start of a layer.
struct LayerRecord {};

// "lt n"
struct LineTypeRecord {
    std::int32_t type = 0;
};

// "lc n", and for n = 10 "lc10 v s" with the fill pattern index s (1 when the line gave none).
struct LineColourRecord {
    std::int32_t pen = 0;
    std::int32_t extendedColour = 0;
    std::int32_t fillPatternIndex = 1;
};

// "cn n"
struct CharacterSizeRecord {
    std::int32_t size = 0;
};

// "pn n" (read and not used)
struct PointSizeRecord {
    std::int32_t size = 0;
};

// "pt x y"
struct PointRecord {
    PlotPoint at;
};

// "ci x y r [start end flatness tilt]", angles in degrees as written (a full circle: 0 to 360).
struct CircleRecord {
    PlotPoint centre;
    double radius = 0;
    double start = 0;
    double end = 360;
    double flatness = 1;
    double tilt = 0;
};

// "sl": a filled polygon of 2, 3 or 4 vertices without outline.
struct SolidRecord {
    std::array<PlotPoint, 4> vertices{};
    int count = 0;
};

// "sc x y r flatness tilt start sweep flag", angles in radians.
struct SolidArcRecord {
    PlotPoint centre;
    double radius = 0;
    double flatness = 1;
    double tilt = 0;
    double start = 0;
    double sweep = 0;
    std::int32_t flag = 0;
};

// "ms i w m"
struct PenSetRecord {
    std::int32_t colourIndex = 0;
    std::int32_t widthNumber = 0;
    std::int32_t rasterMode = 0;
};

// "me"
struct PenEndRecord {};

// "ch", "cv", "cs", "cp", "cr": the text after the first double quote of the trimmed rest of the
// line (all of it when there is no quote), code page 932 bytes.
struct TextRecord {
    std::array<char, 2> keyword{};
    PlotPoint at;
    double dx = 0;
    double dy = 0;
    std::string text;
};

// "b" and a second character: fill colour, fill pattern, pen colour and pen width for this record
// only, then the shape that the second character asks for.
struct BRecord {
    enum class Shape : std::uint8_t { None, Polygon, Circle, Segment };
    Shape shape = Shape::None;
    std::int32_t fillColourIndex = 0;
    std::int32_t fillPatternIndex = 0;
    std::int32_t penColourIndex = 0;
    std::int32_t penWidthNumber = 0;
    std::vector<PlotPoint> vertices; // "bl"
    PlotPoint centre;                // "bc", "br"
    double radius = 0;
    double start = 0; // "br", degrees
    double end = 360;
    double flatness = 1;
    double tilt = 0;
};

using Record = std::variant<SegmentRecord, LayerRecord, LineTypeRecord, LineColourRecord, CharacterSizeRecord,
                            PointSizeRecord, PointRecord, CircleRecord, SolidRecord, SolidArcRecord,
                            PenSetRecord, PenEndRecord, TextRecord, BRecord>;

} // namespace zelkova::plot
