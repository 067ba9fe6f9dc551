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
    if (picture_.size() != size)
        picture_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int x = std::clamp(filledWidth, 0, size.width());
    QPainter painter(&picture_);
    painter.fillRect(QRect(0, 0, x, size.height()), filledColor);
    painter.fillRect(QRect(x, 0, size.width() - x, size.height()), palette().color(QPalette::Button));
    painter.end();
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
