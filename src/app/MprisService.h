// The player on the session bus as org.mpris.MediaPlayer2.nuvo, so media
// keys, the desktop's sound menu and tools like playerctl drive it. Every
// command runs what the window's own action, key or option runs, and does
// nothing where the window's command is disabled. Changes are announced
// when the places that make them say so; nothing is polled.
#pragma once

#include "app/AreaContext.h"
#include "app/MprisFacts.h"

#include <QObject>
#include <QVariantMap>

namespace nuvo {

class OptionPage;
class Playback;
class TrayHotKey;

class MprisService : public QObject {
    Q_OBJECT
public:
    MprisService(const AreaContext& context, Playback& playback, OptionPage& options, TrayHotKey& tray,
                 QObject* parent = nullptr);
    ~MprisService() override;

    // Takes the bus name (first show); without a session bus nothing happens.
    void start();
    // Something the desktop shows may have changed; told once the current event is handled.
    void announceChange();
    // The position jumped.
    void announceSeeked();

    MprisFacts facts() const;
    QVariantMap playerProperties() const { return mprisPlayerProperties(facts()); }
    qint64 positionMicroseconds() const;

    void raise();
    void quit();
    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    void seekBy(qint64 offsetMicroseconds);
    void setPosition(const QString& trackId, qint64 positionMicroseconds);
    void openUri(const QString& uri);
    void setLoopStatus(const QString& loopStatus);
    void setShuffle(bool shuffle);
    void setVolume(double volume);

signals:
    void seeked(qint64 positionMicroseconds);

private:
    int decoderState() const;
    void seekTo(qint64 positionMicroseconds);
    void sendChanges();

    AreaContext context_;
    Playback& playback_;
    OptionPage& options_;
    TrayHotKey& tray_;
    QObject* root_ = nullptr;      // the object on the bus, carrying the two interfaces
    bool registered_ = false;
    bool announcing_ = false;
    QVariantMap announced_;
};

} // namespace nuvo
