// Images, documents, clipboard contents and print jobs of a picture.
#include "plot/qt/PictureExport.h"

#include "image/PngWriter.h"
#include "platform/qt/QtText.h"
#include "plot/EmfCanvas.h"
#include "plot/Renderer.h"
#include "plot/qt/PainterCanvas.h"
#include "text/Failure.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace zelkova::plot {

namespace {

QRect areaOf(const OutputFrame& frame) {
    return QRect(0, 0, frame.width, frame.height);
}

// BMPs through Qt's writer (PNGs through image::pngOf()).
QByteArray bmpOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        return {};
    return bytes;
}

// The picture on a vector device's white page of the frame's size, cut off at the frame.
void drawOnPage(QPainter& painter, const Picture* picture, const OutputFrame& frame) {
    painter.fillRect(areaOf(frame), Qt::white);
    painter.setClipRect(areaOf(frame));
    if (picture)
        drawPicture(painter, *picture, frame.target);
}

std::optional<QByteArray> svgOf(const Picture* picture, const OutputFrame& frame) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(frame.width, frame.height));
    svg.setViewBox(areaOf(frame));
    svg.setResolution(static_cast<int>(kMetafileDpi));
    svg.setTitle(QStringLiteral("Zelkova plot"));
    QPainter painter;
    if (!painter.begin(&svg))
        return std::nullopt;
    drawOnPage(painter, picture, frame);
    if (!painter.end())
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> pdfOf(const Picture* picture, const OutputFrame& frame) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(static_cast<int>(kMetafileDpi));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(frame.width * 72.0 / kMetafileDpi, frame.height * 72.0 / kMetafileDpi),
                              QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setCreator(QStringLiteral("Zelkova"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return std::nullopt;
    // The page may be a device pixel larger than asked: the frame is drawn at its own size.
    drawOnPage(painter, picture, frame);
    if (!painter.end())
        return std::nullopt;
    return bytes;
}

// Puts the printer's output file name and copy count back when the job ends, however it ends, and
// removes a half-written PDF that was not renamed over its target.
class JobGuard {
public:
    explicit JobGuard(QPrinter& printer)
        : m_printer(printer), m_name(printer.outputFileName()), m_copies(printer.copyCount()) {
        m_printer.setCopyCount(1);
    }
    ~JobGuard() {
        if (m_printer.outputFileName() != m_name)
            m_printer.setOutputFileName(m_name);
        m_printer.setCopyCount(m_copies);
        if (!m_part.isEmpty() && QFileInfo::exists(m_part))
            QFile::remove(m_part);
    }
    JobGuard(const JobGuard&) = delete;
    JobGuard& operator=(const JobGuard&) = delete;
    void writePdfTo(const QString& part) {
        m_part = part;
        m_printer.setOutputFileName(part);
    }
    void partRenamed() { m_part.clear(); }

private:
    QPrinter& m_printer;
    QString m_name;
    int m_copies;
    QString m_part;
};

// A band as busy as noise (a colour change at more than one pixel in twelve) holds nothing that a
// lossless image would keep better than a JPEG of high quality, and deflating it costs seconds.
bool busy(const QImage& band, int rows) {
    std::int64_t changes = 0;
    for (int y = 0; y < rows; y += 4) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(band.constScanLine(y));
        for (int x = 1; x < band.width(); ++x)
            changes += row[x] != row[x - 1];
    }
    const std::int64_t sampled = std::int64_t((rows + 3) / 4) * band.width();
    return changes * 12 > sampled;
}

// The picture drawn into images at the raster resolution, one band of the page at a time, each
// printed below the one before.
void printRaster(QPainter& painter, const QPrinter& printer, const Picture& picture, const ViewRect& printed,
                 const QRect& page, const std::string& failureText) {
    const int dpi = std::max(printer.resolution(), 1);
    const int rasterDpi = std::min(dpi, kLargestRasterDpi);
    const double f = double(rasterDpi) / dpi;
    const int width = static_cast<int>(std::ceil(page.width() * f));
    const int height = static_cast<int>(std::ceil(page.height() * f));
    if (width <= 0 || height <= 0)
        return;
    const ViewRect target{rnd(printed.left * f), rnd(printed.top * f), rnd(printed.right * f),
                          rnd(printed.bottom * f)};
    const int rows = std::min(bandRows(width), height);
    QImage band(width, rows, QImage::Format_RGB32);
    if (band.isNull())
        throw text::Failure(failureText);
    painter.save();
    painter.scale(1 / f, 1 / f);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int top = 0; top < height; top += rows) {
        const int h = std::min(rows, height - top);
        band.fill(Qt::white);
        // Moving the target by whole pixels keeps every line on the pixels it takes in one image of
        // the whole page, so the bands join without a seam.
        drawPicture(band, picture,
                    ViewRect{target.left, target.top - top, target.right, target.bottom - top});
        painter.setRenderHint(QPainter::LosslessImageRendering, !busy(band, h));
        painter.drawImage(QRectF(0, top, width, h), band, QRectF(0, 0, width, h));
    }
    painter.restore();
}

} // namespace

QImage frameImage(const Picture* picture, const OutputFrame& frame) {
    if (!bitmapFits(frame))
        return {};
    QImage image(frame.width, frame.height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    if (picture)
        drawPicture(image, *picture, frame.target);
    return image;
}

std::optional<QByteArray> exportFrame(const Picture* picture, const OutputFrame& frame, ExportFormat format) {
    if (!frame.hasArea())
        return std::nullopt;
    switch (format) {
    case ExportFormat::Png:
    case ExportFormat::Bmp: {
        const QImage image = frameImage(picture, frame);
        if (image.isNull())
            return std::nullopt;
        QByteArray bytes = format == ExportFormat::Png ? image::pngOf(image) : bmpOf(image);
        if (bytes.isEmpty())
            return std::nullopt;
        return bytes;
    }
    case ExportFormat::Svg:
        return svgOf(picture, frame);
    case ExportFormat::Pdf:
        return pdfOf(picture, frame);
    case ExportFormat::Emf: {
        const std::string bytes = metafileOf(picture, frame);
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    }
    return std::nullopt;
}

std::unique_ptr<QMimeData> bitmapCopy(const Picture* picture, const OutputFrame& frame) {
    const QImage image = frameImage(picture, frame);
    if (image.isNull())
        return nullptr;
    auto data = std::make_unique<QMimeData>();
    data->setImageData(image);
    data->setData(QString::fromLatin1(kPngMime), image::pngOf(image));
    data->setData(QString::fromLatin1(kBmpMime), bmpOf(image));
    return data;
}

std::unique_ptr<QMimeData> metafileCopy(const Picture* picture, const OutputFrame& frame) {
    if (!frame.hasArea())
        return nullptr;
    auto data = std::make_unique<QMimeData>();
    if (const auto svg = svgOf(picture, frame))
        data->setData(QString::fromLatin1(kSvgMime), *svg);
    const std::string emf = metafileOf(picture, frame);
    data->setData(QString::fromLatin1(kEmfMime), QByteArray(emf.data(), static_cast<qsizetype>(emf.size())));
    const QImage image = frameImage(picture, frame);
    if (!image.isNull())
        data->setData(QString::fromLatin1(kPngMime), image::pngOf(image));
    return data;
}

PageOrientation orientationOf(const QPrinter& printer) {
    return printer.pageLayout().orientation() == QPageLayout::Landscape ? PageOrientation::Landscape
                                                                        : PageOrientation::Portrait;
}

ViewRect printedRectOn(const QPrinter& printer, const ViewRect& view, std::int32_t viewWidth,
                       std::int32_t viewHeight) {
    return printedRect(
        view, printScale(orientationOf(printer), printer.width(), printer.height(), viewWidth, viewHeight));
}

void printPicture(QPrinter& printer, const Picture* picture, const ViewRect& printed) {
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
    const QString output = printer.outputFileName();
    const std::string failureText =
        pdf ? text::cannotCreateText(platform::toUtf8(output)) : std::string(kNoDefaultPrinterText);
    JobGuard guard(printer);
    if (pdf) {
        // Only picks a free name beside the target; the PDF engine then creates the file.
        QTemporaryFile probe(output + QStringLiteral(".XXXXXX"));
        if (output.isEmpty() || !probe.open())
            throw text::Failure(failureText);
        const QString part = probe.fileName();
        probe.close();
        probe.remove();
        guard.writePdfTo(part);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        throw text::Failure(failureText);
    const QRect page(0, 0, printer.width(), printer.height());
    painter.setClipRect(page);
    try {
        if (picture && needsRasterModes(*picture))
            printRaster(painter, printer, *picture, printed, page, failureText);
        else if (picture)
            drawPicture(painter, *picture, printed);
    } catch (...) {
        printer.abort();
        throw;
    }
    if (!painter.end())
        throw text::Failure(failureText);
    if (pdf) {
        std::error_code ec;
        std::filesystem::rename(
            std::filesystem::path(QFile::encodeName(printer.outputFileName()).toStdString()),
            std::filesystem::path(QFile::encodeName(output).toStdString()), ec);
        if (ec)
            throw text::Failure(failureText);
        guard.partRenamed();
    }
}

} // namespace zelkova::plot
