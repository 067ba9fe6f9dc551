// What the desktop's media controls may ask of the player and learn from
// it. The player implements it; the desktop side knows nothing else of it.
#pragma once

#include "desktop/MprisFacts.h"

#include <QString>

namespace nuvo {

class MediaPlayer {
public:
    virtual MprisFacts facts() const = 0;
    virtual qint64 positionMicroseconds() const = 0;

    virtual void raise() = 0;
    virtual void quit() = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void playPause() = 0;
    virtual void stop() = 0;
    virtual void next() = 0;
    virtual void previous() = 0;
    // Relative to the heard position; past the end counts as the next track.
    virtual void seekBy(qint64 offsetMicroseconds) = 0;
    // Only for the open track (its playlist index), inside its length.
    virtual void setPosition(int trackIndex, qint64 positionMicroseconds) = 0;
    // A local track or list file; false, with the reason in words, when it
    // names nothing the player can open (then nothing changed).
    virtual bool openFile(const QString& path, QString* refusal) = 0;
    virtual void setLoopOptions(LoopOptions options) = 0;
    virtual void setShuffle(bool shuffle) = 0;
    // 0..100
    virtual void setVolume(int volume) = 0;

protected:
    ~MediaPlayer() = default;
};

} // namespace nuvo
