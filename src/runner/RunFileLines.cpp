// Line kinds and the value rule of run files.
#include "runner/RunFileLines.h"

#include "text/Dbcs.h"

namespace zelkova::runner {

namespace {

constexpr char kApostrophe = '\'';

bool isTrimmed(char c) {
    return static_cast<unsigned char>(c) < 0x21;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isTrimmed(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isTrimmed(s.back()))
        s.remove_suffix(1);
    return s;
}

// The bytes of `line` from index `from` (0-based) up to and including column 254.
std::string_view upToLastColumn(std::string_view line, std::size_t from) {
    if (from >= kValueLastColumn || from >= line.size())
        return {};
    return line.substr(from, kValueLastColumn - from);
}

} // namespace

LineKind kindOf(std::string_view line) {
    if (line.empty())
        return LineKind::Empty;
    switch (line.front()) {
    case '{':
        return LineKind::CommentStart;
    case '}':
        return LineKind::CommentEnd;
    case 'R':
    case 'r':
        return LineKind::Read;
    case 'W':
    case 'w':
        return LineKind::Write;
    case 'P':
    case 'p':
        return LineKind::Program;
    default:
        return LineKind::Comment;
    }
}

LineKind CommentBlocks::classify(std::string_view line) {
    const LineKind kind = kindOf(line);
    if (kind == LineKind::Empty)
        return kind;
    // Inside a block only a "}" line counts, and a further "{" changes nothing.
    if (kind == LineKind::CommentStart) {
        m_inBlock = true;
        return LineKind::Comment;
    }
    if (kind == LineKind::CommentEnd) {
        m_inBlock = false;
        return LineKind::Comment;
    }
    return m_inBlock ? LineKind::Comment : kind;
}

std::string quotedValue(std::string_view text) {
    text = trimmed(text);
    if (text.empty() || text.front() != kApostrophe)
        return {};
    std::string value;
    std::size_t i = 1;
    // An apostrophe is never the trail byte of a double-byte character, so a plain byte scan finds
    // the quotes.
    while (i < text.size()) {
        const char c = text[i];
        if (c != kApostrophe) {
            value += c;
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == kApostrophe) {
            value += kApostrophe;
            i += 2;
            continue;
        }
        return value; // the closing apostrophe; what follows it is ignored
    }
    // No closing apostrophe: the last character is taken for the lost closing quote. A
    // double-byte character is dropped whole, so no lone lead byte is left behind.
    std::size_t last = 0;
    for (std::size_t at = 0; at < value.size(); at += text::charLengthAt(value, at))
        last = at;
    value.resize(value.empty() ? 0 : last);
    return value;
}

Binding bindingOf(std::string_view line) {
    const std::size_t blank = line.find(' ');
    const std::size_t equals = line.find('=');
    Binding binding;
    if (equals == std::string_view::npos)
        return binding;
    if (blank != std::string_view::npos && blank < equals)
        binding.unitName = quotedValue(line.substr(blank + 1, equals - blank - 1));
    binding.actualName = quotedValue(upToLastColumn(line, equals + 1));
    return binding;
}

std::string programPathOf(std::string_view line) {
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos)
        return {};
    return quotedValue(upToLastColumn(line, blank + 1));
}

} // namespace zelkova::runner
