// The figure state and the action of every record.
#include "plot/Renderer.h"

#include "platform/MessageBoxes.h"
#include "plot/ColourNames.h"
#include "plot/Tables.h"
#include "plot/TextRecords.h"
#include "plot/ViewerTexts.h"
#include "text/Cp932.h"
#include "text/Failure.h"
#include "text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zelkova::plot {

namespace {
constexpr double kPaperWidthMm = 287.0;
constexpr double kPaperHeightMm = 200.0;
constexpr double kOversampling = 5.0;
constexpr double kPointRadiusMm = 0.25;
// The font height before the first "cn" record of a figure: text size 2 (2.5 mm).
constexpr double kDefaultTextSizeMm = 2.5;

constexpr double kPi = std::numbers::pi;

// Degrees to radians and back, multiplied first and divided after, so that every angle of a curve
// rounds as d × π / 180 and r × 180 / π give it.
constexpr double radians(double degrees) {
    return degrees * kPi / 180.0;
}
constexpr double degrees(double radians) {
    return radians * 180.0 / kPi;
}

// Rounds an angle in degrees to whole degrees, held well inside 64 bits.
std::int64_t wholeDegrees(double degrees) {
    if (!(degrees == degrees))
        return 0;
    if (degrees > 1e15)
        degrees = 1e15;
    if (degrees < -1e15)
        degrees = -1e15;
    return static_cast<std::int64_t>(std::nearbyint(degrees));
}

// A sum of picture coordinates held inside the range that rnd gives, so that a text far off the
// paper never overflows.
std::int32_t clampedSum(std::int64_t a, std::int64_t b) {
    constexpr std::int64_t kLimit = 1000000000;
    return static_cast<std::int32_t>(std::clamp(a + b, -kLimit, kLimit));
}
// rnd(), without a branch: a NaN is taken as 0 and the value held within ±1,000,000,000 first,
// which gives the same whole number as holding the rounded value.
inline std::int32_t roundHeld(double value) {
    constexpr double kLimit = 1e9;
    // nearbyint() without the library call: adding 1.5 × 2^52 leaves no fraction bits, so the sum
    // is rounded to a whole number by the floating-point unit's own rounding (halves to even), and
    // taking the constant off again is exact. Values within ±1e9 stay far inside the range where
    // this holds.
    constexpr double kRound = 6755399441055744.0;
    value = value == value ? value : 0.0;
    value = std::min(std::max(value, -kLimit), kLimit);
    return static_cast<std::int32_t>((value + kRound) - kRound);
}
} // namespace

PictureGeometry PictureGeometry::forDpi(double dpiX, double dpiY) {
    PictureGeometry g;
    g.width = rnd(kOversampling * kPaperWidthMm * 100.0 * dpiX / 2540.0);
    g.height = rnd(kOversampling * kPaperHeightMm * 100.0 * dpiY / 2540.0);
    g.pixelsPerMmX = dpiX / 25.4 * kOversampling;
    g.pixelsPerMmY = dpiY / 25.4 * kOversampling;
    return g;
}

std::int32_t rnd(double value) {
    return roundHeld(value);
}

std::int32_t widthMapping(std::string_view text) {
    return penWidthOfNumber(text::toInteger(text));
}

double scaleDenominatorOf(std::string_view text) {
    const double n = text::toReal(text);
    if (n == 0)
        throw text::Failure("'" + std::string(text) + "' は縮尺に使えません");
    return n;
}

std::string ratioText(double ratio) {
    if (!std::isfinite(ratio))
        return "0.0";
    const bool negative = ratio < 0;
    const double magnitude = std::fabs(ratio);
    const std::string sign = negative ? "-" : "";
    // Two significant digits but never more than one decimal, halves away from zero: below 10
    // in tenths, from 10 in units.
    const double tenths = std::round(magnitude * 10);
    char text[64];
    if (tenths < 100) {
        std::snprintf(text, sizeof text, "%d.%d", static_cast<int>(tenths) / 10,
                      static_cast<int>(tenths) % 10);
        return (tenths == 0 ? "" : sign) + text;
    }
    const double units = std::round(magnitude);
    if (units < 100) {
        std::snprintf(text, sizeof text, "%d.0", static_cast<int>(units));
        return sign + text;
    }
    // More integer digits than significant ones: a mantissa of two digits and an exponent.
    int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    long long mantissa = std::llround(magnitude / std::pow(10.0, exponent - 1));
    if (mantissa >= 100) {
        mantissa = (mantissa + 5) / 10;
        ++exponent;
    }
    if (mantissa < 10) {
        mantissa *= 10;
        --exponent;
    }
    if (mantissa % 10 == 0)
        std::snprintf(text, sizeof text, "%lldE%d", mantissa / 10, exponent);
    else
        std::snprintf(text, sizeof text, "%lld.%lldE%d", mantissa / 10, mantissa % 10, exponent);
    return sign + text;
}

std::vector<std::string> offScreenMessages(const Extents& e, std::int32_t width, std::int32_t height) {
    std::vector<std::string> out;
    const double w = width;
    const double h = height;
    if (e.minX > width)
        out.push_back("図は、画面の右側にある。\r\n\r\n画面幅の " + ratioText((e.minX - w) / w) +
                      " 倍右側にある。");
    if (e.maxX < 0)
        out.push_back("図は、画面の左側にある。\r\n\r\n画面幅の " + ratioText((0 - double(e.maxX)) / w) +
                      " 倍左側にある。");
    if (e.maxY < 0)
        out.push_back("図は、画面の上側にある。\r\n\r\n画面高の " + ratioText((0 - double(e.maxY)) / h) +
                      " 倍上側にある。");
    if (e.minY > height)
        out.push_back("図は、画面の下側にある。\r\n\r\n画面高の " + ratioText((e.minY - h) / h) +
                      " 倍下側にある。");
    return out;
}

Renderer::Renderer(Canvas& canvas, const PictureGeometry& geometry, double scaleDenominator,
                   const FigureSettings& settings, platform::MessageBoxes& messages, ImageAccess images)
    : m_canvas(canvas), m_geometry(geometry), m_scale(scaleDenominator), m_settings(settings),
      m_messages(messages), m_images(std::move(images)) {
    m_pen = Pen{Colour{0}, widthMapping(settings.penWidthTexts[0]), LineStyle::Solid, RasterMode::CopyPen};
    m_brush = Brush{kNoColour, FillPattern::Hollow};
    m_fontHeight = rnd(kDefaultTextSizeMm * geometry.pixelsPerMmY);
    m_msSaved = {m_pen.width, m_pen.colour, m_pen.mode};
    m_solidRestore = {kNoColour, FillPattern::Hollow, LineStyle::Solid};
    m_points.reserve(1024);
}

std::int32_t Renderer::paperX(double mm) {
    const std::int32_t x = rnd(mm * m_geometry.pixelsPerMmX);
    if (x < m_extents.minX)
        m_extents.minX = x;
    if (x > m_extents.maxX)
        m_extents.maxX = x;
    return x;
}

std::int32_t Renderer::paperY(double mm) {
    const std::int32_t y = m_geometry.height - rnd(mm * m_geometry.pixelsPerMmY);
    if (y < m_extents.minY)
        m_extents.minY = y;
    if (y > m_extents.maxY)
        m_extents.maxY = y;
    return y;
}

void Renderer::curvePoints(PlotPoint centre, double radius, double startDegrees, double endDegrees,
                           double flatness, double tiltRadians, std::vector<Point>& out) {
    const std::int64_t a0 = wholeDegrees(startDegrees);
    const std::int64_t a1 = wholeDegrees(endDegrees);
    if (a1 < a0)
        return;
    const std::int64_t count = std::min<std::int64_t>(a1 - a0 + 1, kMaxCurvePoints);
    const double cosTilt = std::cos(tiltRadians);
    const double sinTilt = std::sin(tiltRadians);
    for (std::int64_t i = 0; i < count; ++i) {
        const double t = radians(static_cast<double>(a0 + i));
        const double u = radius * std::cos(t);
        const double w = radius * flatness * std::sin(t);
        const double x = centre.x + u * cosTilt - w * sinTilt;
        const double y = centre.y + u * sinTilt + w * cosTilt;
        const std::int32_t px = convertX(x);
        out.push_back({px, convertY(y)});
    }
}

Colour Renderer::penColourOf(int pen) const {
    const std::string& name = m_settings.penColourNames[static_cast<std::size_t>(pen - 1)];
    const auto colour = colourFromName(name);
    if (!colour)
        throw text::Failure(text::notAnIntegerText(name));
    return drawableColour(*colour);
}

void Renderer::apply(const Record& record) {
    std::visit(
        [this](const auto& r) {
            using T = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<T, SegmentRecord>) {
                segment(r);
            } else if constexpr (std::is_same_v<T, LayerRecord>) {
                // the caller ends the figure
            } else if constexpr (std::is_same_v<T, LineTypeRecord>) {
                if (auto style = lineStyleOfType(r.type))
                    m_pen.style = *style;
            } else if constexpr (std::is_same_v<T, LineColourRecord>) {
                lineColour(r);
            } else if constexpr (std::is_same_v<T, CharacterSizeRecord>) {
                if (auto mm = textSizeMm(r.size))
                    m_fontHeight = rnd(*mm * m_geometry.pixelsPerMmY);
            } else if constexpr (std::is_same_v<T, PointSizeRecord>) {
                // points always have the same radius
            } else if constexpr (std::is_same_v<T, PointRecord>) {
                point(r);
            } else if constexpr (std::is_same_v<T, CircleRecord>) {
                circle(r);
            } else if constexpr (std::is_same_v<T, SolidRecord>) {
                solid(r);
            } else if constexpr (std::is_same_v<T, SolidArcRecord>) {
                solidArc(r);
            } else if constexpr (std::is_same_v<T, PenSetRecord>) {
                penSet(r);
            } else if constexpr (std::is_same_v<T, PenEndRecord>) {
                m_pen.width = m_msSaved.width;
                m_pen.colour = m_msSaved.colour;
                m_pen.mode = m_msSaved.mode;
            } else if constexpr (std::is_same_v<T, TextRecord>) {
                textRecord(r);
            } else if constexpr (std::is_same_v<T, BRecord>) {
                bRecord(r);
            }
        },
        record);
}

void Renderer::segment(const SegmentRecord& r) {
    const Point from = convert(r.from);
    const Point to = convert(r.to);
    m_canvas.setPen(m_pen);
    m_canvas.line(from, to);
}

void Renderer::segmentRun(Reader& reader, RecordingCanvas& canvas) {
    // Read, converted and recorded a batch at a time.
    constexpr std::size_t kBatch = 256;
    if (m_segmentBatch.empty()) {
        m_segmentBatch.resize(kBatch);
        m_segmentEnds.resize(2 * kBatch);
    }
    std::size_t count = reader.nextSegments(m_segmentBatch);
    if (count == 0)
        return;
    canvas.setPen(m_pen);
    const bool shows = canvas.beginLines();
    do {
        convertSegments(std::span(m_segmentBatch.data(), count), m_segmentEnds.data());
        if (shows)
            canvas.addLines(std::span<const Point>(m_segmentEnds.data(), 2 * count));
        count = reader.nextSegments(m_segmentBatch);
    } while (count > 0);
}

void Renderer::convertSegments(std::span<const std::array<double, 4>> segments, Point* points) {
    // convert() on both ends of every segment, with the extents held here until the batch is done.
    const double scale = m_scale;
    const double perMmX = m_geometry.pixelsPerMmX;
    const double perMmY = m_geometry.pixelsPerMmY;
    const std::int32_t height = m_geometry.height;
    Extents e = m_extents;
#if defined(__SSE2__)
    // x and y of a point side by side in the two lanes of a register, each lane through the same
    // operations in the same order as roundHeld(), and so to the same pixels.
    static_assert(sizeof(Point) == 8);
    constexpr double kLimit = 1e9;
    constexpr double kRound = 6755399441055744.0;
    const __m128d divisor = _mm_set1_pd(scale);
    const __m128d factor = _mm_set_pd(perMmY, perMmX);
    const __m128d low = _mm_set1_pd(-kLimit);
    const __m128d high = _mm_set1_pd(kLimit);
    const __m128d rounder = _mm_set1_pd(kRound);
    const __m128i flipY = _mm_setr_epi32(0, -1, 0, 0); // y becomes height − y
    const __m128i origin = _mm_setr_epi32(0, height, 0, 0);
    __m128i least = _mm_setr_epi32(e.minX, e.minY, 0, 0);
    __m128i most = _mm_setr_epi32(e.maxX, e.maxY, 0, 0);
    for (const std::array<double, 4>& s : segments) {
        for (std::size_t end = 0; end < 2; ++end) {
            __m128d v = _mm_mul_pd(_mm_div_pd(_mm_loadu_pd(s.data() + 2 * end), divisor), factor);
            v = _mm_and_pd(v, _mm_cmpord_pd(v, v));
            v = _mm_min_pd(_mm_max_pd(v, low), high);
            v = _mm_sub_pd(_mm_add_pd(v, rounder), rounder);
            __m128i p = _mm_cvttpd_epi32(v);
            p = _mm_add_epi32(_mm_sub_epi32(_mm_xor_si128(p, flipY), flipY), origin);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(points++), p);
            const __m128i below = _mm_cmplt_epi32(p, least);
            least = _mm_or_si128(_mm_and_si128(below, p), _mm_andnot_si128(below, least));
            const __m128i above = _mm_cmpgt_epi32(p, most);
            most = _mm_or_si128(_mm_and_si128(above, p), _mm_andnot_si128(above, most));
        }
    }
    e.minX = _mm_cvtsi128_si32(least);
    e.minY = _mm_cvtsi128_si32(_mm_srli_si128(least, 4));
    e.maxX = _mm_cvtsi128_si32(most);
    e.maxY = _mm_cvtsi128_si32(_mm_srli_si128(most, 4));
#else
    for (const std::array<double, 4>& s : segments) {
        for (std::size_t end = 0; end < 2; ++end) {
            const std::int32_t x = roundHeld(s[2 * end] / scale * perMmX);
            const std::int32_t y = height - roundHeld(s[2 * end + 1] / scale * perMmY);
            e.minX = std::min(e.minX, x);
            e.maxX = std::max(e.maxX, x);
            e.minY = std::min(e.minY, y);
            e.maxY = std::max(e.maxY, y);
            *points++ = {x, y};
        }
    }
#endif
    m_extents = e;
}

void Renderer::lineColour(const LineColourRecord& r) {
    if (r.pen >= 1 && r.pen <= 9) {
        m_pen.width = widthMapping(m_settings.penWidthTexts[static_cast<std::size_t>(r.pen - 1)]);
        if (m_settings.colourMode)
            m_pen.colour = penColourOf(r.pen);
        return;
    }
    if (r.pen != 10)
        return;
    if (r.extendedColour >= 0 && r.extendedColour <= kLargestExtendedColour)
        m_extendedColour = Colour{static_cast<std::uint32_t>(r.extendedColour)};
    if (fillPatternOfIndex(r.fillPatternIndex))
        m_fillPatternIndex = r.fillPatternIndex;
    m_solidRestore = {m_brush.colour, m_brush.pattern, m_pen.style};
}

void Renderer::point(const PointRecord& r) {
    const SavedPen saved{m_pen.width, m_pen.colour, m_pen.mode};
    m_pen.colour = penColourOf(1);
    m_pen.width = widthMapping(m_settings.penWidthTexts[0]);
    m_pen.mode = RasterMode::CopyPen;
    const double x = r.at.x / m_scale;
    const double y = r.at.y / m_scale;
    m_points.clear();
    for (int d = 0; d <= 360; ++d) {
        const double t = radians(d);
        const std::int32_t px = paperX(x + kPointRadiusMm * std::cos(t));
        m_points.push_back({px, paperY(y + kPointRadiusMm * std::sin(t))});
    }
    m_canvas.setPen(m_pen);
    m_canvas.polyline(m_points);
    m_pen.width = saved.width;
    m_pen.colour = saved.colour;
    m_pen.mode = saved.mode;
}

void Renderer::circle(const CircleRecord& r) {
    double end = r.end;
    if (end <= r.start)
        end += 360;
    m_points.clear();
    curvePoints(r.centre, r.radius, r.start, end, r.flatness, radians(r.tilt), m_points);
    m_canvas.setPen(m_pen);
    m_canvas.polyline(m_points);
}

void Renderer::solid(const SolidRecord& r) {
    m_points.clear();
    for (int i = 0; i < r.count; ++i)
        m_points.push_back(convert(r.vertices[static_cast<std::size_t>(i)]));
    drawSolid(m_points);
}

void Renderer::solidArc(const SolidArcRecord& r) {
    double start = r.start;
    double end = r.start + r.sweep;
    if (r.sweep < 0) {
        start = r.start + r.sweep;
        end = r.start;
    }
    if (end <= start)
        end += 2 * kPi;
    m_points.clear();
    curvePoints(r.centre, r.radius, degrees(start), degrees(end), r.flatness, r.tilt, m_points);
    if (r.flag == 0)
        m_points.push_back(convert(r.centre));
    drawSolid(m_points);
}

void Renderer::drawSolid(std::span<const Point> points) {
    if (m_extendedColour)
        m_brush.colour = *m_extendedColour;
    m_brush.pattern = fillPatternOfIndex(m_fillPatternIndex).value_or(FillPattern::Hollow);
    m_pen.style = LineStyle::Invisible;
    m_canvas.setPen(m_pen);
    m_canvas.setBrush(m_brush);
    m_canvas.polygon(points);
    m_brush.colour = m_solidRestore.brushColour;
    m_brush.pattern = m_solidRestore.pattern;
    m_pen.style = m_solidRestore.style;
}

void Renderer::penSet(const PenSetRecord& r) {
    m_msSaved = {m_pen.width, m_pen.colour, m_pen.mode};
    if (auto colour = colourOfIndex(r.colourIndex))
        m_pen.colour = *colour;
    m_pen.width = penWidthOfNumber(r.widthNumber);
    if (auto mode = rasterModeOfNumber(r.rasterMode))
        m_pen.mode = *mode;
}

void Renderer::bRecord(const BRecord& r) {
    const std::int32_t savedWidth = m_pen.width;
    const Colour savedColour = m_pen.colour;
    const Brush savedBrush = m_brush;
    m_solidRestore.brushColour = m_brush.colour;
    m_solidRestore.pattern = m_brush.pattern;
    if (auto colour = colourOfIndex(r.penColourIndex))
        m_pen.colour = *colour;
    m_pen.width = penWidthOfNumber(r.penWidthNumber);
    if (auto colour = colourOfIndex(r.fillColourIndex))
        m_brush.colour = *colour;
    if (auto pattern = fillPatternOfIndex(r.fillPatternIndex)) {
        m_brush.pattern = *pattern;
        m_fillPatternIndex = r.fillPatternIndex;
    }
    m_points.clear();
    switch (r.shape) {
    case BRecord::Shape::Polygon:
        for (const PlotPoint& p : r.vertices)
            m_points.push_back(convert(p));
        break;
    case BRecord::Shape::Circle:
        curvePoints(r.centre, r.radius, 0, 360, 1, 0, m_points);
        break;
    case BRecord::Shape::Segment: {
        double end = r.end;
        if (end <= r.start)
            end += 360;
        curvePoints(r.centre, r.radius, r.start, end, r.flatness, radians(r.tilt), m_points);
        break;
    }
    case BRecord::Shape::None:
        break;
    }
    if (r.shape != BRecord::Shape::None) {
        m_canvas.setPen(m_pen);
        m_canvas.setBrush(m_brush);
        m_canvas.polygon(m_points);
    }
    m_pen.width = savedWidth;
    m_pen.colour = savedColour;
    m_brush = savedBrush;
}

// A text is written from the top-left corner of its first cell, placed so that the cell stands on
// the anchor; its spacing marks come off before anything is converted, so a text of marks alone
// places nothing.
void Renderer::textRecord(const TextRecord& r) {
    if (r.text.empty())
        return;
    if (isImageReference(r.text)) {
        imageRecord(r);
        return;
    }
    const double angle = textAngle(r.dx, r.dy);
    const std::int32_t h = m_fontHeight;
    const CellOffset offset = cellOffset(h, angle);
    SpacedText spaced = removeSpacingMarks(r.text);
    if (spaced.text.empty())
        return;
    TextOp op;
    op.height = h;
    op.escapement = escapementOf(angle);
    op.extraSpacing = extraSpacingOf(h, spaced.spacingCount, spaced.text.size());
    op.face = faceOf(r.keyword);
    const std::int32_t x = convertX(r.at.x);
    const std::int32_t y = convertY(r.at.y);
    op.at = {clampedSum(x, rnd(offset.x)), clampedSum(clampedSum(y, -std::int64_t{h}), rnd(offset.y))};
    op.text = std::move(spaced.text);
    m_canvas.text(op);
}

// In this order: the file (or its message), the height (or the figure stops), the kind (or its
// message), the decoding (or the figure stops), then the rectangle, whose conversions widen the
// drawn extents.
void Renderer::imageRecord(const TextRecord& r) {
    const ImageReference reference = parseImageReference(r.text);
    const std::string path = text::cp932ToUtf8(reference.path);
    const std::optional<std::string> file = findImageFile(path, m_images.plotFolder);
    if (!file) {
        m_messages.plain(std::string(kImageMissingText) + path);
        return;
    }
    const double heightMm = text::toReal(text::cp932ToUtf8(reference.heightText));
    const std::optional<ImageFormat> format = imageFormatOf(path);
    if (!format) {
        m_messages.plain(std::string(kImageUnsupportedText) + path);
        return;
    }
    const DecodedImage* image = decodedImage(*file, *format, path);
    if (!image || !image->bitmap || image->bitmap->width <= 0 || image->bitmap->height <= 0)
        return;
    const Bitmap& bitmap = *image->bitmap;
    ImageOp op;
    op.bitmap = image->bitmap;
    const double xMm = r.at.x / m_scale;
    const double yMm = r.at.y / m_scale;
    op.left = convertX(r.at.x);
    op.top = paperY(yMm + heightMm);
    op.right = paperX(xMm + heightMm * bitmap.width / bitmap.height);
    op.bottom = convertY(r.at.y);
    m_canvas.image(op);
}

// A file placed several times in a figure is decoded once; a greyscale JPEG says once that it is
// drawn in black and white.
const DecodedImage* Renderer::decodedImage(const std::string& file, ImageFormat format,
                                           const std::string& writtenPath) {
    if (!m_images.loader)
        return nullptr;
    const auto key = std::make_pair(file, format);
    if (auto found = m_decoded.find(key); found != m_decoded.end())
        return &found->second;
    DecodedImage image = m_images.loader->load(file, format);
    if (image.greyscale)
        m_messages.plain(writtenPath + std::string(kGreyscaleJpegNotice));
    return &m_decoded.emplace(key, std::move(image)).first->second;
}

FigureEnd readFigure(Reader& reader, Picture& picture, const FigureSettings& settings,
                     platform::MessageBoxes& messages, const ImageAccess& images) {
    const PictureGeometry geometry = PictureGeometry::forDpi(settings.dpiX, settings.dpiY);
    picture = Picture(geometry.width, geometry.height, geometry.pixelsPerMmX, geometry.pixelsPerMmY);
    const double scale = scaleDenominatorOf(settings.scaleText);
    if (reader.atEnd()) {
        messages.plain(kNoFurtherFigureText);
        return FigureEnd::NoFurtherFigure;
    }
    RecordingCanvas canvas(picture);
    Renderer renderer(canvas, geometry, scale, settings, messages, images);
    try {
        for (;;) {
            renderer.segmentRun(reader, canvas);
            const auto record = reader.next();
            if (!record)
                break;
            renderer.apply(*record);
            if (settings.layerMode && std::holds_alternative<LayerRecord>(*record) && renderer.hasDrawn())
                break;
        }
    } catch (...) {
        picture.setDrawnExtents(renderer.extents());
        throw;
    }
    picture.setDrawnExtents(renderer.extents());
    if (renderer.hasDrawn())
        for (const std::string& text : offScreenMessages(renderer.extents(), geometry.width, geometry.height))
            messages.plain(text);
    return FigureEnd::Drawn;
}

} // namespace zelkova::plot
