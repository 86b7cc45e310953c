// Drawing a figure: the figure state, the conversions from drawing units and paper millimetres to
// picture pixels, and what each record does, against an abstract canvas; and reading one whole
// figure from the reader into a picture, with the messages that end it.
#pragma once

#include "plot/Bitmap.h"
#include "plot/Canvas.h"
#include "plot/Picture.h"
#include "plot/Reader.h"
#include "plot/Records.h"
#include "plot/ViewerState.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelkova::platform {
class MessageBoxes;
}

namespace zelkova::plot {

// The viewer settings a figure is drawn with, as the viewer's fields hold them (UTF-8 texts).
// By default the pen panel's defaults.
struct FigureSettings {
    std::string scaleText = "1"; // the scale box: N of the scale 1/N
    bool colourMode = true;      // false: monochrome display
    bool layerMode = true;       // true: one figure per layer
    std::array<std::string, 9> penWidthTexts;
    std::array<std::string, 9> penColourNames;
    double dpiX = 96; // the reference device's logical pixels per inch
    double dpiY = 96;

    FigureSettings();
};

// The picture frame of the reference device: 5 × 287 mm by 5 × 200 mm in picture pixels.
struct PictureGeometry {
    std::int32_t width = 0;
    std::int32_t height = 0;
    double pixelsPerMmX = 0;
    double pixelsPerMmY = 0;
    static PictureGeometry forDpi(double dpiX, double dpiY);
};

// Round to the nearest integer, halves to the even neighbour; out-of-range values are held at
// ±1,000,000,000 so that no coordinate overflows later arithmetic.
std::int32_t rnd(double value);

// A pen width edit's text or a width number, through the width mapping. Throws Failure
// ("'%s' は整数ではありません") for a text that is not an integer.
std::int32_t widthMapping(std::string_view text);

// The scale denominator of the scale box's text. Throws Failure for a text that is not a number
// ("'%s' は浮動小数点数ではありません") and for 0 ("'%s' は縮尺に使えません").
double scaleDenominatorOf(std::string_view text);

// A ratio of the off-screen messages: one decimal, two significant digits, larger values in
// exponent form ("0.1", "12.0", "1.2E2").
std::string ratioText(double ratio);

// The off-screen messages of a figure's drawn extents, in order.
std::vector<std::string> offScreenMessages(const Extents& extents, std::int32_t pictureWidth,
                                           std::int32_t pictureHeight);

// Where the image records of a figure find their files, and what decodes them.
struct ImageAccess {
    ImageLoader* loader = nullptr; // none: image records are checked and reported but draw nothing
    std::string plotFolder;        // the plot file's own folder (native name)
};

class Renderer {
public:
    // Sets up the initial figure state; throws Failure when pen 1's width edit is not an integer.
    Renderer(Canvas& canvas, const PictureGeometry& geometry, double scaleDenominator,
             const FigureSettings& settings, platform::MessageBoxes& messages, ImageAccess images = {});

    void apply(const Record& record);

    // The line segment records that come next, straight from `reader` into `canvas`'s picture,
    // as apply() would draw them one by one: the usual bulk of a figure, with one pen for all.
    void segmentRun(Reader& reader, RecordingCanvas& canvas);

    // Something has been placed on the picture (drawn extents test).
    bool hasDrawn() const { return m_extents.anyDrawn(); }
    const Extents& extents() const { return m_extents; }

    // Conversions; each result widens the drawn extents.
    std::int32_t paperX(double mm);
    std::int32_t paperY(double mm);
    std::int32_t convertX(double v) { return paperX(v / m_scale); }
    std::int32_t convertY(double v) { return paperY(v / m_scale); }
    Point convert(PlotPoint p) { return {convertX(p.x), convertY(p.y)}; }

    const Pen& pen() const { return m_pen; }
    const Brush& brush() const { return m_brush; }
    // The canvas font's height h: the cell height in picture pixels that texts are written in.
    std::int32_t fontHeight() const { return m_fontHeight; }

    // Curve points in picture pixels: one per whole degree from rnd(start) to rnd(end), both
    // included (angles in degrees, tilt in radians).
    void curvePoints(PlotPoint centre, double radius, double startDegrees, double endDegrees, double flatness,
                     double tiltRadians, std::vector<Point>& out);

    // The most points one curve gives: one per degree over 100 turns. Longer spans are cut there.
    static constexpr std::int64_t kMaxCurvePoints = 36001;

private:
    struct SavedPen {
        std::int32_t width;
        Colour colour;
        RasterMode mode;
    };
    struct SolidRestore {
        Colour brushColour;
        FillPattern pattern;
        LineStyle style;
    };

    void segment(const SegmentRecord& r);
    // The two ends of each of `segments` (x1 y1 x2 y2) as convert() gives them, into `points`.
    void convertSegments(std::span<const std::array<double, 4>> segments, Point* points);
    void lineColour(const LineColourRecord& r);
    void point(const PointRecord& r);
    void circle(const CircleRecord& r);
    void solid(const SolidRecord& r);
    void solidArc(const SolidArcRecord& r);
    void penSet(const PenSetRecord& r);
    void bRecord(const BRecord& r);
    void textRecord(const TextRecord& r);
    void imageRecord(const TextRecord& r);
    const DecodedImage* decodedImage(const std::string& file, ImageFormat format,
                                     const std::string& writtenPath);
    void drawSolid(std::span<const Point> points);
    Colour penColourOf(int pen) const;

    Canvas& m_canvas;
    PictureGeometry m_geometry;
    double m_scale;
    const FigureSettings& m_settings;
    platform::MessageBoxes& m_messages;
    ImageAccess m_images;
    // The images decoded in this figure, by file: a picture placed many times is decoded once.
    std::map<std::pair<std::string, ImageFormat>, DecodedImage> m_decoded;

    Extents m_extents;
    Pen m_pen;
    Brush m_brush;
    std::int32_t m_fontHeight;
    std::optional<Colour> m_extendedColour;
    std::int32_t m_fillPatternIndex = 0;
    SavedPen m_msSaved;
    SolidRestore m_solidRestore;
    std::vector<Point> m_points; // the vertex and curve buffer, grown as needed
    // A batch of line segments of a run as read, and their ends converted.
    std::vector<std::array<double, 4>> m_segmentBatch;
    std::vector<Point> m_segmentEnds;
};

// How a figure request ended.
enum class FigureEnd {
    Drawn,           // the figure was read to its end and recorded
    NoFurtherFigure, // the reader was at the end of the file: "次の図はもうありません！" was shown
};

// Reads the next figure from `reader` into `picture` (which is replaced first) and shows the
// off-screen messages (and the image records' messages) through `messages`. Throws Failure for a
// malformed field, a width edit, scale text or image height that is not a number, an image file
// that cannot be decoded, or a read error; `picture` then holds what was recorded before the
// error.
FigureEnd readFigure(Reader& reader, Picture& picture, const FigureSettings& settings,
                     platform::MessageBoxes& messages, const ImageAccess& images = {});

} // namespace zelkova::plot
