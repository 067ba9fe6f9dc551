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
    // The play timer asks every 100 ms; most ticks change no pixel.
    const bool unchanged = picture_.size() == size.expandedTo(QSize(1, 1)) && x == drawnFilled_
                           && (x == 0 || filledColor == drawnFilledColor_) && empty == drawnEmptyColor_;
    if (unchanged)
        return;
    if (picture_.size() != size)
        picture_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
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
    if (picture_.width() < width())
        painter.fillRect(QRect(picture_.width(), 0, width() - picture_.width(), height()),
                         palette().color(QPalette::Button));
}

} // namespace nuvo
