#include "resources/Glyphs.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace nuvo {

namespace {

constexpr int kSize = 16;

void drawTriangle(QPainter& p, qreal left, qreal right, bool pointsRight)
{
    QPainterPath path;
    const qreal tip = pointsRight ? right : left;
    const qreal base = pointsRight ? left : right;
    path.moveTo(base, 3);
    path.lineTo(tip, 8);
    path.lineTo(base, 13);
    path.closeSubpath();
    p.drawPath(path);
}

void drawArrow(QPainter& p, bool up)
{
    QPainterPath path;
    const qreal tipY = up ? 2 : 14;
    const qreal baseY = 8;
    path.moveTo(8, tipY);
    path.lineTo(14, baseY);
    path.lineTo(10, baseY);
    path.lineTo(10, up ? 14 : 2);
    path.lineTo(6, up ? 14 : 2);
    path.lineTo(6, baseY);
    path.lineTo(2, baseY);
    path.closeSubpath();
    p.drawPath(path);
}

void paintGlyph(QPainter& p, Glyph glyph, const QColor& ink)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    switch (glyph) {
    case Glyph::Previous:
        p.drawRect(QRectF(2, 3, 2, 10));
        drawTriangle(p, 4, 13, false);
        break;
    case Glyph::Play:
        drawTriangle(p, 4, 13, true);
        break;
    case Glyph::Pause:
        p.drawRect(QRectF(4, 3, 3, 10));
        p.drawRect(QRectF(9, 3, 3, 10));
        break;
    case Glyph::Stop:
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
        break;
    case Glyph::Next:
        drawTriangle(p, 3, 12, true);
        p.drawRect(QRectF(12, 3, 2, 10));
        break;
    case Glyph::Open: {
        QPainterPath folder;
        folder.moveTo(1, 4);
        folder.lineTo(6, 4);
        folder.lineTo(7.5, 5.5);
        folder.lineTo(15, 5.5);
        folder.lineTo(15, 13.5);
        folder.lineTo(1, 13.5);
        folder.closeSubpath();
        p.drawPath(folder);
        break;
    }
    case Glyph::MoveUp:
        drawArrow(p, true);
        break;
    case Glyph::MoveDown:
        drawArrow(p, false);
        break;
    case Glyph::ClearAll: {
        QPen pen(ink, 2.2, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    }
    }
}

QPixmap glyphPixmap(Glyph glyph, const QColor& ink, int pixels)
{
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.scale(qreal(pixels) / kSize, qreal(pixels) / kSize);
    paintGlyph(painter, glyph, ink);
    return pixmap;
}

} // namespace

QIcon glyphIcon(Glyph glyph)
{
    // Drawn afresh for the usual desktop scale factors, so a scaled window shows them sharp.
    constexpr int kScaledSizes[] = {kSize, kSize * 5 / 4, kSize * 3 / 2, kSize * 2, kSize * 5 / 2, kSize * 3};
    QIcon icon;
    for (const int pixels : kScaledSizes) {
        icon.addPixmap(glyphPixmap(glyph, QColor(0x20, 0x30, 0x48), pixels), QIcon::Normal);
        icon.addPixmap(glyphPixmap(glyph, QColor(0xa8, 0xa8, 0xa8), pixels), QIcon::Disabled);
    }
    return icon;
}

QImage programIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2a, 0x6f, 0xb0));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setBrush(Qt::white);
    drawTriangle(p, 6, 12, true);
    p.end();
    return image;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : kProgramIconSizes)
        icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    return icon;
}

} // namespace nuvo
