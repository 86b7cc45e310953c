// zelkova_icon_files FOLDER SIZE...: writes the program's icon into FOLDER as the hicolor icon theme
// lays it out, a PNG file for every SIZE (in pixels) and one scalable SVG, all drawn by the same
// code that draws the icon of the running program.
#include "app/ApplicationIcon.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgGenerator>

#include <cstdio>

namespace {

bool writePng(const QString& root, int size) {
    const QString folder = root + QStringLiteral("/hicolor/%1x%1/apps").arg(size);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    zelkova::app::paintApplicationIcon(painter, size);
    painter.end();
    return QDir().mkpath(folder) && image.save(folder + QStringLiteral("/zelkova.png"), "PNG");
}

bool writeSvg(const QString& root) {
    const QString folder = root + QStringLiteral("/hicolor/scalable/apps");
    if (!QDir().mkpath(folder))
        return false;
    QSvgGenerator svg;
    svg.setFileName(folder + QStringLiteral("/zelkova.svg"));
    svg.setSize(QSize(32, 32));
    svg.setViewBox(QRect(0, 0, 32, 32));
    svg.setTitle(QStringLiteral("Zelkova"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    zelkova::app::paintApplicationIcon(painter, 32);
    return painter.end();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: zelkova_icon_files FOLDER SIZE...\n", stderr);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        bool isNumber = false;
        const int size = QString::fromLatin1(argv[i]).toInt(&isNumber);
        if (!isNumber || size < 1 || size > 1024) {
            std::fprintf(stderr, "zelkova_icon_files: '%s' is not an icon size\n", argv[i]);
            return 2;
        }
        if (!writePng(root, size)) {
            std::fprintf(stderr, "zelkova_icon_files: cannot write the %dx%d icon under %s\n", size, size,
                         argv[1]);
            return 1;
        }
    }
    if (!writeSvg(root)) {
        std::fprintf(stderr, "zelkova_icon_files: cannot write the scalable icon under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
