// The player as the desktop's media controls see it: every command runs
// what the window's own action, key or option runs, and does nothing where
// the window's command is disabled. It owns the bus service and tells it
// when the actions and options it reports have changed.
#pragma once

#include "app/AreaContext.h"
#include "desktop/MediaPlayer.h"
#include "desktop/MprisService.h"

#include <QObject>

namespace nuvo {

class ListFiles;
class OptionPage;
class Playback;
class TrayHotKey;

class MprisPlayer : public QObject, public MediaPlayer {
    Q_OBJECT
public:
    MprisPlayer(const AreaContext& context, Playback& playback, OptionPage& options, TrayHotKey& tray,
                ListFiles& lists, QObject* parent = nullptr);

    // On the bus once the window is as it was left (first show).
    void start() { service_.start(); }
    void announceChange() { service_.announceChange(); }
    void announceSeeked() { service_.announceSeeked(); }

    MprisFacts facts() const override;
    qint64 positionMicroseconds() const override;
    void raise() override;
    void quit() override;
    void play() override;
    void pause() override;
    void playPause() override;
    void stop() override;
    void next() override;
    void previous() override;
    void seekBy(qint64 offsetMicroseconds) override;
    void setPosition(int trackIndex, qint64 positionMicroseconds) override;
    bool openFile(const QString& path, QString* refusal) override;
    void setLoopOptions(LoopOptions options) override;
    void setShuffle(bool shuffle) override;
    void setVolume(int volume) override;

private:
    int decoderState() const;
    bool isReadableTrack(const QString& path) const;
    void seekTo(qint64 positionMicroseconds);

    AreaContext context_;
    Playback& playback_;
    OptionPage& options_;
    TrayHotKey& tray_;
    ListFiles& lists_;
    MprisService service_;
};

} // namespace nuvo
