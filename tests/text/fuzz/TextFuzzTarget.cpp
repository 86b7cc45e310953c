// The fuzz target of the text layer: the code-page-932 codec, the line readers and the strict
// number conversion. The input's first byte picks the line reader's buffer size, the rest is the
// text. Checked on every input:
// - the codec round-trips every text through Unicode: what any byte sequence decodes to encodes to
//   bytes that decode to it again, the same through UTF-16 and through UTF-8 (the bytes themselves
//   come back unless they hold one of the characters with two codes, which encode to the code
//   Windows writes);
// - splitLines and LineReader (over a file, with a small buffer so that line ends straddle
//   buffers) give the lines of a plain model of the rule: CR LF, a lone CR and a lone LF each end
//   a line, a Ctrl-Z ends the text, a last line without a line end counts;
// - lineEndsOf agrees with the line ends the model saw;
// - parseInteger of the text's first bytes agrees with a plain model (and never overflows, which
//   the sanitizer would stop at).
#include "text/Cp932.h"
#include "text/Lines.h"
#include "text/Numbers.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zelkova::text;

void check(bool condition) {
    if (!condition)
        std::abort();
}

struct ModelLines {
    std::vector<std::string> lines;
    bool crlf = false, cr = false, lf = false;
};

ModelLines modelLines(std::string_view text) {
    ModelLines model;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\x1a')
            break;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                model.crlf = true;
                ++i;
            } else {
                (c == '\r' ? model.cr : model.lf) = true;
            }
            model.lines.push_back(line);
            line.clear();
            open = false;
            continue;
        }
        line += c;
        open = true;
    }
    if (open)
        model.lines.push_back(line);
    return model;
}

// Decimal and "$"/"0x" hexadecimal with an optional sign and leading blanks or tabs, 32 bits.
std::optional<std::int32_t> modelInteger(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == s.size())
        return std::nullopt;
    unsigned long long value = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0)
            return std::nullopt;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (base == 16) {
        const std::uint32_t bits =
            negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
        return static_cast<std::int32_t>(bits);
    }
    const long long signedValue = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    if (signedValue < INT32_MIN || signedValue > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(signedValue);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t bufferSize = 1 + data[0] % 64;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::u16string decoded = decodeCp932(text);
    const std::string encoded = encodeCp932(decoded);
    check(decodeCp932(encoded) == decoded);
    check(encodeCp932(decodeCp932(encoded)) == encoded);
    check(utf8ToCp932(cp932ToUtf8(text)) == encoded);
    check(utf16ToUtf8(decoded) == cp932ToUtf8(text));

    const ModelLines model = modelLines(text);
    const std::vector<std::string_view> split = splitLines(text);
    check(split.size() == model.lines.size());
    for (std::size_t i = 0; i < split.size(); ++i)
        check(split[i] == model.lines[i]);

    const int kinds = int(model.crlf) + int(model.cr) + int(model.lf);
    const LineEnds ends = lineEndsOf(text);
    check(kinds == 0  ? ends == LineEnds::None
          : kinds > 1 ? ends == LineEnds::Mixed
                      : ends == (model.crlf ? LineEnds::CrLf
                                 : model.lf ? LineEnds::Lf
                                            : LineEnds::Cr));

    // fmemopen takes no empty buffer; an empty text has no lines, as checked above.
    if (!text.empty()) {
        std::FILE* file = ::fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
        check(file != nullptr);
        LineReader reader(file, bufferSize);
        std::string line;
        std::size_t count = 0;
        while (reader.next(line)) {
            check(count < model.lines.size() && line == model.lines[count]);
            ++count;
        }
        check(count == model.lines.size());
        std::fclose(file);
    }

    const std::string_view number = text.substr(0, 24);
    check(parseInteger(number) == modelInteger(number));
    (void)parseDecimal(number);
    (void)parseReal(number);
    return 0;
}
