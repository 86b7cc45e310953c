// The filter's work: the exchange file copied with everything from its first extended-colour or
// image record moved to the front, after the layer-group and layer records in force there, and
// without its 8 header lines.
#pragma once

#include "filter/ExchangeReader.h"

#include <cstddef>
#include <string_view>

namespace zelkova::filter {

// Where the filter's lines go; each line is written with its own line end.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void writeLine(std::string_view line) = 0;
};

// The lines at the head of every exchange file that the copy leaves out.
inline constexpr std::size_t kHeaderLines = 8;

// An extended-colour record ("lc10" at the start, with no blank) or a text record whose sixth field
// starts with a quote and "^@BM" (an image).
bool isPivotLine(const LineBuffer& line);

struct ReorderResult {
    enum class Outcome {
        Complete,
        // The file ended before its header did: only the lines from the pivot line on were written.
        ShortExchangeFile,
    };
    Outcome outcome = Outcome::Complete;
    std::size_t linesRead = 0; // in the first pass, that is, the lines of the file
    std::size_t pivotLine = 0; // from 1; 0 when there is none
};

// Reads the exchange file twice, from its start, and writes to `output`: when a pivot line p
// exists, the layer group and the layer in force at line p (3 characters each), then lines p to
// the end, then lines 9 to p - 1; when none does, lines 9 to the end. Each line is cut to 254
// characters and loses its trailing blanks. Throws FilterFailure when the file cannot be read.
[[nodiscard]] ReorderResult reorderExchange(ExchangeReader& exchange, LineSink& output);

} // namespace zelkova::filter
