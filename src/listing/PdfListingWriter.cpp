// The listing PDF writer.
#include "listing/PdfListingWriter.h"

#include "text/Failure.h"

#include <hb-subset.h>
#include <hb.h>
#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace zelkova::listing {

namespace {

constexpr std::uint32_t tag(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(d));
}

// The tables a subset of a TrueType font for a PDF needs, and the character map for the text that
// a reader extracts. Hinting is left out, as the painter path leaves it out.
constexpr std::uint32_t kFontTables[] = {
    tag('h', 'e', 'a', 'd'), tag('h', 'h', 'e', 'a'), tag('m', 'a', 'x', 'p'), tag('l', 'o', 'c', 'a'),
    tag('g', 'l', 'y', 'f'), tag('h', 'm', 't', 'x'), tag('c', 'm', 'a', 'p'), tag('O', 'S', '/', '2'),
    tag('p', 'o', 's', 't'), tag('n', 'a', 'm', 'e')};

int readU16(std::string_view table, std::size_t offset) {
    if (offset + 2 > table.size())
        return 0;
    return static_cast<unsigned char>(table[offset]) << 8 | static_cast<unsigned char>(table[offset + 1]);
}
int readS16(std::string_view table, std::size_t offset) {
    const int value = readU16(table, offset);
    return value >= 0x8000 ? value - 0x10000 : value;
}

struct HbBlob {
    hb_blob_t* blob;
    explicit HbBlob(hb_blob_t* b) : blob(b) {}
    ~HbBlob() { hb_blob_destroy(blob); }
    HbBlob(const HbBlob&) = delete;
    HbBlob& operator=(const HbBlob&) = delete;
    std::string_view bytes() const {
        unsigned length = 0;
        const char* data = hb_blob_get_data(blob, &length);
        return {data, length};
    }
};

// The font as the document embeds it.
class EmbeddedFont {
public:
    explicit EmbeddedFont(const FontTableSource& tables) {
        hb_face_t* builder = hb_face_builder_create();
        m_tables.reserve(std::size(kFontTables));
        for (const std::uint32_t t : kFontTables) {
            std::string bytes = tables(t);
            if (bytes.empty())
                continue;
            m_tables.emplace_back(t, std::move(bytes));
            const std::string& kept = m_tables.back().second;
            hb_blob_t* blob = hb_blob_create(kept.data(), static_cast<unsigned>(kept.size()),
                                             HB_MEMORY_MODE_READONLY, nullptr, nullptr);
            hb_face_builder_add_table(builder, t, blob);
            hb_blob_destroy(blob);
        }
        hb_blob_t* font = hb_face_reference_blob(builder);
        hb_face_destroy(builder);
        m_face = hb_face_create(font, 0);
        hb_blob_destroy(font);
        m_font = hb_font_create(m_face);

        const std::string_view head = table(tag('h', 'e', 'a', 'd'));
        const std::string_view hhea = table(tag('h', 'h', 'e', 'a'));
        const std::string_view os2 = table(tag('O', 'S', '/', '2'));
        m_hmtx = table(tag('h', 'm', 't', 'x'));
        const int fsType = readU16(os2, 8);
        m_usable = !head.empty() && !hhea.empty() && !m_hmtx.empty() &&
                   !table(tag('g', 'l', 'y', 'f')).empty() && !table(tag('l', 'o', 'c', 'a')).empty() &&
                   !table(tag('m', 'a', 'x', 'p')).empty() && !(fsType & 0x200) && fsType != 2;
        m_unitsPerEm = readU16(head, 18);
        if (m_unitsPerEm <= 0)
            m_usable = false;
        m_bbox[0] = readS16(head, 36);
        m_bbox[1] = readS16(head, 38);
        m_bbox[2] = readS16(head, 40);
        m_bbox[3] = readS16(head, 42);
        // Ascent and descent as FreeType gives them: the horizontal header's, or the OS/2 table's
        // when the header has none.
        m_ascent = readS16(hhea, 4);
        m_descent = readS16(hhea, 6);
        if (m_ascent == 0 && m_descent == 0 && !os2.empty()) {
            m_ascent = readS16(os2, 68);
            m_descent = readS16(os2, 70);
            if (m_ascent == 0 && m_descent == 0) {
                m_ascent = readU16(os2, 74);
                m_descent = -readU16(os2, 76);
            }
        }
        m_horizontalMetrics = readU16(hhea, 34);
        m_lineThickness = readS16(table(tag('p', 'o', 's', 't')), 10);
        m_glyphCount = static_cast<std::uint32_t>(readU16(table(tag('m', 'a', 'x', 'p')), 4));

        char name[128] = {};
        unsigned size = sizeof name;
        hb_ot_name_get_utf8(m_face, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &size, name);
        for (const char c : std::string_view(name, size))
            if (c > 0x20 && c < 0x7F && !std::strchr("()<>[]{}/%#", c))
                m_postscriptName.push_back(c);
        if (m_postscriptName.empty())
            m_postscriptName = "Font";
    }
    ~EmbeddedFont() {
        hb_font_destroy(m_font);
        hb_face_destroy(m_face);
    }
    EmbeddedFont(const EmbeddedFont&) = delete;
    EmbeddedFont& operator=(const EmbeddedFont&) = delete;

    bool usable() const { return m_usable; }
    std::uint32_t glyphCount() const { return m_glyphCount; }

    std::uint32_t glyphOf(char32_t c) const {
        hb_codepoint_t glyph = 0;
        return hb_font_get_nominal_glyph(m_font, c, &glyph) ? glyph : 0;
    }

    // The advance width in font units, as the horizontal metrics give it.
    int advance(std::uint32_t glyph) const {
        if (m_horizontalMetrics <= 0)
            return 0;
        const std::uint32_t entry =
            std::min<std::uint32_t>(glyph, static_cast<std::uint32_t>(m_horizontalMetrics - 1));
        return readU16(m_hmtx, entry * 4u);
    }

    // For each glyph of `used`, the smallest character of the basic plane that maps to it (0 when
    // none does), as the painter path's character map for text extraction chooses.
    std::vector<char32_t> characters(const std::vector<std::uint8_t>& used) const {
        std::vector<char32_t> out(used.size(), 0);
        hb_set_t* unicodes = hb_set_create();
        hb_face_collect_unicodes(m_face, unicodes);
        hb_codepoint_t c = HB_SET_VALUE_INVALID;
        while (hb_set_next(unicodes, &c) && c < 0x10000) {
            const std::uint32_t glyph = glyphOf(c);
            if (glyph < used.size() && used[glyph] && out[glyph] == 0)
                out[glyph] = c;
        }
        hb_set_destroy(unicodes);
        return out;
    }

    // The subset of the used glyphs, glyph indexes kept; empty when the subsetter fails.
    std::string subset(const std::vector<std::uint8_t>& used) const {
        hb_subset_input_t* input = hb_subset_input_create_or_fail();
        if (!input)
            return {};
        hb_set_t* glyphs = hb_subset_input_glyph_set(input);
        hb_set_add(glyphs, 0);
        for (std::size_t g = 0; g < used.size(); ++g)
            if (used[g])
                hb_set_add(glyphs, static_cast<hb_codepoint_t>(g));
        // The glyphs keep their indexes, so the pages written before the subset stay right.
        hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
        hb_face_t* result = hb_subset_or_fail(m_face, input);
        hb_subset_input_destroy(input);
        if (!result)
            return {};
        const HbBlob blob(hb_face_reference_blob(result));
        hb_face_destroy(result);
        return std::string(blob.bytes());
    }

    int unitsPerEm() const { return m_unitsPerEm; }
    int ascent() const { return m_ascent; }
    int descent() const { return m_descent; }
    const int* bbox() const { return m_bbox; }
    int lineThickness() const { return m_lineThickness; }
    const std::string& postscriptName() const { return m_postscriptName; }

private:
    std::string_view table(std::uint32_t t) const {
        for (const auto& [kept, bytes] : m_tables)
            if (kept == t)
                return bytes;
        return {};
    }

    std::vector<std::pair<std::uint32_t, std::string>> m_tables;
    hb_face_t* m_face = nullptr;
    hb_font_t* m_font = nullptr;
    bool m_usable = false;
    std::string_view m_hmtx;
    int m_unitsPerEm = 0;
    int m_bbox[4] = {};
    int m_ascent = 0;
    int m_descent = 0;
    int m_horizontalMetrics = 0;
    int m_lineThickness = 0;
    std::uint32_t m_glyphCount = 0;
    std::string m_postscriptName;
};

// zlib's compressor, set up once and reset for each stream.
class Deflater {
public:
    explicit Deflater(int level) : m_ready(deflateInit(&m_stream, level) == Z_OK) {}
    ~Deflater() {
        if (m_ready)
            deflateEnd(&m_stream);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // The zlib stream of `raw`; empty when zlib fails.
    std::string compress(std::string_view raw) {
        if (!m_ready)
            return {};
        deflateReset(&m_stream);
        const std::size_t bound = deflateBound(&m_stream, static_cast<uLong>(raw.size()));
        if (bound > m_capacity) {
            m_buffer = std::make_unique_for_overwrite<char[]>(bound);
            m_capacity = bound;
        }
        m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
        m_stream.avail_in = static_cast<uInt>(raw.size());
        m_stream.next_out = reinterpret_cast<Bytef*>(m_buffer.get());
        m_stream.avail_out = static_cast<uInt>(bound);
        if (deflate(&m_stream, Z_FINISH) != Z_STREAM_END)
            return {};
        return std::string(m_buffer.get(), m_stream.total_out);
    }

private:
    z_stream m_stream{};
    bool m_ready;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity = 0;
};

// zlib's level for the pages and the font: of the fast levels the one that packs a listing's
// pages best (level 1 leaves them a fifth larger and is no faster).
constexpr int kPageLevel = 3;

// The pages' streams are compressed by worker threads while the job goes on; the thread that
// writes the document helps with what is left.
class PageCompressor {
public:
    explicit PageCompressor(int level) : m_level(level), m_own(level) {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 0; i + 1 < std::max(2u, cores); ++i)
            m_workers.emplace_back([this] { work(); });
    }
    ~PageCompressor() {
        {
            std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_ready.notify_all();
        for (std::thread& worker : m_workers)
            worker.join();
    }
    PageCompressor(const PageCompressor&) = delete;
    PageCompressor& operator=(const PageCompressor&) = delete;

    // The next page (in order) is complete. When the workers fall behind, the caller compresses a
    // page itself, so that no more than a few pages wait uncompressed.
    void add(std::string raw) {
        Job own;
        bool help = false;
        {
            std::lock_guard lock(m_mutex);
            m_done.emplace_back();
            m_queue.push_back({m_done.size() - 1, std::move(raw)});
            if (m_queue.size() > 2 * m_workers.size() + 2) {
                own = take();
                help = true;
            }
        }
        m_ready.notify_one();
        if (help)
            run(own, m_own);
    }

    // Every page's compressed stream, once all are done.
    std::vector<std::string>& finish() {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(m_mutex);
                if (m_queue.empty()) {
                    m_allDone.wait(lock, [this] { return m_busy == 0; });
                    return m_done;
                }
                job = take();
            }
            run(job, m_own);
        }
    }

private:
    struct Job {
        std::size_t index = 0;
        std::string raw;
    };

    Job take() {
        Job job = std::move(m_queue.front());
        m_queue.pop_front();
        ++m_busy;
        return job;
    }

    void run(Job& job, Deflater& deflater) {
        std::string packed = deflater.compress(job.raw);
        std::string().swap(job.raw);
        {
            std::lock_guard lock(m_mutex);
            m_done[job.index] = std::move(packed);
            --m_busy;
        }
        m_allDone.notify_all();
    }

    void work() {
        Deflater deflater(m_level);
        for (;;) {
            Job job;
            {
                std::unique_lock lock(m_mutex);
                m_ready.wait(lock, [this] { return m_closing || !m_queue.empty(); });
                if (m_queue.empty())
                    return;
                job = take();
            }
            run(job, deflater);
        }
    }

    int m_level;
    Deflater m_own; // the producer's, when it helps
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::condition_variable m_allDone;
    std::deque<Job> m_queue;
    std::vector<std::string> m_done;
    int m_busy = 0;
    bool m_closing = false;
    std::vector<std::thread> m_workers;
};

// A glyph index as a two-byte code inside a string: up to four bytes, as the bytes a string cannot
// hold as they are (parentheses, backslash, line ends) are escaped.
struct GlyphCode {
    char bytes[4] = {};
    std::uint8_t size = 0;

    explicit GlyphCode(std::uint32_t glyph = 0) {
        for (const auto byte : {static_cast<unsigned char>(glyph >> 8), static_cast<unsigned char>(glyph)}) {
            if (byte == '(' || byte == ')' || byte == '\\' || byte == '\r' || byte == '\n') {
                bytes[size++] = '\\';
                bytes[size++] = byte == '\r' ? 'r' : byte == '\n' ? 'n' : static_cast<char>(byte);
            } else {
                bytes[size++] = static_cast<char>(byte);
            }
        }
    }
};

// A page's content as it is written: bytes appended at the end through a cursor, into a buffer
// kept from page to page.
class PageText {
public:
    void put(std::string_view bytes) {
        std::memcpy(room(bytes.size()), bytes.data(), bytes.size());
        m_cursor += bytes.size();
    }
    // A glyph's code in the string being shown (one is begun when none is).
    void code(const GlyphCode& code) {
        char* p = room(5);
        if (!m_inString) {
            *p++ = '(';
            m_inString = true;
        }
        std::memcpy(p, code.bytes, 4);
        m_cursor = p + code.size;
    }
    // Shows the string being built, if any.
    void endString() {
        if (m_inString) {
            put(")Tj");
            m_inString = false;
        }
    }
    // A number as appendPdfNumber writes it, blank included.
    void number(double value) {
        if (value == std::trunc(value) && std::abs(value) < 2147483648.0) {
            char* p = room(24);
            const auto [end, ec] = std::to_chars(p, p + 23, static_cast<long long>(value));
            *end = ' ';
            m_cursor = end + 1;
            return;
        }
        m_scratch.clear();
        appendPdfNumber(m_scratch, value);
        put(m_scratch);
    }
    // A number that reads back as exactly `value`: the shortest such decimal, blank included.
    // The few values a listing needs are formatted once.
    void exactNumber(double value) {
        for (const auto& [known, text] : m_exact)
            if (known == value) {
                put(text);
                return;
            }
        char buffer[400];
        const auto [end, ec] =
            std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::fixed);
        *end = ' ';
        const std::string_view text(buffer, static_cast<std::size_t>(end + 1 - buffer));
        if (m_exact.size() < 16)
            m_exact.emplace_back(value, std::string(text));
        put(text);
    }
    // The bytes written, leaving the page empty.
    std::string take() {
        std::string out(m_bytes.get(), static_cast<std::size_t>(m_cursor - m_bytes.get()));
        m_cursor = m_bytes.get();
        return out;
    }

private:
    char* room(std::size_t n) {
        if (static_cast<std::size_t>(m_limit - m_cursor) < n) {
            const auto size = static_cast<std::size_t>(m_cursor - m_bytes.get());
            const std::size_t capacity = std::max<std::size_t>(
                {static_cast<std::size_t>(m_limit - m_bytes.get()) * 2, size + n, 1 << 16});
            auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
            if (size)
                std::memcpy(bytes.get(), m_bytes.get(), size);
            m_bytes = std::move(bytes);
            m_cursor = m_bytes.get() + size;
            m_limit = m_bytes.get() + capacity;
        }
        return m_cursor;
    }
    std::unique_ptr<char[]> m_bytes;
    char* m_cursor = nullptr;
    char* m_limit = nullptr;
    std::string m_scratch;
    std::vector<std::pair<double, std::string>> m_exact;
    bool m_inString = false;
};

void appendInteger(std::string& out, long long value) {
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, end);
}

void appendHex4(std::string& out, std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const char digits[4] = {kDigits[(value >> 12) & 15], kDigits[(value >> 8) & 15],
                            kDigits[(value >> 4) & 15], kDigits[value & 15]};
    out.append(digits, 4);
}

// Writes the document's bytes and remembers where each object starts.
class DocumentFile {
public:
    DocumentFile(const std::string& fileName, std::string failureText)
        : m_failureText(std::move(failureText)), m_file(std::fopen(fileName.c_str(), "wb")) {
        if (!m_file)
            throw text::Failure(m_failureText);
        std::setvbuf(m_file, nullptr, _IOFBF, 1 << 20);
    }
    ~DocumentFile() {
        if (m_file)
            std::fclose(m_file);
    }
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    void put(std::string_view bytes) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
            throw text::Failure(m_failureText);
        m_offset += bytes.size();
    }
    // Begins object `number` (objects are numbered from 1 in the order of their numbers' choice).
    void beginObject(std::size_t number) {
        if (m_offsets.size() < number)
            m_offsets.resize(number, 0);
        m_offsets[number - 1] = m_offset;
        put(std::to_string(number) + " 0 obj\n");
    }
    void stream(std::size_t number, std::string_view dictionary, std::string_view bytes) {
        beginObject(number);
        put("<<");
        put(dictionary);
        put("/Length " + std::to_string(bytes.size()) + ">>\nstream\n");
        put(bytes);
        put("\nendstream\nendobj\n");
    }
    void finish(std::size_t root, std::size_t info) {
        const std::size_t xref = m_offset;
        std::string table = "xref\n0 " + std::to_string(m_offsets.size() + 1) + "\n0000000000 65535 f \n";
        char entry[24];
        for (const std::size_t offset : m_offsets) {
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
            table += entry;
        }
        table += "trailer\n<</Size " + std::to_string(m_offsets.size() + 1) + "/Root " +
                 std::to_string(root) + " 0 R/Info " + std::to_string(info) + " 0 R>>\nstartxref\n" +
                 std::to_string(xref) + "\n%%EOF\n";
        put(table);
        std::FILE* file = m_file;
        m_file = nullptr;
        if (std::fclose(file) != 0)
            throw text::Failure(m_failureText);
    }

private:
    std::string m_failureText;
    std::FILE* m_file;
    std::size_t m_offset = 0;
    std::vector<std::size_t> m_offsets;
};

// A text string of the document information: UTF-16BE with its byte order mark, in hexadecimal.
std::string infoText(std::string_view utf8) {
    std::string out = "<FEFF";
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c = 0xFFFD;
        std::size_t length = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            c = (b & 0x1Fu) << 6 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            length = 2;
        } else if ((b & 0xF0) == 0xE0 && i + 2 < utf8.size()) {
            c = (b & 0x0Fu) << 12 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6 |
                (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
            length = 3;
        } else if ((b & 0xF8) == 0xF0 && i + 3 < utf8.size()) {
            c = (b & 0x07u) << 18 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 12 |
                (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu) << 6 |
                (static_cast<unsigned char>(utf8[i + 3]) & 0x3Fu);
            length = 4;
        }
        i += length;
        if (c >= 0x10000) {
            c -= 0x10000;
            appendHex4(out, 0xD800 + (c >> 10));
            appendHex4(out, 0xDC00 + (c & 0x3FF));
        } else {
            appendHex4(out, c);
        }
    }
    return out + ">";
}

} // namespace

void appendPdfNumber(std::string& out, double value) {
    // Whole numbers, the usual case in a listing, go the short way to the same digits.
    if (value == std::trunc(value) && std::abs(value) < 2147483648.0) {
        appendInteger(out, static_cast<long long>(value));
        out.push_back(' ');
        return;
    }
    if (!std::isfinite(value) || std::abs(value) > std::numeric_limits<std::uint32_t>::max()) {
        out += "0 ";
        return;
    }
    if (value < 0) {
        out.push_back('-');
        value = -value;
    }
    double whole = 0;
    const double fraction = std::modf(value, &whole);
    auto integer = static_cast<std::uint32_t>(whole);
    int digits = static_cast<int>(fraction * 1000000000);
    if (digits == 1000000000) {
        ++integer;
        digits = 0;
    }
    char reversed[16];
    int count = 0;
    while (integer) {
        reversed[count++] = static_cast<char>('0' + integer % 10);
        integer /= 10;
    }
    int place = 100000000;
    if (count == 0) {
        out.push_back('0');
    } else {
        while (count) {
            out.push_back(reversed[--count]);
            place /= 10;
            digits /= 10;
        }
    }
    if (digits) {
        out.push_back('.');
        while (place) {
            out.push_back(static_cast<char>('0' + (digits / place) % 10));
            place /= 10;
        }
    }
    out.push_back(' ');
}

struct PdfListingWriter::State {
    PdfSheet sheet;
    EmbeddedFont font;
    std::string failureText;
    std::string matrix; // the page's device-pixel transform, written at the top of every page
    PageText page;      // the page being written
    bool pageOpen = false;
    double currentSpacing = 0; // Tc on the page being written
    int pages = 0;
    std::vector<std::uint8_t> used; // by glyph index
    std::vector<GlyphCode> codes;   // by glyph index
    std::vector<double> widths;     // W of each glyph as a reader takes it from the document; NaN: not yet
    PageCompressor compressor{kPageLevel};

    void markUsed(std::uint32_t glyph) {
        if (glyph < used.size())
            used[glyph] = 1;
    }

    // The glyph's width in the document (font units scaled to 1000 a font size), as written and
    // read back.
    double width(std::uint32_t glyph) {
        if (glyph >= widths.size())
            return 0;
        double& w = widths[glyph];
        if (std::isnan(w)) {
            std::string text;
            appendPdfNumber(text, font.advance(glyph) * (1000. / font.unitsPerEm()));
            w = 0;
            std::from_chars(text.data(), text.data() + text.size() - 1, w);
        }
        return w;
    }

    // How far a reader moves the pen past the glyph at `pixelSize` without character spacing.
    double readerAdvance(std::uint32_t glyph, double pixelSize) { return width(glyph) * 0.001 * pixelSize; }

    // The character spacing that takes the pen `step` on past a glyph of `advance` (written
    // exactly, see PageText::exactNumber).
    static double characterSpacing(double step, double advance) {
        const double tc = step - advance;
        return std::abs(tc) < 1e-9 ? 0 : tc;
    }

    State(const PdfSheet& s, const FontTableSource& tables, std::string failure)
        : sheet(s), font(tables), failureText(std::move(failure)) {
        // Points per device pixel, y up, with the printable area's corner at the origin.
        const double scale = 72. / 1. / sheet.resolution;
        appendPdfNumber(matrix, scale);
        appendPdfNumber(matrix, 0);
        appendPdfNumber(matrix, 0);
        appendPdfNumber(matrix, -scale);
        appendPdfNumber(matrix, 0. + sheet.paintLeft * scale);
        appendPdfNumber(matrix, sheet.heightPoints + sheet.paintTop * -scale);
        matrix += "cm\n";
        used.resize(std::max<std::uint32_t>(font.glyphCount(), 1), 0);
        widths.resize(used.size(), std::numeric_limits<double>::quiet_NaN());
        codes.reserve(used.size());
        for (std::uint32_t g = 0; g < used.size(); ++g)
            codes.emplace_back(g);
    }

    void closePage() {
        if (!pageOpen)
            return;
        compressor.add(page.take());
        pageOpen = false;
    }
};

PdfListingWriter::PdfListingWriter(const PdfSheet& sheet, const FontTableSource& fontTables,
                                   std::string failureText)
    : m_state(std::make_unique<State>(sheet, fontTables, std::move(failureText))) {}

PdfListingWriter::~PdfListingWriter() = default;

bool PdfListingWriter::usable() const {
    return m_state->font.usable();
}

std::uint32_t PdfListingWriter::glyphOf(char32_t character) const {
    return m_state->font.glyphOf(character);
}

int PdfListingWriter::pages() const {
    return m_state->pages;
}

void PdfListingWriter::beginPage() {
    State& s = *m_state;
    s.closePage();
    s.page.put(s.matrix);
    s.pageOpen = true;
    s.currentSpacing = 0;
    ++s.pages;
}

// Each word (glyphs that stand next to each other on a line) is placed with one Td from the word
// before it (the first from the origin), as the painter path places each glyph, so that the same
// numbers give the same places when the document is read back. Inside a word the character
// spacing moves each glyph from its advance width onto the next one's place; the word's last glyph
// keeps its own width, which a reader takes for the end of the word, as in the painter's sheets.
// That is a few bytes a glyph instead of a Td and a Tj each, which leaves far less to compress.
void PdfListingWriter::drawGlyphs(double pixelSize, std::span<const PdfGlyph> glyphs) {
    State& s = *m_state;
    if (!s.pageOpen)
        beginPage();
    if (glyphs.empty())
        return;
    PageText& out = s.page;
    out.put("BT\n/F1 ");
    out.number(pixelSize);
    out.put("Tf 1 0 0 -1 0 0 Tm\n");
    // Glyphs join a word when a reader would not break a word between them either: less than a
    // twentieth of the font size from touching.
    const double joinTolerance = pixelSize / 20;
    double lastX = 0;
    double lastY = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const PdfGlyph& g = glyphs[i];
        if (!inWord) {
            out.number(g.x - lastX);
            out.number(lastY - g.y);
            out.put("Td");
            lastX = g.x;
            lastY = g.y;
        }
        // The spacing after this glyph: onto the next glyph's place, or none at the word's end.
        double tc = 0;
        inWord = false;
        if (i + 1 < glyphs.size()) {
            const PdfGlyph& next = glyphs[i + 1];
            const double advance = s.readerAdvance(g.glyph, pixelSize);
            const double step = next.x - g.x;
            if (next.y == g.y && step > 0 && std::abs(step - advance) <= joinTolerance) {
                tc = State::characterSpacing(step, advance);
                inWord = true;
            }
        }
        if (tc != s.currentSpacing) {
            out.endString();
            out.put(" ");
            out.exactNumber(tc);
            out.put("Tc");
            s.currentSpacing = tc;
        }
        s.markUsed(g.glyph);
        out.code(g.glyph < s.codes.size() ? s.codes[g.glyph] : GlyphCode(g.glyph));
        if (!inWord) {
            out.endString();
            out.put("\n");
        }
    }
    out.put("ET\n");
}

void PdfListingWriter::write(const std::string& fileName, std::string_view title) {
    State& s = *m_state;
    if (!s.pageOpen && s.pages == 0)
        beginPage();
    s.closePage();
    const EmbeddedFont& font = s.font;
    const std::string program = font.subset(s.used);
    if (program.empty())
        throw text::Failure(s.failureText);
    const std::string packedProgram = Deflater(kPageLevel).compress(program);
    const std::vector<char32_t> characters = font.characters(s.used);
    std::vector<std::string>& pages = s.compressor.finish();

    // Objects: 1 catalog, 2 page tree, 3 information, 4 font, 5 CID font, 6 font descriptor,
    // 7 font program, 8 character map; then a page and its contents for each sheet.
    constexpr std::size_t kCatalog = 1, kPages = 2, kInfo = 3, kFont = 4, kCidFont = 5, kDescriptor = 6,
                          kProgram = 7, kToUnicode = 8, kFirstPage = 9;
    DocumentFile file(fileName, s.failureText);
    file.put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");

    file.beginObject(kCatalog);
    file.put("<</Type/Catalog/Pages 2 0 R>>\nendobj\n");

    std::string kids;
    for (std::size_t i = 0; i < pages.size(); ++i)
        kids += std::to_string(kFirstPage + 2 * i) + " 0 R ";
    file.beginObject(kPages);
    std::string box;
    appendPdfNumber(box, s.sheet.widthPoints);
    appendPdfNumber(box, s.sheet.heightPoints);
    file.put("<</Type/Pages/Count " + std::to_string(pages.size()) + "/Kids[" + kids + "]/MediaBox[0 0 " +
             box + "]/Resources<</Font<</F1 4 0 R>>/ProcSet[/PDF/Text]>>>>\nendobj\n");

    file.beginObject(kInfo);
    file.put("<</Title" + infoText(title) + "/Producer(Zelkova)>>\nendobj\n");

    const std::string name = "/ZLKVAA+" + font.postscriptName();
    file.beginObject(kFont);
    file.put("<</Type/Font/Subtype/Type0/BaseFont" + name +
             "/Encoding/Identity-H/DescendantFonts[5 0 R]/ToUnicode 8 0 R>>\nendobj\n");

    const double scale = 1000. / font.unitsPerEm();
    std::string widths;
    for (std::size_t g = 0; g < s.used.size();) {
        if (!s.used[g]) {
            ++g;
            continue;
        }
        appendInteger(widths, static_cast<long long>(g));
        widths += "[";
        for (; g < s.used.size() && s.used[g]; ++g)
            appendPdfNumber(widths, font.advance(static_cast<std::uint32_t>(g)) * scale);
        widths += "]";
    }
    file.beginObject(kCidFont);
    file.put("<</Type/Font/Subtype/CIDFontType2/BaseFont" + name +
             "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>/FontDescriptor 6 0 R"
             "/CIDToGIDMap/Identity/W[" +
             widths + "]>>\nendobj\n");

    const int* bbox = font.bbox();
    std::string descriptor = "<</Type/FontDescriptor/FontName" + name + "/Flags 4/FontBBox[";
    appendPdfNumber(descriptor, bbox[0] * scale);
    appendPdfNumber(descriptor, bbox[1] * scale);
    appendPdfNumber(descriptor, bbox[2] * scale);
    appendPdfNumber(descriptor, bbox[3] * scale);
    descriptor += "]/ItalicAngle 0/Ascent ";
    appendPdfNumber(descriptor, font.ascent() * scale);
    descriptor += "/Descent ";
    appendPdfNumber(descriptor, font.descent() * scale);
    descriptor += "/CapHeight ";
    appendPdfNumber(descriptor, font.ascent() * scale);
    descriptor += "/StemV ";
    appendPdfNumber(descriptor, font.lineThickness() * scale);
    descriptor += "/FontFile2 7 0 R>>\nendobj\n";
    file.beginObject(kDescriptor);
    file.put(descriptor);

    file.stream(kProgram, "/Filter/FlateDecode/Length1 " + std::to_string(program.size()), packedProgram);

    std::string cmap = "/CIDInit/ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                       "/CIDSystemInfo<</Registry(Adobe)/Ordering(UCS)/Supplement 0>>def\n"
                       "/CMapName/Adobe-Identity-UCS def\n/CMapType 2 def\n"
                       "1 begincodespacerange\n<0000><FFFF>\nendcodespacerange\n";
    std::vector<std::pair<std::uint32_t, char32_t>> mapped;
    for (std::size_t g = 0; g < characters.size(); ++g)
        if (characters[g] != 0)
            mapped.emplace_back(static_cast<std::uint32_t>(g), characters[g]);
    for (std::size_t i = 0; i < mapped.size(); i += 100) {
        const std::size_t n = std::min<std::size_t>(100, mapped.size() - i);
        cmap += std::to_string(n) + " beginbfchar\n";
        for (std::size_t j = i; j < i + n; ++j) {
            cmap += "<";
            appendHex4(cmap, mapped[j].first);
            cmap += "><";
            appendHex4(cmap, mapped[j].second);
            cmap += ">\n";
        }
        cmap += "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict/CMap defineresource pop\nend\nend\n";
    file.stream(kToUnicode, "", cmap);

    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::size_t page = kFirstPage + 2 * i;
        file.beginObject(page);
        file.put("<</Type /Page\n/Parent 2 0 R/Contents " + std::to_string(page + 1) + " 0 R>>\nendobj\n");
        if (pages[i].empty())
            throw text::Failure(s.failureText);
        file.stream(page + 1, "/Filter/FlateDecode", pages[i]);
        std::string().swap(pages[i]);
    }
    file.finish(kCatalog, kInfo);
}

} // namespace zelkova::listing
