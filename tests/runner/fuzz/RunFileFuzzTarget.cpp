// The fuzz target of run files: the input is a run file (code page 932 bytes), read line by line
// as the runner reads it. Checked on every input:
// - each line gets the kind its first byte and the comment blocks give it, by a plain model;
// - the names of READ, WRITE and program lines never come from beyond column 254 and decode to
//   UTF-8 and back to bytes that name the same characters;
// - the value rule round-trips: any byte string, quoted with its apostrophes doubled and with
//   blanks and control bytes around it, and followed by anything after the closing apostrophe,
//   is read back as itself; without its closing apostrophe it loses its last character;
// - run-file detection agrees with a plain model.
#include "runner/RunFileDetection.h"
#include "runner/RunFileLines.h"
#include "text/Cp932.h"
#include "text/Dbcs.h"
#include "text/Lines.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zelkova::runner;

void check(bool condition) {
    if (!condition)
        std::abort();
}

std::string quoted(std::string_view value) {
    std::string text = "'";
    for (const char c : value) {
        text += c;
        if (c == '\'')
            text += '\'';
    }
    return text;
}

bool isTrimmed(char c) {
    return static_cast<unsigned char>(c) < 0x21;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // The lines as the runner sees them.
    const std::vector<std::string_view> lines = zelkova::text::splitLines(input);
    CommentBlocks blocks;
    bool inBlock = false;
    for (const std::string_view line : lines) {
        const LineKind kind = blocks.classify(line);
        LineKind expected = LineKind::Comment;
        if (line.empty()) {
            expected = LineKind::Empty;
        } else if (line[0] == '{') {
            inBlock = true;
        } else if (line[0] == '}') {
            inBlock = false;
        } else if (!inBlock) {
            const char c = line[0];
            expected = c == 'R' || c == 'r'   ? LineKind::Read
                       : c == 'W' || c == 'w' ? LineKind::Write
                       : c == 'P' || c == 'p' ? LineKind::Program
                                              : LineKind::Comment;
        }
        check(kind == expected && blocks.inBlock() == inBlock);

        const Binding binding = bindingOf(line);
        const std::string path = programPathOf(line);
        check(binding.actualName.size() < kValueLastColumn && path.size() < kValueLastColumn);
        check(binding.unitName.size() <= line.size());
        for (const std::string* name : {&binding.unitName, &binding.actualName, &path}) {
            const std::string utf8 = zelkova::text::cp932ToUtf8(*name);
            check(zelkova::text::cp932ToUtf8(zelkova::text::utf8ToCp932(utf8)) == utf8);
        }
    }

    bool marker = false;
    for (std::size_t i = 0; i < lines.size() && i < kDetectionLines; ++i)
        marker = marker || (!lines[i].empty() &&
                            std::string_view("rRwWpP").find(lines[i][0]) != std::string_view::npos);
    check(isRunFile(lines) == (lines.size() < kExaminedBelowLines && marker));

    // The value rule on the whole input taken as a value.
    const std::string value(input);
    check(quotedValue(quoted(value) + "'") == value);
    check(quotedValue(" \t" + quoted(value) + "' trailing 'words'\x01 ") == value);
    // Without the closing apostrophe: trailing blanks and control bytes go first, then the last
    // character (a double-byte character whole) is taken for the lost quote.
    std::string open = quoted(value);
    while (!open.empty() && isTrimmed(open.back()))
        open.pop_back();
    if (!open.empty() && open.find('\'', 1) == std::string::npos) {
        const std::string inside = open.substr(1);
        std::size_t last = 0;
        for (std::size_t at = 0; at < inside.size(); at += zelkova::text::charLengthAt(inside, at))
            last = at;
        check(quotedValue(open) == inside.substr(0, last));
    }
    return 0;
}
