// The fuzz target of the plot reader and renderer: the input's first byte picks the viewer
// settings, the rest is a plot file, read figure by figure into pictures that are replayed and
// dumped. Any input must end without a crash, a hang or a read outside a buffer; Failure is the
// only way a figure may stop.
#include "platform/MessageBoxes.h"
#include "plot/Picture.h"
#include "plot/Reader.h"
#include "plot/Renderer.h"
#include "text/Failure.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

class SilentMessageBoxes final : public zelkova::platform::MessageBoxes {
public:
    zelkova::platform::Reply show(const zelkova::platform::Message& message) override {
        return message.defaultReply;
    }
};

// Counts the points a replay hands over, so that nothing of it is optimised away.
class CountingCanvas final : public zelkova::plot::Canvas {
public:
    void setPen(const zelkova::plot::Pen&) override {}
    void setBrush(const zelkova::plot::Brush&) override {}
    void line(zelkova::plot::Point, zelkova::plot::Point) override { points += 2; }
    void polyline(std::span<const zelkova::plot::Point> p) override { points += p.size(); }
    void polygon(std::span<const zelkova::plot::Point> p) override { points += p.size(); }
    void text(const zelkova::plot::TextOp& op) override { points += op.text.size(); }
    void image(const zelkova::plot::ImageOp&) override { ++points; }
    std::size_t points = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkova::plot;
    if (size == 0)
        return 0;
    const std::uint8_t flags = data[0];
    FigureSettings settings;
    settings.layerMode = (flags & 1) != 0;
    settings.colourMode = (flags & 2) != 0;
    static const char* const kScales[] = {"1", "100", "-1", "0.001", "1e300", "1e-300", "37.5", "0"};
    settings.scaleText = kScales[(flags >> 2) & 7];
    const bool seekMarker = (flags & 0x20) != 0;

    Reader reader(Lexer(std::string(reinterpret_cast<const char*>(data) + 1, size - 1)));
    SilentMessageBoxes messages;
    CountingCanvas canvas;
    if (seekMarker && !reader.seekStartMarker())
        return 0;
    // Every figure consumes at least one byte, so the loop ends; the guard only keeps a broken
    // reader from spinning for ever.
    for (std::size_t guard = 0; guard <= size + 1; ++guard) {
        Picture picture;
        try {
            if (readFigure(reader, picture, settings, messages) == FigureEnd::NoFurtherFigure)
                break;
        } catch (const zelkova::text::Failure&) {
            // A scale of 0 is refused before anything is read: nothing moves on.
            if (reader.atEnd() || settings.scaleText == std::string("0"))
                break;
        }
        replay(picture, canvas);
        if (size < 4096)
            (void)dumpPicture(picture).size();
    }
    return 0;
}
