// The rules of the text and image records.
#include "plot/TextRecords.h"

#include "plot/Renderer.h"
#include "text/Dbcs.h"
#include "text/Paths.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace zelkova::plot {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr unsigned char kHalfWidthDot = 0xA5;
constexpr std::string_view kFullWidthDot = "\x81\x45";
constexpr std::size_t kMostFullWidthDots = 5;
constexpr std::string_view kImagePrefix = "^@BM";

// Separators of the paths that plot files hold, written on the CAD program's system.
constexpr bool isPathSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}

std::size_t lastPathSeparator(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (isPathSeparator(path[i - 1]))
            return i - 1;
    return std::string_view::npos;
}

bool isAbsolute(std::string_view path) {
#ifdef _WIN32
    return (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
           path.starts_with("\\\\") || path.starts_with("//");
#else
    return path.starts_with('/');
#endif
}
} // namespace

double textAngle(double dx, double dy) {
    if (std::fabs(dx) < 1e-10)
        return dy >= 0 ? kPi / 2 : -kPi / 2;
    const double a = std::atan(dy / dx);
    return dx < 0 ? a + kPi : a;
}

std::int32_t escapementOf(double radians) {
    return rnd(radians * 1800.0 / kPi);
}

CellOffset cellOffset(std::int32_t height, double radians) {
    return {-height * std::sin(radians), height * (1 - std::cos(radians))};
}

SpacedText removeSpacingMarks(std::string_view text) {
    std::vector<std::size_t> starts; // where each character begins
    for (std::size_t i = 0; i < text.size(); i += text::charLengthAt(text, i))
        starts.push_back(i);
    SpacedText out;
    std::size_t end = text.size();
    auto lastCharacter = [&]() -> std::string_view {
        return starts.empty() ? std::string_view() : text.substr(starts.back(), end - starts.back());
    };
    if (lastCharacter().size() == 1 && static_cast<unsigned char>(lastCharacter()[0]) == kHalfWidthDot) {
        out.spacingCount = 1;
        end = starts.back();
        starts.pop_back();
    }
    for (std::size_t n = 0; n < kMostFullWidthDots && lastCharacter() == kFullWidthDot; ++n) {
        out.spacingCount += 2;
        end = starts.back();
        starts.pop_back();
    }
    out.text = std::string(text.substr(0, end));
    return out;
}

std::int32_t extraSpacingOf(std::int32_t height, std::int32_t spacingCount, std::size_t length) {
    if (length == 0)
        return 0;
    const std::int64_t product = std::int64_t{height} * spacingCount;
    return static_cast<std::int32_t>(product / static_cast<std::int64_t>(length));
}

TextFace faceOf(const std::array<char, 2>& keyword) {
    return keyword[0] == 'c' && keyword[1] == 'v' ? TextFace::Vertical : TextFace::Horizontal;
}

bool isImageReference(std::string_view text) {
    return text.starts_with(kImagePrefix);
}

ImageReference parseImageReference(std::string_view text) {
    ImageReference r;
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || comma < kImagePrefix.size())
        return r; // no comma: the empty path, and nothing after it
    r.path = std::string(text.substr(kImagePrefix.size(), comma - kImagePrefix.size()));
    std::string_view rest = text.substr(comma + 1);
    if (const std::size_t field = rest.find(','); field != std::string_view::npos)
        rest = rest.substr(field + 1);
    r.heightText = std::string(rest.substr(0, rest.find(',')));
    return r;
}

std::optional<ImageFormat> imageFormatOf(std::string_view path) {
    const std::size_t separator = lastPathSeparator(path);
    const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
    const std::size_t stop = path.rfind('.');
    if (stop == std::string_view::npos || stop < nameStart)
        return std::nullopt;
    const std::string_view extension = path.substr(stop);
    if (extension == ".bmp" || extension == ".BMP")
        return ImageFormat::Bmp;
    if (extension == ".jpeg" || extension == ".JPEG" || extension == ".jpg" || extension == ".JPG")
        return ImageFormat::Jpeg;
    return std::nullopt;
}

std::optional<std::string> findImageFile(const std::string& path, const std::string& plotFolder) {
    if (text::existsAsFile(path))
        return path;
    if (path.empty())
        return std::nullopt;
    if (isAbsolute(path) && path.find('\\') == std::string::npos)
        return std::nullopt;
    const std::size_t separator = lastPathSeparator(path);
    const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    if (name.empty())
        return std::nullopt;
    std::string inPlotFolder = plotFolder; // empty: the plot file lies in the current folder
    if (!inPlotFolder.empty() && !text::isFolderSeparator(inPlotFolder.back()))
        inPlotFolder += '/';
    inPlotFolder += name;
    if (text::existsAsFile(inPlotFolder))
        return inPlotFolder;
    return std::nullopt;
}

} // namespace zelkova::plot
