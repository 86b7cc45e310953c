// The face, its characters shaped with HarfBuzz (once each), and the placing of a text's glyphs.
#include "plot/qt/TextGlyphs.h"

#include "platform/qt/Fonts.h"
#include "text/Cp932.h"

#include <hb.h>

#include <QByteArray>
#include <QFont>

#include <cmath>
#include <unordered_map>

namespace zelkova::plot {

namespace {

// What a character of the face becomes: its glyph and, in font units, its advance along the
// baseline and HarfBuzz's offsets of the glyph's origin (x right, y up).
struct GlyphInfo {
    quint32 index = 0;
    bool turned = false;
    bool known = false;
    float advance = 0;
    float offsetX = 0;
    float offsetY = 0;
};

constexpr bool isLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool isTrail(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

hb_blob_t* fontTable(hb_face_t*, hb_tag_t tag, void* user) {
    const char name[4] = {static_cast<char>(tag >> 24), static_cast<char>(tag >> 16),
                          static_cast<char>(tag >> 8), static_cast<char>(tag)};
    const QByteArray table = static_cast<const QRawFont*>(user)->fontTable(name);
    if (table.isEmpty())
        return nullptr;
    return hb_blob_create(table.constData(), static_cast<unsigned>(table.size()), HB_MEMORY_MODE_DUPLICATE,
                          nullptr, nullptr);
}

std::uint16_t bigEndian16(const QByteArray& table, qsizetype at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(table[at]) << 8 |
                                      static_cast<unsigned char>(table[at + 1]));
}

// The one face of all texts, for the whole run (never destroyed: it may outlive the application
// object, and font engines must not be released after it).
class Face {
public:
    static Face& instance() {
        static Face* face = new Face;
        return *face;
    }

    bool valid() const { return m_raw.isValid() && m_font; }
    double cellUnits() const { return m_ascent + m_descent; }
    double ascent() const { return m_ascent; }
    double unitsPerEm() const { return m_raw.isValid() ? m_raw.unitsPerEm() : 2048.0; }

    const GlyphInfo& glyph(std::uint16_t code, bool twoBytes, TextFace face) {
        const bool turned = face == TextFace::Vertical && twoBytes;
        GlyphInfo& info = (turned ? m_vertical : m_horizontal)[code];
        if (!info.known)
            info = shape(code, twoBytes, turned);
        return info;
    }

    const QPainterPath& outline(quint32 index) {
        auto found = m_outlines.find(index);
        if (found == m_outlines.end())
            found = m_outlines.emplace(index, m_raw.pathForGlyph(index)).first;
        return found->second;
    }

private:
    Face() : m_horizontal(0x10000), m_vertical(0x10000) {
        QFont font = platform::japaneseFixedFont(100);
        font.setHintingPreference(QFont::PreferNoHinting);
        m_raw = QRawFont::fromFont(font);
        if (!m_raw.isValid())
            return;
        m_raw.setPixelSize(m_raw.unitsPerEm()); // outlines and metrics in font units
        const QByteArray os2 = m_raw.fontTable("OS/2");
        if (os2.size() >= 78) {
            m_ascent = bigEndian16(os2, 74);
            m_descent = bigEndian16(os2, 76);
        } else {
            m_ascent = m_raw.ascent();
            m_descent = m_raw.descent();
        }
        if (m_ascent + m_descent <= 0) {
            m_ascent = m_raw.unitsPerEm() * 0.88;
            m_descent = m_raw.unitsPerEm() * 0.12;
        }
        hb_face_t* face = hb_face_create_for_tables(fontTable, new QRawFont(m_raw),
                                                    [](void* raw) { delete static_cast<QRawFont*>(raw); });
        hb_face_set_upem(face, static_cast<unsigned>(m_raw.unitsPerEm()));
        m_font = hb_font_create(face);
        hb_face_destroy(face);
        m_buffer = hb_buffer_create();
    }

    GlyphInfo shape(std::uint16_t code, bool twoBytes, bool turned) {
        GlyphInfo info;
        info.known = true;
        info.turned = turned;
        const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        const std::u16string text =
            text::decodeCp932(twoBytes ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1));
        const bool placeholder = text.size() != 1 || (text[0] >= text::kRawBytePlaceholderBase &&
                                                      text[0] < text::kRawBytePlaceholderBase + 0x100);
        if (!valid())
            return info;
        hb_buffer_clear_contents(m_buffer);
        const uint16_t unit = placeholder ? 0xFFFD : static_cast<uint16_t>(text[0]);
        hb_buffer_add_utf16(m_buffer, &unit, 1, 0, 1);
        hb_buffer_set_direction(m_buffer, turned ? HB_DIRECTION_TTB : HB_DIRECTION_LTR);
        hb_buffer_set_language(m_buffer, hb_language_from_string("ja", -1));
        hb_buffer_guess_segment_properties(m_buffer);
        // One character at a time, as the device writes it: no kerning, no ligatures; the
        // vertical forms in top-to-bottom direction.
        static const hb_feature_t kFeatures[] = {
            {HB_TAG('k', 'e', 'r', 'n'), 0, 0, ~0u}, {HB_TAG('l', 'i', 'g', 'a'), 0, 0, ~0u},
            {HB_TAG('c', 'l', 'i', 'g'), 0, 0, ~0u}, {HB_TAG('c', 'a', 'l', 't'), 0, 0, ~0u},
            {HB_TAG('v', 'k', 'r', 'n'), 0, 0, ~0u}, {HB_TAG('v', 'r', 't', '2'), 1, 0, ~0u},
        };
        hb_shape(m_font, m_buffer, kFeatures, turned ? 6 : 5);
        unsigned count = 0;
        const hb_glyph_info_t* glyphs = hb_buffer_get_glyph_infos(m_buffer, &count);
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(m_buffer, &count);
        if (count == 0)
            return info;
        info.index = placeholder ? 0 : glyphs[0].codepoint;
        info.advance = static_cast<float>(turned ? -positions[0].y_advance : positions[0].x_advance);
        info.offsetX = static_cast<float>(positions[0].x_offset);
        info.offsetY = static_cast<float>(positions[0].y_offset);
        return info;
    }

    QRawFont m_raw;
    double m_ascent = 0;
    double m_descent = 0;
    hb_font_t* m_font = nullptr;
    hb_buffer_t* m_buffer = nullptr;
    std::vector<GlyphInfo> m_horizontal; // by code: a byte, or lead << 8 | trail
    std::vector<GlyphInfo> m_vertical;   // double-byte codes in the vertical face
    std::unordered_map<quint32, QPainterPath> m_outlines;
};

// Calls `f(code, twoBytes)` for each character of code page 932 `text`: a lead byte with a trail
// byte after it is one double-byte character, every other byte a single-byte one.
template <typename F> void forEachCharacter(std::string_view text, F f) {
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (isLead(b) && i + 1 < text.size() && isTrail(static_cast<unsigned char>(text[i + 1]))) {
            f(static_cast<std::uint16_t>(b << 8 | static_cast<unsigned char>(text[i + 1])), true);
            i += 2;
        } else {
            f(static_cast<std::uint16_t>(b), false);
            ++i;
        }
    }
}

} // namespace

void placeGlyphs(const TextOp& op, std::vector<PlacedGlyph>& out, double& fontScale) {
    out.clear();
    Face& face = Face::instance();
    fontScale = 0;
    if (!face.valid() || op.height <= 0)
        return;
    const double h = op.height;
    const double k = h / face.cellUnits();
    fontScale = k;
    const double baseline = std::nearbyint(face.ascent() * k);
    double pen = 0;
    forEachCharacter(op.text, [&](std::uint16_t code, bool twoBytes) {
        const GlyphInfo& g = face.glyph(code, twoBytes, op.face);
        if (g.turned) {
            // Upright in a column whose x runs across the cells (−h to 0) and whose y runs along
            // the baseline; the frame is that column turned: x = column y, y = −column x.
            const double columnX = -h / 2 + g.offsetX * k;
            const double columnY = pen - g.offsetY * k;
            out.push_back({g.index, true, QPointF(std::nearbyint(columnY), std::nearbyint(-columnX))});
        } else {
            out.push_back(
                {g.index, false,
                 QPointF(std::nearbyint(pen + g.offsetX * k), baseline - std::nearbyint(g.offsetY * k))});
        }
        pen += g.advance * k + op.extraSpacing;
    });
}

double fontUnitsPerEm() {
    return Face::instance().unitsPerEm();
}

const QPainterPath& glyphOutline(quint32 index) {
    return Face::instance().outline(index);
}

} // namespace zelkova::plot
