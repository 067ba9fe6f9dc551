// The picture of the equalizer curve. It keeps what was drawn on it, like a
// canvas: rectangles by the rule of the desktop's drawing interface (right
// and bottom edges exclusive) and text, all without antialiasing.
#pragma once

#include <QImage>
#include <QWidget>

namespace nuvo {

class CurveImage : public QWidget {
    Q_OBJECT
public:
    explicit CurveImage(QWidget* parent = nullptr);

    // The pixels left <= x < right, top <= y < bottom: the outermost ones in
    // pen, the inside in brush. Clipped to the picture.
    void rectangle(int left, int top, int right, int bottom, const QColor& pen, const QColor& brush);
    // Text whose cell has its top-left corner at (left, top), on the picture as it is.
    void text(int left, int top, const QString& text, const QColor& color);
    // Width of the text in the picture's font, and the height of its line.
    int textWidth(const QString& text) const;
    int textHeight() const;

    // At the screen's resolution: devicePixelRatio() device pixels to a window pixel.
    const QImage& picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage& canvas() const;
    QFont drawingFont() const;

    // Made at the first drawing, when the window's colours are in place.
    mutable QImage picture_;
};

} // namespace nuvo
