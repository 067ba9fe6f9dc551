#include "app/WindowFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QWidget>

namespace nuvo {

QFont fontForLineHeight(const QFont& family, int lineHeight)
{
    // Below this a font is unreadable; a line still too tall there is the best on offer.
    constexpr int kSmallestPixelSize = 6;
    QFont font = family;
    int bestSize = kSmallestPixelSize;
    int bestHeight = -1;
    for (int size = lineHeight; size >= kSmallestPixelSize; --size) {
        font.setPixelSize(size);
        const int height = QFontMetrics(font).height();
        if (height <= lineHeight)
            return font;
        if (bestHeight < 0 || height < bestHeight) {
            bestHeight = height;
            bestSize = size;
        }
    }
    font.setPixelSize(bestSize);
    return font;
}

void applyWindowFont(QWidget& window)
{
    const QFont font = fontForLineHeight(QFontDatabase::systemFont(QFontDatabase::GeneralFont), kDesignedLineHeight);
    if (QApplication::font() != font)
        QApplication::setFont(font);
    window.setFont(font);
}

} // namespace nuvo
