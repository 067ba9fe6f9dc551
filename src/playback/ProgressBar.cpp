#include "playback/ProgressBar.h"

#include <QPainter>

#include <algorithm>

namespace nuvo {

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProgressBar::showFilled(int filledWidth, const QColor& filledColor)
{
    const QSize size = this->size();
    const int x = std::clamp(filledWidth, 0, size.width());
    const QColor empty = palette().color(QPalette::Button);
    // Window pixels at the screen's own resolution: sharp on a scaled desktop.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size.expandedTo(QSize(1, 1))) * ratio).toSize();
    // The play timer asks every 100 ms; most ticks change no pixel.
    const bool unchanged = picture_.size() == pixels && picture_.devicePixelRatio() == ratio && x == drawnFilled_
                           && (x == 0 || filledColor == drawnFilledColor_) && empty == drawnEmptyColor_;
    if (unchanged)
        return;
    if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
        picture_ = QImage(pixels, QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
    }
    QPainter painter(&picture_);
    painter.fillRect(QRect(0, 0, x, size.height()), filledColor);
    painter.fillRect(QRect(x, 0, size.width() - x, size.height()), empty);
    painter.end();
    drawnFilled_ = x;
    drawnFilledColor_ = filledColor;
    drawnEmptyColor_ = empty;
    update();
}

void ProgressBar::clear()
{
    showFilled(0, QColor());
}

void ProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(rect(), palette().color(QPalette::Button));
        return;
    }
    painter.drawImage(0, 0, picture_);
    // Beyond a picture drawn at a smaller size, show the empty bar.
    const int drawnWidth = static_cast<int>(picture_.deviceIndependentSize().width());
    if (drawnWidth < width())
        painter.fillRect(QRect(drawnWidth, 0, width() - drawnWidth, height()), palette().color(QPalette::Button));
}

} // namespace nuvo
