// The metafile canvas: GDI objects and drawing records through libUEMF.
#include "plot/EmfCanvas.h"

#include "plot/ColourNames.h"
#include "plot/DashPattern.h"
#include "plot/Renderer.h"
#include "text/Cp932.h"
#include "text/Dbcs.h"

#include <uemf.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <vector>

// The records are laid out in the machine's byte order; metafiles are little-endian.
static_assert(std::endian::native == std::endian::little,
              "metafiles are written on little-endian machines only");

namespace zelkova::plot {

namespace {

// A nominal screen of the reference device: 1920 × 1440 pixels are 508 × 381 mm at 96 dpi.
constexpr std::int32_t kDeviceWidthPx = 1920;
constexpr std::int32_t kDeviceHeightPx = 1440;

// Records of more lines than this are split, so that no record grows without bound.
constexpr std::size_t kLinesPerRecord = 4096;

// The faces of the figure texts.
constexpr const char* kHorizontalFace = "ＭＳ ゴシック";
constexpr const char* kVerticalFace = "@ＭＳ ゴシック";

U_COLORREF colourRef(Colour c) {
    const Colour d = drawableColour(c);
    return colorref3_set(static_cast<uint8_t>(d.red()), static_cast<uint8_t>(d.green()),
                         static_cast<uint8_t>(d.blue()));
}

std::uint32_t rop2Of(RasterMode mode) {
    switch (mode) {
    case RasterMode::Black:
        return U_R2_BLACK;
    case RasterMode::White:
        return U_R2_WHITE;
    case RasterMode::Nop:
        return U_R2_NOP;
    case RasterMode::Not:
        return U_R2_NOT;
    case RasterMode::CopyPen:
        return U_R2_COPYPEN;
    case RasterMode::NotCopyPen:
        return U_R2_NOTCOPYPEN;
    case RasterMode::MergePenNot:
        return U_R2_MERGEPENNOT;
    case RasterMode::MaskPenNot:
        return U_R2_MASKPENNOT;
    case RasterMode::MergeNotPen:
        return U_R2_MERGENOTPEN;
    case RasterMode::MaskNotPen:
        return U_R2_MASKNOTPEN;
    case RasterMode::MergePen:
        return U_R2_MERGEPEN;
    case RasterMode::NotMergePen:
        return U_R2_NOTMERGEPEN;
    case RasterMode::MaskPen:
        return U_R2_MASKPEN;
    case RasterMode::NotMaskPen:
        return U_R2_NOTMASKPEN;
    case RasterMode::XorPen:
        return U_R2_XORPEN;
    case RasterMode::NotXorPen:
        return U_R2_NOTXORPEN;
    }
    return U_R2_COPYPEN;
}

std::int32_t hatchOf(FillPattern pattern) {
    switch (pattern) {
    case FillPattern::BackwardDiagonal:
        return U_HS_BDIAGONAL;
    case FillPattern::ForwardDiagonal:
        return U_HS_FDIAGONAL;
    case FillPattern::Cross:
        return U_HS_CROSS;
    case FillPattern::DiagonalCross:
        return U_HS_DIAGCROSS;
    case FillPattern::Horizontal:
        return U_HS_HORIZONTAL;
    case FillPattern::Vertical:
        return U_HS_VERTICAL;
    case FillPattern::Hollow:
    case FillPattern::Solid:
        break;
    }
    return U_HS_HORIZONTAL;
}

std::uint32_t cosmeticStyleOf(LineStyle style) {
    switch (style) {
    case LineStyle::Solid:
        return U_PS_SOLID;
    case LineStyle::Dotted:
        return U_PS_DOT;
    case LineStyle::Dashed:
        return U_PS_DASH;
    case LineStyle::DashDot:
        return U_PS_DASHDOT;
    case LineStyle::DashDotDot:
        return U_PS_DASHDOTDOT;
    case LineStyle::Invisible:
        return U_PS_NULL;
    }
    return U_PS_SOLID;
}

bool fitsInt16(const Bounds& b) {
    constexpr std::int32_t lo = std::numeric_limits<std::int16_t>::min();
    constexpr std::int32_t hi = std::numeric_limits<std::int16_t>::max();
    return b.left >= lo && b.top >= lo && b.right <= hi && b.bottom <= hi;
}

std::int32_t clampedPixel(double v) {
    if (!(v == v))
        return 0;
    return static_cast<std::int32_t>(std::clamp(v, -2147483520.0, 2147483520.0));
}

// A pen as the metafile sees it: the raster mode is a separate record.
bool samePenObject(const Pen& a, const Pen& b) {
    return a.colour == b.colour && a.width == b.width && a.style == b.style;
}

bool nullPen(const Pen& pen) {
    return pen.colour == kNoColour || pen.style == LineStyle::Invisible;
}

bool nullBrush(const Brush& brush) {
    return brush.colour == kNoColour || brush.pattern == FillPattern::Hollow;
}

struct FontKey {
    std::int32_t height = 0;
    std::int32_t escapement = 0;
    TextFace face = TextFace::Horizontal;
    friend bool operator==(const FontKey&, const FontKey&) = default;
};

template <typename T> T* checked(T* p) {
    if (!p)
        throw std::bad_alloc();
    return p;
}

} // namespace

struct EmfCanvas::State {
    OutputFrame frame;
    double scaleX = 0;
    double scaleY = 0;
    double pixelsPerMm = 0;
    std::string bytes;
    std::uint32_t records = 0;
    EMFHANDLES* handles = nullptr;
    bool finished = false;

    Pen pen;
    Brush brush;
    std::uint32_t rop2 = U_R2_COPYPEN;
    bool penSelected = false;
    Pen selectedPen;
    std::uint32_t penHandle = 0;
    bool brushSelected = false;
    Brush selectedBrush;
    std::uint32_t brushHandle = 0;
    bool fontSelected = false;
    FontKey selectedFont;
    std::uint32_t fontHandle = 0;

    std::vector<U_POINT16> points16;
    std::vector<U_POINTL> points32;
    std::vector<std::uint32_t> counts;

    ~State() {
        if (handles)
            emf_htable_free(&handles);
    }

    void append(char* record) {
        checked(record);
        const auto* header = reinterpret_cast<const U_EMR*>(record);
        bytes.append(record, header->nSize);
        ++records;
        std::free(record);
    }

    // The bounds of points in the metafile's device pixels.
    U_RECTL deviceBounds(const Bounds& b) const {
        const double x0 = frame.target.left + b.left * scaleX;
        const double x1 = frame.target.left + b.right * scaleX;
        const double y0 = frame.target.top + b.top * scaleY;
        const double y1 = frame.target.top + b.bottom * scaleY;
        U_RECTL r;
        r.left = clampedPixel(std::floor(std::min(x0, x1)));
        r.right = clampedPixel(std::ceil(std::max(x0, x1)));
        r.top = clampedPixel(std::floor(std::min(y0, y1)));
        r.bottom = clampedPixel(std::ceil(std::max(y0, y1)));
        return r;
    }

    void replaceObject(std::uint32_t& current, bool& selected, std::uint32_t created) {
        append(selectobject_set(created, handles));
        if (selected)
            append(deleteobject_set(&current, handles));
        current = created;
        selected = true;
    }

    void selectPen() {
        const std::uint32_t rop = rop2Of(pen.mode);
        if (rop != rop2) {
            append(U_EMRSETROP2_set(rop));
            rop2 = rop;
        }
        if (penSelected && samePenObject(selectedPen, pen))
            return;
        std::uint32_t created = 0;
        const U_COLORREF colour = nullPen(pen) ? colorref3_set(0, 0, 0) : colourRef(pen.colour);
        if (nullPen(pen) || pen.width <= 0) {
            // The thinnest line the device draws, with GDI's own dot and dash patterns.
            const std::uint32_t style = nullPen(pen) ? U_PS_NULL : cosmeticStyleOf(pen.style);
            append(createpen_set(&created, handles, logpen_set(style, point32_set(0, 0), colour)));
        } else {
            // A wide pen is geometric: round ends and joins, and its dashes in picture pixels.
            std::vector<U_STYLEENTRY> entries;
            for (double mm : dashPatternMm(pen.style))
                entries.push_back(static_cast<U_STYLEENTRY>(std::max(1, rnd(mm * pixelsPerMm))));
            const std::uint32_t style = U_PS_GEOMETRIC | U_PS_ENDCAP_ROUND | U_PS_JOIN_ROUND |
                                        (entries.empty() ? U_PS_SOLID : U_PS_USERSTYLE);
            PU_EXTLOGPEN elp = checked(extlogpen_set(style, static_cast<std::uint32_t>(pen.width), U_BS_SOLID,
                                                     colour, 0, static_cast<U_NUM_STYLEENTRY>(entries.size()),
                                                     entries.empty() ? nullptr : entries.data()));
            char* record = extcreatepen_set(&created, handles, nullptr, 0, nullptr, elp);
            std::free(elp);
            append(record);
        }
        replaceObject(penHandle, penSelected, created);
        selectedPen = pen;
    }

    void selectBrush() {
        if (brushSelected && (selectedBrush == brush || (nullBrush(selectedBrush) && nullBrush(brush))))
            return;
        U_LOGBRUSH lb;
        if (nullBrush(brush))
            lb = logbrush_set(U_BS_NULL, colorref3_set(0, 0, 0), 0);
        else if (brush.pattern == FillPattern::Solid)
            lb = logbrush_set(U_BS_SOLID, colourRef(brush.colour), 0);
        else
            lb = logbrush_set(U_BS_HATCHED, colourRef(brush.colour), hatchOf(brush.pattern));
        std::uint32_t created = 0;
        append(createbrushindirect_set(&created, handles, lb));
        replaceObject(brushHandle, brushSelected, created);
        selectedBrush = brush;
    }

    void selectFont(const FontKey& key) {
        if (fontSelected && selectedFont == key)
            return;
        std::u16string face =
            text::utf8ToUtf16(key.face == TextFace::Vertical ? kVerticalFace : kHorizontalFace);
        face.resize(U_LF_FACESIZE - 1);
        std::vector<std::uint16_t> faceName(face.begin(), face.end());
        faceName.push_back(0);
        // Height positive: the cell height. Escapement and orientation alike, in tenths of a degree.
        const U_LOGFONT font = logfont_set(key.height, 0, key.escapement, key.escapement, U_FW_NORMAL, 0, 0,
                                           0, U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS,
                                           U_PROOF_QUALITY, U_FIXED_PITCH, faceName.data());
        std::uint32_t created = 0;
        append(extcreatefontindirectw_set(&created, handles, reinterpret_cast<const char*>(&font), nullptr));
        replaceObject(fontHandle, fontSelected, created);
        selectedFont = key;
    }

    // Points into the 16-bit or 32-bit buffer; true for 16 bits.
    bool loadPoints(std::span<const Point> points, const Bounds& bounds) {
        if (fitsInt16(bounds)) {
            points16.resize(points.size());
            for (std::size_t i = 0; i < points.size(); ++i)
                points16[i] =
                    point16_set(static_cast<int16_t>(points[i].x), static_cast<int16_t>(points[i].y));
            return true;
        }
        points32.resize(points.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            points32[i] = point32_set(points[i].x, points[i].y);
        return false;
    }
};

namespace {
Bounds boundsOf(std::span<const Point> points) {
    Bounds b;
    for (Point p : points)
        b.include(p);
    return b;
}
} // namespace

EmfCanvas::EmfCanvas(const OutputFrame& frame, std::int32_t pictureWidth, std::int32_t pictureHeight,
                     double pixelsPerMm, double dpi)
    : m_state(std::make_unique<State>()) {
    State& s = *m_state;
    s.frame = frame;
    s.pixelsPerMm = pixelsPerMm;
    s.scaleX = pictureWidth > 0 ? double(frame.target.right - frame.target.left) / pictureWidth : 0.0;
    s.scaleY = pictureHeight > 0 ? double(frame.target.bottom - frame.target.top) / pictureHeight : 0.0;
    if (emf_htable_create(128, 128, &s.handles) != 0)
        throw std::bad_alloc();
    s.bytes.reserve(64 * 1024);

    const U_RECTL bounds = rectl_set(point32_set(0, 0), point32_set(frame.width - 1, frame.height - 1));
    const U_RECTL mmFrame = rectl_set(
        point32_set(0, 0), point32_set(hundredthsOfMm(frame.width, dpi), hundredthsOfMm(frame.height, dpi)));
    // The description: the application's name and the picture's, each ended, then an end.
    static const std::u16string kDescription(u"Zelkova\0plot\0", 14);
    std::vector<std::uint16_t> description(kDescription.begin(), kDescription.end());
    const double mmPerPixel = 25.4 / dpi;
    s.append(U_EMRHEADER_set(bounds, mmFrame, nullptr, static_cast<U_CBSTR>(description.size()),
                             description.data(), sizel_set(kDeviceWidthPx, kDeviceHeightPx),
                             sizel_set(rnd(kDeviceWidthPx * mmPerPixel), rnd(kDeviceHeightPx * mmPerPixel)),
                             0));
    // Texts and hatches are transparent; polygons fill alternately; texts hang from their
    // top-left corner, in black.
    s.append(U_EMRSETBKMODE_set(U_TRANSPARENT));
    s.append(U_EMRSETPOLYFILLMODE_set(U_ALTERNATE));
    s.append(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT | U_TA_NOUPDATECP));
    s.append(U_EMRSETTEXTCOLOR_set(colorref3_set(0, 0, 0)));
    s.append(U_EMRSETSTRETCHBLTMODE_set(U_COLORONCOLOR));
    s.append(U_EMRSETWORLDTRANSFORM_set(
        xform_set(static_cast<U_FLOAT>(s.scaleX), 0, 0, static_cast<U_FLOAT>(s.scaleY),
                  static_cast<U_FLOAT>(frame.target.left), static_cast<U_FLOAT>(frame.target.top))));
}

EmfCanvas::~EmfCanvas() = default;

void EmfCanvas::setPen(const Pen& pen) {
    m_state->pen = pen;
}

void EmfCanvas::setBrush(const Brush& brush) {
    m_state->brush = brush;
}

void EmfCanvas::line(Point from, Point to) {
    const Point pair[2] = {from, to};
    lines(pair);
}

void EmfCanvas::lines(std::span<const Point> endPoints) {
    State& s = *m_state;
    const std::size_t count = endPoints.size() / 2;
    if (count == 0 || s.finished || !drawsLines(s.pen))
        return;
    s.selectPen();
    for (std::size_t first = 0; first < count; first += kLinesPerRecord) {
        const std::size_t n = std::min(kLinesPerRecord, count - first);
        const std::span<const Point> part = endPoints.subspan(2 * first, 2 * n);
        const Bounds b = boundsOf(part);
        s.counts.assign(n, 2);
        const U_RECTL bounds = s.deviceBounds(b);
        if (s.loadPoints(part, b))
            s.append(U_EMRPOLYPOLYLINE16_set(bounds, static_cast<std::uint32_t>(n), s.counts.data(),
                                             static_cast<std::uint32_t>(2 * n), s.points16.data()));
        else
            s.append(U_EMRPOLYPOLYLINE_set(bounds, static_cast<std::uint32_t>(n), s.counts.data(),
                                           static_cast<std::uint32_t>(2 * n), s.points32.data()));
    }
}

void EmfCanvas::polyline(std::span<const Point> points) {
    State& s = *m_state;
    if (points.size() < 2 || s.finished || !drawsLines(s.pen))
        return;
    s.selectPen();
    const Bounds b = boundsOf(points);
    const auto n = static_cast<std::uint32_t>(points.size());
    if (s.loadPoints(points, b))
        s.append(U_EMRPOLYLINE16_set(s.deviceBounds(b), n, s.points16.data()));
    else
        s.append(U_EMRPOLYLINE_set(s.deviceBounds(b), n, s.points32.data()));
}

void EmfCanvas::polygon(std::span<const Point> points) {
    State& s = *m_state;
    if (points.empty() || s.finished || (!drawsLines(s.pen) && !fills(s.brush, s.pen)))
        return;
    s.selectPen();
    s.selectBrush();
    const Bounds b = boundsOf(points);
    const auto n = static_cast<std::uint32_t>(points.size());
    if (s.loadPoints(points, b))
        s.append(U_EMRPOLYGON16_set(s.deviceBounds(b), n, s.points16.data()));
    else
        s.append(U_EMRPOLYGON_set(s.deviceBounds(b), n, s.points32.data()));
}

void EmfCanvas::text(const TextOp& op) {
    State& s = *m_state;
    if (op.text.empty() || op.height <= 0 || s.finished)
        return;
    s.selectFont({op.height, op.escapement, op.face});
    // The face is fixed pitch: a half-width character advances half the cell height, a full-width
    // one the whole height; the extra spacing comes after every character. A byte outside the code
    // page is left as an empty half-width cell.
    const std::uint32_t half = static_cast<std::uint32_t>(std::max(0, rnd(op.height / 2.0)));
    const std::uint32_t extra = static_cast<std::uint32_t>(op.extraSpacing);
    std::vector<std::uint16_t> characters;
    std::vector<std::uint32_t> advances;
    const std::string_view bytes = op.text;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = text::charLengthAt(bytes, i);
        const std::u16string decoded = text::decodeCp932(bytes.substr(i, length));
        for (char16_t c : decoded) {
            const bool placeholder =
                c >= text::kRawBytePlaceholderBase && c <= text::kRawBytePlaceholderBase + 0xFF;
            characters.push_back(placeholder ? u' ' : c);
            const bool wide = decoded.size() == 1 && length == 2;
            advances.push_back((wide ? static_cast<std::uint32_t>(op.height) : half) + extra);
        }
        i += length;
    }
    characters.push_back(0);
    const auto count = static_cast<U_NUM_STR>(advances.size());
    const U_RECTL noBounds = rectl_set(point32_set(0, 0), point32_set(-1, -1));
    char* emrText = checked(emrtext_set(point32_set(op.at.x, op.at.y), count, 2, characters.data(),
                                        U_ETO_NONE, noBounds, advances.data()));
    char* record = U_EMREXTTEXTOUTW_set(noBounds, U_GM_ADVANCED, 0, 0, reinterpret_cast<PU_EMRTEXT>(emrText));
    std::free(emrText);
    s.append(record);
}

void EmfCanvas::image(const ImageOp& op) {
    State& s = *m_state;
    const Bitmap* bitmap = op.bitmap.get();
    if (!bitmap || bitmap->width <= 0 || bitmap->height <= 0 || s.finished ||
        bitmap->pixels.size() < std::size_t(bitmap->width) * std::size_t(bitmap->height))
        return;
    const std::size_t w = static_cast<std::size_t>(bitmap->width);
    const std::size_t h = static_cast<std::size_t>(bitmap->height);
    // A device-independent bitmap, rows from the bottom, each padded to four bytes: a two-colour
    // bitmap at one bit per pixel with black and white in its colour table, any other at 24 bits.
    const int bits = bitmap->twoColour ? 1 : 24;
    const std::size_t stride = ((w * bits + 31) / 32) * 4;
    std::vector<char> pixels(stride * h, 0);
    for (std::size_t row = 0; row < h; ++row) {
        const std::uint32_t* source = bitmap->pixels.data() + (h - 1 - row) * w;
        auto* out = reinterpret_cast<unsigned char*>(pixels.data() + row * stride);
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t p = source[x];
            const unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (bits == 1) {
                if (r + g + b >= 384)
                    out[x / 8] = static_cast<unsigned char>(out[x / 8] | (0x80 >> (x % 8)));
            } else {
                out[3 * x] = static_cast<unsigned char>(b);
                out[3 * x + 1] = static_cast<unsigned char>(g);
                out[3 * x + 2] = static_cast<unsigned char>(r);
            }
        }
    }
    U_RGBQUAD table[2] = {rgbquad_set(0, 0, 0, 0), rgbquad_set(255, 255, 255, 0)};
    const U_BITMAPINFOHEADER header =
        bitmapinfoheader_set(bitmap->width, bitmap->height, 1, static_cast<uint16_t>(bits), U_BI_RGB,
                             static_cast<uint32_t>(pixels.size()), 0, 0, bits == 1 ? 2 : 0, 0);
    PU_BITMAPINFO info = checked(bitmapinfo_set(header, bits == 1 ? table : nullptr));
    Bounds target;
    target.include({op.left, op.top});
    target.include({op.right, op.bottom});
    char* record =
        U_EMRSTRETCHDIBITS_set(s.deviceBounds(target), point32_set(op.left, op.top),
                               point32_set(op.right - op.left, op.bottom - op.top), point32_set(0, 0),
                               point32_set(bitmap->width, bitmap->height), U_DIB_RGB_COLORS, U_SRCCOPY, info,
                               static_cast<uint32_t>(pixels.size()), pixels.data());
    std::free(info);
    s.append(record);
}

std::string EmfCanvas::finish() {
    State& s = *m_state;
    if (s.finished)
        return {};
    // Back to the stock objects before ours are deleted, as a device context is left.
    if (s.penSelected) {
        s.append(U_EMRSELECTOBJECT_set(U_BLACK_PEN));
        s.append(deleteobject_set(&s.penHandle, s.handles));
    }
    if (s.brushSelected) {
        s.append(U_EMRSELECTOBJECT_set(U_WHITE_BRUSH));
        s.append(deleteobject_set(&s.brushHandle, s.handles));
    }
    if (s.fontSelected) {
        s.append(U_EMRSELECTOBJECT_set(U_SYSTEM_FONT));
        s.append(deleteobject_set(&s.fontHandle, s.handles));
    }
    EMFTRACK track{};
    s.append(U_EMREOF_set(0, nullptr, &track));
    auto* header = reinterpret_cast<U_EMRHEADER*>(s.bytes.data());
    header->nBytes = static_cast<std::uint32_t>(s.bytes.size());
    header->nRecords = s.records;
    header->nHandles = static_cast<std::uint16_t>(s.handles->peak + 1);
    header->nPalEntries = 0;
    s.finished = true;
    return std::move(s.bytes);
}

std::string metafileOf(const Picture* picture, const OutputFrame& frame, double dpi) {
    if (!picture) {
        EmfCanvas canvas(frame, 1, 1, 1, dpi);
        return canvas.finish();
    }
    EmfCanvas canvas(frame, picture->width(), picture->height(), picture->pixelsPerMmX(), dpi);
    replay(*picture, canvas);
    return canvas.finish();
}

} // namespace zelkova::plot
