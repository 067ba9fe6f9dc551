#include "equalizer/CurveImage.h"

#include <QPainter>

namespace nuvo {

CurveImage::CurveImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& CurveImage::canvas() const
{
    if (picture_.isNull()) {
        // Drawn in the window's pixels at the screen's own resolution, so a
        // scaled desktop shows it sharp and every rule holds in window pixels.
        const qreal ratio = devicePixelRatioF();
        const QSize logical = size().expandedTo(QSize(1, 1));
        picture_ = QImage((QSizeF(logical) * ratio).toSize(), QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(palette().color(QPalette::Base));
    }
    return picture_;
}

const QImage& CurveImage::picture() const
{
    return canvas();
}

QFont CurveImage::drawingFont() const
{
    QFont plain = font();
    plain.setStyleStrategy(QFont::NoAntialias);
    return plain;
}

void CurveImage::rectangle(int left, int top, int right, int bottom, const QColor& pen, const QColor& brush)
{
    if (right <= left || bottom <= top)
        return;
    QPainter painter(&canvas());
    // fillRect covers exactly the pixels named; an outlined drawRect would cover one more each way.
    painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), pen);
    if (right - left > 2 && bottom - top > 2)
        painter.fillRect(QRect(QPoint(left + 1, top + 1), QPoint(right - 2, bottom - 2)), brush);
    update();
}

void CurveImage::text(int left, int top, const QString& text, const QColor& color)
{
    QPainter painter(&canvas());
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(drawingFont());
    painter.setPen(color);
    painter.drawText(QPoint(left, top + painter.fontMetrics().ascent()), text);
    update();
}

int CurveImage::textWidth(const QString& text) const
{
    return QFontMetrics(drawingFont(), &canvas()).horizontalAdvance(text);
}

int CurveImage::textHeight() const
{
    return QFontMetrics(drawingFont(), &canvas()).height();
}

void CurveImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, picture());
}

} // namespace nuvo
