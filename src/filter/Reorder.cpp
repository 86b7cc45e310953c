// The two passes over the exchange file.
#include "filter/Reorder.h"

#include <string>

namespace zelkova::filter {

bool isPivotLine(const LineBuffer& line) {
    // The extended-colour test comes first; "lc 10" with a blank is not recognised.
    if (line.startsWith("lc10"))
        return true;
    return line.startsWith("ch") && line.field(6).compare(1, 4, "^@BM") == 0;
}

ReorderResult reorderExchange(ExchangeReader& exchange, LineSink& output) {
    ReorderResult result;
    std::string layerGroup = "lg0";
    std::string layer = "ly0";
    std::string_view read;

    // First pass: the layer records are followed on every line; from the pivot line on, every
    // line is copied.
    std::size_t counter = 0;
    while (exchange.next(read)) {
        ++counter;
        const LineBuffer line(read);
        if (line.startsWith("lg"))
            layerGroup = line.head(3);
        else if (line.startsWith("ly"))
            layer = line.head(3);
        if (result.pivotLine == 0 && isPivotLine(line)) {
            output.writeLine(layerGroup);
            output.writeLine(layer);
            result.pivotLine = counter;
        }
        if (result.pivotLine != 0)
            output.writeLine(line.trimmed());
    }
    result.linesRead = counter;

    // Second pass: the lines between the header and the pivot line.
    const std::size_t stopLine = result.pivotLine != 0 ? result.pivotLine : counter + 1;
    exchange.rewind();
    counter = 0;
    for (; counter < kHeaderLines; ++counter) {
        if (!exchange.next(read)) {
            result.outcome = ReorderResult::Outcome::ShortExchangeFile;
            return result;
        }
    }
    while (exchange.next(read)) {
        ++counter;
        if (counter >= stopLine)
            break;
        output.writeLine(LineBuffer(read).trimmed());
    }
    return result;
}

} // namespace zelkova::filter
