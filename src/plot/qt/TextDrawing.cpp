// Glyph masks and their cache, and the outline drawing of texts.
#include "plot/qt/TextDrawing.h"

#include "plot/qt/TextGlyphs.h"

#include <QImage>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_map>
#include <vector>

namespace zelkova::plot {

namespace {

// Masks larger than this on either side are not kept: such glyphs are filled as paths.
constexpr double kLargestMaskSide = 1024;
// All masks are forgotten once they hold this many spans together (12 bytes each).
constexpr std::size_t kMostCachedSpans = 4000000;

// A run of inked pixels of one row of a mask, relative to the glyph's device origin; x1 is the
// pixel after the run.
struct MaskSpan {
    std::int32_t y;
    std::int32_t x0;
    std::int32_t x1;
};

struct GlyphMask {
    bool tooLarge = false;
    std::vector<MaskSpan> spans;
    // The spans' extent relative to the origin: a glyph whose extent lies inside the clip is
    // written without testing each span.
    std::int32_t top = 0, bottom = -1, left = 0, right = -1;
};

// The linear part of the map from font units to device pixels, held to 2^-24.
struct MatrixKey {
    std::int64_t m11, m12, m21, m22;
    friend bool operator==(const MatrixKey&, const MatrixKey&) = default;
};
struct MatrixKeyHash {
    std::size_t operator()(const MatrixKey& k) const {
        std::size_t h = std::hash<std::int64_t>()(k.m11);
        for (std::int64_t v : {k.m12, k.m21, k.m22})
            h = h * 1000003u ^ std::hash<std::int64_t>()(v);
        return h;
    }
};

using MaskSet = std::unordered_map<quint32, GlyphMask>;

// Never destroyed: masks live for the run, like the face they come from.
struct MaskCache {
    std::unordered_map<MatrixKey, MaskSet, MatrixKeyHash> sets;
    std::size_t spans = 0;
    static MaskCache& instance() {
        static MaskCache* cache = new MaskCache;
        return *cache;
    }
};

MatrixKey keyOf(const QTransform& t) {
    auto q = [](double v) { return static_cast<std::int64_t>(std::llround(v * 16777216.0)); };
    return {q(t.m11()), q(t.m12()), q(t.m21()), q(t.m22())};
}

// The frame of a text on the device: x along the baseline, y down across the cells, from the
// top-left corner of the first cell.
QTransform frameOf(const TextOp& op, const DeviceMapping& m) {
    // Figures turn most of their texts by a few angles: the last one is kept.
    thread_local std::int32_t lastEscapement = 0;
    thread_local double c = 1;
    thread_local double s = 0;
    if (op.escapement != lastEscapement) {
        const double angle = op.escapement * std::numbers::pi / 1800.0;
        c = std::cos(angle);
        s = std::sin(angle);
        lastEscapement = op.escapement;
    }
    return QTransform(m.scaleX * c, -m.scaleY * s, m.scaleX * s, m.scaleY * c, m.offsetX + m.scaleX * op.at.x,
                      m.offsetY + m.scaleY * op.at.y);
}

// Font units to device pixels for one glyph, without the translation.
QTransform glyphMap(const QTransform& frame, double fontScale, bool turned) {
    const QTransform linear(frame.m11(), frame.m12(), frame.m21(), frame.m22(), 0, 0);
    QTransform t = QTransform::fromScale(fontScale, fontScale);
    if (turned)
        t *= QTransform(kTurnM11, kTurnM12, kTurnM21, kTurnM22, 0, 0);
    return t * linear;
}

// The share of a pixel that must be covered to ink it: a half for an em of 24 device pixels and
// more, falling to a fifth at 8 pixels and less, so that the thin strokes of small texts stay.
double inkThreshold(const QTransform& map) {
    const double em = std::sqrt(std::fabs(map.determinant())) * fontUnitsPerEm();
    return std::clamp(0.2 + (em - 8) * (0.3 / 16), 0.2, 0.5);
}

GlyphMask rasterise(quint32 index, const QTransform& map, double threshold) {
    GlyphMask mask;
    QPainterPath path = map.map(glyphOutline(index));
    path.setFillRule(Qt::WindingFill);
    const QRectF box = path.boundingRect();
    if (box.isEmpty())
        return mask;
    if (box.width() > kLargestMaskSide || box.height() > kLargestMaskSide) {
        mask.tooLarge = true;
        return mask;
    }
    const int left = static_cast<int>(std::floor(box.left())) - 1;
    const int top = static_cast<int>(std::floor(box.top())) - 1;
    const int width = static_cast<int>(std::ceil(box.right())) - left + 2;
    const int height = static_cast<int>(std::ceil(box.bottom())) - top + 2;
    QImage coverage(width, height, QImage::Format_Alpha8);
    coverage.fill(0);
    {
        QPainter painter(&coverage);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.translate(-left, -top);
        painter.fillPath(path, Qt::black);
    }
    const int least = static_cast<int>(std::lround(threshold * 255));
    for (int y = 0; y < height; ++y) {
        const uchar* row = coverage.constScanLine(y);
        for (int x = 0; x < width;) {
            if (row[x] < least) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && row[x] >= least)
                ++x;
            mask.spans.push_back({top + y, left + start, left + x});
        }
    }
    for (const MaskSpan& span : mask.spans) {
        if (mask.bottom < mask.top) {
            mask.top = mask.bottom = span.y;
            mask.left = span.x0;
            mask.right = span.x1 - 1;
        }
        mask.top = std::min(mask.top, span.y);
        mask.bottom = std::max(mask.bottom, span.y);
        mask.left = std::min(mask.left, span.x0);
        mask.right = std::max(mask.right, span.x1 - 1);
    }
    return mask;
}

void fillGlyph(QPainter& painter, quint32 index, const QTransform& map, QPoint origin, const QRect& clip) {
    const QTransform placed = map * QTransform::fromTranslate(origin.x(), origin.y());
    if (!placed.mapRect(glyphOutline(index).boundingRect()).intersects(clip))
        return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setTransform(placed);
    QPainterPath path = glyphOutline(index);
    path.setFillRule(Qt::WindingFill);
    painter.fillPath(path, Qt::black);
    painter.restore();
}

QPoint devicePoint(const QTransform& frame, const QPointF& origin) {
    auto round = [](double v) {
        return static_cast<int>(std::clamp(std::nearbyint(v), -1073741824.0, 1073741823.0));
    };
    const double x = origin.x();
    const double y = origin.y();
    return {round(frame.m11() * x + frame.m21() * y + frame.dx()),
            round(frame.m12() * x + frame.m22() * y + frame.dy())};
}

thread_local std::vector<PlacedGlyph> t_glyphs;

} // namespace

void drawTextOnRaster(const TextOp& op, const DeviceMapping& mapping, std::uint32_t* bits, qsizetype stride,
                      const QRect& clip, QPainter& painter) {
    double fontScale = 0;
    placeGlyphs(op, t_glyphs, fontScale);
    if (t_glyphs.empty() || clip.isEmpty())
        return;
    const QTransform frame = frameOf(op, mapping);
    MaskCache& cache = MaskCache::instance();
    if (cache.spans > kMostCachedSpans) {
        cache.sets.clear();
        cache.spans = 0;
    }
    QTransform maps[2];
    MaskSet* sets[2] = {nullptr, nullptr};
    double thresholds[2] = {0, 0};
    const int clipLeft = clip.left();
    const int clipRight = clip.right();
    const int clipTop = clip.top();
    const int clipBottom = clip.bottom();
    for (const PlacedGlyph& glyph : t_glyphs) {
        const int kind = glyph.turned ? 1 : 0;
        if (!sets[kind]) {
            maps[kind] = glyphMap(frame, fontScale, glyph.turned);
            sets[kind] = &cache.sets[keyOf(maps[kind])];
            thresholds[kind] = inkThreshold(maps[kind]);
        }
        auto found = sets[kind]->find(glyph.index);
        if (found == sets[kind]->end()) {
            found =
                sets[kind]->emplace(glyph.index, rasterise(glyph.index, maps[kind], thresholds[kind])).first;
            cache.spans += found->second.spans.size() + 1;
        }
        const GlyphMask& mask = found->second;
        const QPoint origin = devicePoint(frame, glyph.origin);
        if (mask.tooLarge) {
            fillGlyph(painter, glyph.index, maps[kind], origin, clip);
            continue;
        }
        const int ox = origin.x();
        const int oy = origin.y();
        if (mask.spans.empty() || oy + mask.bottom < clipTop || oy + mask.top > clipBottom ||
            ox + mask.right < clipLeft || ox + mask.left > clipRight)
            continue;
        if (oy + mask.top >= clipTop && oy + mask.bottom <= clipBottom && ox + mask.left >= clipLeft &&
            ox + mask.right <= clipRight) {
            for (const MaskSpan& span : mask.spans) {
                std::uint32_t* row = bits + (oy + span.y) * stride + ox;
                std::fill(row + span.x0, row + span.x1, 0xFF000000u);
            }
            continue;
        }
        for (const MaskSpan& span : mask.spans) {
            const int y = origin.y() + span.y;
            if (y < clipTop || y > clipBottom)
                continue;
            const int x0 = std::max(origin.x() + span.x0, clipLeft);
            const int x1 = std::min(origin.x() + span.x1, clipRight + 1);
            if (x0 >= x1)
                continue;
            std::fill(bits + y * stride + x0, bits + y * stride + x1, 0xFF000000u);
        }
    }
}

void drawTextAsOutlines(const TextOp& op, const DeviceMapping& mapping, QPainter& painter) {
    double fontScale = 0;
    placeGlyphs(op, t_glyphs, fontScale);
    if (t_glyphs.empty())
        return;
    QPainterPath path;
    for (const PlacedGlyph& glyph : t_glyphs) {
        QTransform t = QTransform::fromScale(fontScale, fontScale);
        if (glyph.turned)
            t *= QTransform(kTurnM11, kTurnM12, kTurnM21, kTurnM22, 0, 0);
        t *= QTransform::fromTranslate(glyph.origin.x(), glyph.origin.y());
        path.addPath(t.map(glyphOutline(glyph.index)));
    }
    path.setFillRule(Qt::WindingFill);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setTransform(frameOf(op, mapping), true);
    painter.fillPath(path, Qt::black);
    painter.restore();
}

} // namespace zelkova::plot
