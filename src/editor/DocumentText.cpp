// Line-end conversion between files and the text area.
#include "editor/DocumentText.h"

#include "text/Lines.h"

namespace zelkova::editor {

namespace {

struct LineEndCounts {
    std::size_t crlf = 0;
    std::size_t lf = 0;
    std::size_t cr = 0;
};

// A trail byte of code page 932 is never CR, LF or Ctrl-Z, and the codec never lets a lead byte
// swallow them, so the line ends can be found in the bytes themselves.
LineEndCounts countLineEnds(std::string_view text) {
    LineEndCounts counts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++counts.crlf;
                ++i;
            } else {
                ++counts.cr;
            }
        } else if (text[i] == '\n') {
            ++counts.lf;
        }
    }
    return counts;
}

std::string_view beforeCtrlZ(std::string_view bytes) {
    const std::size_t z = bytes.find(text::kCtrlZ);
    return z == std::string_view::npos ? bytes : bytes.substr(0, z);
}

} // namespace

DocumentText documentTextOf(std::string_view fileBytes) {
    const std::string_view body = beforeCtrlZ(fileBytes);
    DocumentText result;
    result.tail = std::string(fileBytes.substr(body.size()));
    result.lineEnd = prevailingLineEnd(body);
    result.lines.reserve(body.size());
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '\r') {
            if (i + 1 < body.size() && body[i + 1] == '\n')
                ++i;
            result.lines += '\n';
        } else {
            result.lines += c;
        }
    }
    return result;
}

LineEnd prevailingLineEnd(std::string_view text) {
    const LineEndCounts counts = countLineEnds(beforeCtrlZ(text));
    if (counts.crlf >= counts.lf && counts.crlf >= counts.cr)
        return LineEnd::CrLf;
    if (counts.lf >= counts.cr)
        return LineEnd::Lf;
    return LineEnd::Cr;
}

std::string fileBytesOf(std::string_view lines, LineEnd lineEnd, std::string_view tail) {
    const std::string_view end = lineEnd == LineEnd::CrLf ? "\r\n" : lineEnd == LineEnd::Lf ? "\n" : "\r";
    std::string bytes;
    bytes.reserve(lines.size() + lines.size() / 32 + tail.size());
    for (const char c : lines) {
        if (c == '\n')
            bytes += end;
        else
            bytes += c;
    }
    bytes += tail;
    return bytes;
}

} // namespace zelkova::editor
