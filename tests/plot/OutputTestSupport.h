// Helpers of the output tests: reading back what the outputs wrote through the programs others
// use (emf2svg-conv for metafiles, rsvg-convert for SVG, pdftoppm and pdfimages for PDF files),
// and walking a metafile's records.
#pragma once

#include "TempDir.h"

#include <QByteArray>
#include <QImage>

#include <uemf.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace zelkova::plot::testing {

inline bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

inline std::string writeTemp(const zelkova::testing::TempDir& dir, const std::string& name,
                             const QByteArray& bytes) {
    return dir.write(name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// The SVG that emf2svg-conv makes of a metafile, or nothing when it refuses the file.
inline std::optional<std::string> svgOfMetafile(const zelkova::testing::TempDir& dir, const QByteArray& emf,
                                                const std::string& name = "m") {
    const std::string in = writeTemp(dir, name + ".emf", emf);
    const std::string out = dir.file(name + ".emf.svg");
    if (!run("emf2svg-conv -i '" + in + "' -o '" + out + "'"))
        return std::nullopt;
    return zelkova::testing::readBytes(out);
}

// An SVG as rsvg-convert draws it on white at `size` (Qt's own renderer knows no patterns, so
// hatches would not show); a null image when the SVG cannot be read.
inline QImage imageOfSvg(const zelkova::testing::TempDir& dir, const std::string& svg, QSize size) {
    const std::string in = dir.write("drawn.svg", svg);
    const std::string out = dir.file("drawn.png");
    std::filesystem::remove(out);
    if (!run("rsvg-convert -b white -w " + std::to_string(size.width()) + " -h " +
             std::to_string(size.height()) + " -o '" + out + "' '" + in + "'"))
        return {};
    return QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);
}

// Page 1 of a PDF as pdftoppm draws it at `dpi`, optionally only the area x, y, w, h (pixels at
// that resolution).
inline QImage pdfPage(const zelkova::testing::TempDir& dir, const std::string& pdf, int dpi,
                      std::optional<QRect> area = std::nullopt) {
    const std::string prefix = dir.file("page");
    std::string command = "pdftoppm -png -singlefile -r " + std::to_string(dpi);
    if (area)
        command += " -x " + std::to_string(area->x()) + " -y " + std::to_string(area->y()) + " -W " +
                   std::to_string(area->width()) + " -H " + std::to_string(area->height());
    if (!run(command + " '" + pdf + "' '" + prefix + "'"))
        return {};
    return QImage(QString::fromStdString(prefix + ".png")).convertToFormat(QImage::Format_RGB32);
}

// The number of pages and of images in a PDF, as poppler counts them.
inline int pdfPageCount(const zelkova::testing::TempDir& dir, const std::string& pdf) {
    const std::string info = dir.file("info.txt");
    if (std::system(("pdfinfo '" + pdf + "' > '" + info + "' 2>/dev/null").c_str()) != 0)
        return -1;
    const std::string text = zelkova::testing::readBytes(info);
    const auto at = text.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 6);
}

inline int pdfImageCount(const zelkova::testing::TempDir& dir, const std::string& pdf) {
    const std::string list = dir.file("images.txt");
    if (std::system(("pdfimages -list '" + pdf + "' > '" + list + "' 2>/dev/null").c_str()) != 0)
        return -1;
    int lines = 0;
    std::ifstream in(list);
    for (std::string line; std::getline(in, line);)
        ++lines;
    return lines - 2; // two heading lines
}

inline QRgb rgbAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

// Within `tolerance` of `expected` on every channel: converters smooth edges and thin lines.
inline bool near(QRgb actual, QRgb expected, int tolerance = 100) {
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

// One record of a metafile: its type and its bytes.
struct EmfRecord {
    std::uint32_t type = 0;
    std::string bytes;
    template <typename T> T as() const {
        T value{};
        std::memcpy(&value, bytes.data(), std::min(sizeof(T), bytes.size()));
        return value;
    }
};

// The records in order; an empty list when a record's size does not fit the file.
inline std::vector<EmfRecord> recordsOf(const QByteArray& emf) {
    std::vector<EmfRecord> records;
    std::size_t at = 0;
    const auto size = static_cast<std::size_t>(emf.size());
    while (at + 8 <= size) {
        U_EMR header;
        std::memcpy(&header, emf.constData() + at, sizeof header);
        if (header.nSize < 8 || header.nSize % 4 != 0 || at + header.nSize > size)
            return {};
        records.push_back({header.iType, std::string(emf.constData() + at, header.nSize)});
        at += header.nSize;
    }
    if (at != size)
        return {};
    return records;
}

inline std::vector<EmfRecord> recordsOfType(const std::vector<EmfRecord>& records, std::uint32_t type) {
    std::vector<EmfRecord> out;
    for (const EmfRecord& r : records)
        if (r.type == type)
            out.push_back(r);
    return out;
}

} // namespace zelkova::plot::testing
