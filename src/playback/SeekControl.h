// Seeking: press, drag and release on the progress bar, and the key steps
// back and forward. While a seek is held the play timer is off and the bar
// and the time follow the seek target; the release hands it to the decoder.
#pragma once

#include "app/AreaContext.h"

#include <QObject>

class QMouseEvent;

namespace nuvo {

class PlayTimer;
struct PlaybackState;

class SeekControl : public QObject {
    Q_OBJECT
public:
    SeekControl(const AreaContext& context, PlaybackState& own, PlayTimer& timer, QObject* parent = nullptr);

    void image2MouseDown(const QMouseEvent& event);
    void image2MouseMove(const QMouseEvent& event);
    void image2MouseUp(const QMouseEvent& event);

    // The keys: each press steps once; the release seeks.
    void keySeekBack();
    void keySeekForward();
    void keySeekRelease();
    bool keySeekPending() const { return keySeekPending_; }
    // A seek asked for from outside the window, taken as a key step and its release.
    void seekTo(int seconds);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A track is open and the decoder plays or pauses it.
    bool decoderRunning() const;
    int targetAt(int x) const;
    void paintAt(int x);
    void keyStep(int target);
    void finishSeek();

    AreaContext context_;
    PlaybackState& own_;
    PlayTimer& timer_;
    bool keySeekPending_ = false;
};

} // namespace nuvo
