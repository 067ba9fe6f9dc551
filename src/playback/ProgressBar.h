// The progress and seek bar: a picture of the played share of the track,
// redrawn only when the player says so.
#pragma once

#include <QImage>
#include <QWidget>

namespace nuvo {

class ProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    // Fills the bar from the left up to filledWidth in filledColor, the rest
    // in the button face colour. The picture takes the bar's current size.
    void showFilled(int filledWidth, const QColor& filledColor);
    // The whole bar in the button face colour.
    void clear();

    // At the screen's resolution: devicePixelRatio() device pixels to a window pixel.
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    // What the picture shows, so an unchanged tick costs no redraw.
    int drawnFilled_ = -1;
    QColor drawnFilledColor_;
    QColor drawnEmptyColor_;
};

} // namespace nuvo
