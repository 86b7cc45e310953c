// Font substitution for the Japanese fixed-pitch face.
#include "platform/qt/Fonts.h"

#include <QStringList>

#include <cmath>

namespace zelkova::platform {

void installFontSubstitutions() {
    const QStringList ipa{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};
    QFont::insertSubstitutions(QString::fromUtf8(kJapaneseFixedFace), ipa);
    QFont::insertSubstitutions(QString::fromUtf8(kJapaneseVerticalFace), ipa);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), ipa);
}

int pixelSizeForCellHeight(int cellHeight) {
    return std::max(1, static_cast<int>(std::lround(cellHeight / 1.076)));
}

QFont japaneseFixedFont(int cellHeight) {
    QFont font(QString::fromUtf8(kJapaneseFixedFace));
    font.setFixedPitch(true);
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(pixelSizeForCellHeight(cellHeight));
    return font;
}

} // namespace zelkova::platform
