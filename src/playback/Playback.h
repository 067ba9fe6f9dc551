// Play control: Play, Pause/Resume, Stop/Close, Previous and Next, playing
// an entry of the list, the routines that open a track, fall through to
// another one and close the player. It owns the play timer, the moves of
// the current entry, seeking and the volume.
#pragma once

#include "app/AreaContext.h"
#include "app/WindowSteps.h"
#include "playback/PlayTimer.h"
#include "playback/SeekControl.h"
#include "playback/TrackStepper.h"
#include "playback/VolumeControl.h"

#include <QObject>

namespace nuvo {

struct PlaybackState;

class Playback : public QObject {
    Q_OBJECT
public:
    Playback(const AreaContext& context, PlaybackState& own, QObject* parent = nullptr);

    void playExecute();
    void pauseExecute();
    void stopExecute();
    void previousExecute();
    void nextExecute();
    void listBox1DblClick();

    void startWithFallThrough(Direction direction);
    void resetToClosed();
    void openTrackTagWritten(const QString& title);
    void releaseCurrentTrack();
    void resetClosedDisplay();

    PlayTimer& timer() { return timer_; }
    SeekControl& seek() { return seek_; }
    VolumeControl& volume() { return volume_; }

    // Panel 0 before anything was opened (first show).
    void showInitialState();
    // The open track is closed before the decoder goes (window close).
    void closeAtExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool startCurrentTrack();
    void closeOpenTrack();
    void showTrackClosed();
    void showClosedPanels();
    void playAgain();
    void stepExecute(Direction direction);
    void followMove(Direction direction);
    void selectCurrentWhenNothingSelected();
    void focusPageControlOnTagPage();
    void setTitles(const QString& title);

    AreaContext context_;
    PlaybackState& own_;
    TrackStepper stepper_;
    PlayTimer timer_;
    SeekControl seek_;
    VolumeControl volume_;
};

} // namespace nuvo
