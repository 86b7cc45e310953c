// The fuzz target of Quillon's reader and reordering: the input's first byte picks the reader's
// block size (1 to 64 bytes, so that lines and line ends straddle blocks), the rest is an exchange
// file. Checked on every input:
// - the reader gives the first bytes of each line of a plain model of the line rule (CR LF, a lone
//   CR and a lone LF end a line, a Ctrl-Z ends the file);
// - a file of fewer than 8 lines is reported short; otherwise the output is exactly what a plain
//   model of the reordering gives: the layer group and layer in force at the first extended-colour
//   or image line, that line to the end, then lines 9 up to it; or lines 9 to the end;
// - every output line is at most 254 bytes, without line ends and without trailing blanks.
#include "filter/ExchangeReader.h"
#include "filter/Reorder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zelkova::filter;

void check(bool condition) {
    if (!condition)
        std::abort();
}

std::vector<std::string> modelLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size() && text[i] != '\x1a'; ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            line += c;
            open = true;
        }
    }
    if (open)
        lines.push_back(line);
    return lines;
}

// The line as the 254-byte buffer holds it, less its trailing blanks.
std::string trimmed(const std::string& line) {
    std::string kept = line.substr(0, 254);
    while (!kept.empty() && kept.back() == ' ')
        kept.pop_back();
    return kept;
}

// The first three characters, padded with blanks.
std::string head3(const std::string& line) {
    std::string head = line.substr(0, 3);
    head.resize(3, ' ');
    return head;
}

bool isImage(const std::string& line) {
    if (line.rfind("ch", 0) != 0)
        return false;
    const std::string buffer = line.substr(0, 254);
    int field = 0;
    for (std::size_t i = 0; i < buffer.size();) {
        while (i < buffer.size() && (buffer[i] == ' ' || buffer[i] == ','))
            ++i;
        if (i == buffer.size())
            break;
        std::size_t end = i;
        while (end < buffer.size() && buffer[end] != ' ' && buffer[end] != ',')
            ++end;
        if (++field == 6) {
            std::string sixth = buffer.substr(i, end - i);
            sixth.resize(254, ' ');
            return sixth.compare(1, 4, "^@BM") == 0;
        }
        i = end;
    }
    return false;
}

std::vector<std::string> modelOutput(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    std::string group = "lg0", layer = "ly0";
    std::size_t pivot = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("lg", 0) == 0)
            group = head3(line);
        else if (line.rfind("ly", 0) == 0)
            layer = head3(line);
        if (pivot == 0 && (line.rfind("lc10", 0) == 0 || isImage(line))) {
            pivot = i + 1;
            out.push_back(group);
            out.push_back(layer);
        }
        if (pivot != 0)
            out.push_back(trimmed(line));
    }
    const std::size_t stop = pivot != 0 ? pivot : lines.size() + 1;
    for (std::size_t number = 9; number < stop && number <= lines.size(); ++number)
        out.push_back(trimmed(lines[number - 1]));
    return out;
}

class Recording final : public LineSink {
public:
    void writeLine(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t blockSize = 1 + data[0] % 64;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::string> lines = modelLines(text);

    std::FILE* file = ::fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
    check(file != nullptr);
    ExchangeReader reader(file, "fuzz", blockSize);
    std::string_view head;
    for (const std::string& line : lines) {
        check(reader.next(head));
        check(head == std::string_view(line).substr(0, kLineLength + 1));
    }
    check(!reader.next(head));
    reader.rewind();

    Recording output;
    const ReorderResult result = reorderExchange(reader, output);
    std::fclose(file);
    check(result.linesRead == lines.size());
    check((result.outcome == ReorderResult::Outcome::ShortExchangeFile) == (lines.size() < kHeaderLines));
    for (const std::string& line : output.lines)
        check(line.size() <= kLineLength && line.find_first_of("\r\n") == std::string::npos &&
              (line.empty() || line.back() != ' ' || line.size() == 3));
    if (result.outcome == ReorderResult::Outcome::Complete)
        check(output.lines == modelOutput(lines));
    return 0;
}
