// The player on the session bus as org.mpris.MediaPlayer2.nuvo, so media
// keys, the desktop's sound menu and tools like playerctl drive it. The
// service speaks the protocol; what each command does is the player's.
// Changes are announced when the player says so; nothing is polled.
#pragma once

#include "desktop/MediaPlayer.h"
#include "desktop/MprisFacts.h"

#include <QObject>
#include <QVariantMap>

namespace nuvo {

class MprisService : public QObject {
    Q_OBJECT
public:
    explicit MprisService(MediaPlayer& player, QObject* parent = nullptr);
    ~MprisService() override;

    // Takes the bus name; without a session bus nothing happens.
    void start();
    // Something the desktop shows may have changed; told once the current event is handled.
    void announceChange();
    // The position jumped.
    void announceSeeked();

    MediaPlayer& player() { return player_; }
    QVariantMap playerProperties() const { return mprisPlayerProperties(player_.facts()); }

    void setLoopStatus(const QString& loopStatus);
    void setPosition(const QString& trackId, qint64 positionMicroseconds);
    void setVolume(double volume);
    // False, with the reason, for a URI that names nothing the player can open.
    bool openUri(const QString& uri, QString* refusal);

signals:
    void seeked(qint64 positionMicroseconds);

private:
    void sendChanges();

    MediaPlayer& player_;
    QObject* root_ = nullptr;      // the object on the bus, carrying the two interfaces
    bool registered_ = false;
    bool announcing_ = false;
    QVariantMap announced_;
};

} // namespace nuvo
