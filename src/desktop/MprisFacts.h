// What the desktop's media controls (MPRIS) are told about the player, as
// plain facts, and the property values they make.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace nuvo {

enum class PlaybackStatus { Stopped, Playing, Paused };

struct MprisTrack {
    int index = -1;           // in the playlist; -1 when no track is open
    QString path;
    QString title;            // as the window caption shows it
    QStringList artists;
    QString album;
    int seconds = 0;
};

struct MprisFacts {
    PlaybackStatus status = PlaybackStatus::Stopped;
    bool single = false;
    bool all = false;
    bool random = false;
    int volume = 100;         // 0..100
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;
    MprisTrack track;
};

// The properties of org.mpris.MediaPlayer2.Player that change with the
// player (not Position, which is asked for, never announced).
QVariantMap mprisPlayerProperties(const MprisFacts& facts);

// "None", "Track" or "Playlist" for no loop option, Single or All.
QString loopStatusText(const MprisFacts& facts);

// The loop options a LoopStatus asks for; false for a text that is none of the three.
struct LoopOptions {
    bool single = false;
    bool all = false;
};
bool loopOptionsOf(const QString& loopStatus, LoopOptions* options);

// The object path that names a playlist entry, and back (-1 for another path).
QString mprisTrackId(int index);
int mprisTrackIndex(const QString& trackId);

inline constexpr qint64 kMicrosecondsPerSecond = 1000000;

} // namespace nuvo
