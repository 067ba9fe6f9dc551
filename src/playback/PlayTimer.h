// The 100 ms play timer: the position display while a track plays, the
// move on by the loop mode when it has ended, and the progress bar.
#pragma once

#include "app/AreaContext.h"

#include <QObject>

class QTimer;

namespace nuvo {

class TrackStepper;
struct PlaybackState;

class PlayTimer : public QObject {
    Q_OBJECT
public:
    PlayTimer(const AreaContext& context, PlaybackState& own, TrackStepper& stepper, QObject* parent = nullptr);

    void start();
    void stop();
    // A seek takes the timer off until it is released. Whoever starts or
    // stops the timer meanwhile (Pause, Stop, a new track) takes it back,
    // and the release then leaves it as it is.
    void holdForSeek();
    // Back on after the seek, while the track is still open: if it ended
    // meanwhile, the next tick handles its end.
    void resumeAfterSeek();

    void showProgress();
    void clearProgress();
    // Back to the start: no time elapsed, the bar empty.
    void resetProgress();
    // The bar at its new width after the window was resized.
    void repaintProgress();

private:
    void timer1Timer();
    void trackEnded();
    void replay();
    void showStoppedAtEnd();

    AreaContext context_;
    PlaybackState& own_;
    TrackStepper& stepper_;
    QTimer* timer1_ = nullptr;
    bool heldForSeek_ = false;
};

} // namespace nuvo
