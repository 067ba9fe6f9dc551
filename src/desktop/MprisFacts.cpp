#include "desktop/MprisFacts.h"

#include <QDBusObjectPath>
#include <QStringList>
#include <QUrl>

namespace nuvo {

namespace {

const QString kTrackPrefix = QStringLiteral("/org/nuvoplayer/Nuvo/track/");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");

QString statusText(PlaybackStatus status)
{
    switch (status) {
    case PlaybackStatus::Playing:
        return QStringLiteral("Playing");
    case PlaybackStatus::Paused:
        return QStringLiteral("Paused");
    case PlaybackStatus::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap metadataOf(const MprisTrack& track)
{
    QVariantMap metadata;
    metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(mprisTrackId(track.index))));
    if (track.index < 0)
        return metadata;
    metadata.insert(QStringLiteral("mpris:length"), qint64(track.seconds) * kMicrosecondsPerSecond);
    metadata.insert(QStringLiteral("xesam:title"), track.title);
    if (!track.artists.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), track.artists);
    if (!track.album.isEmpty())
        metadata.insert(QStringLiteral("xesam:album"), track.album);
    metadata.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(track.path).toString(QUrl::FullyEncoded));
    return metadata;
}

} // namespace

QString loopStatusText(const MprisFacts& facts)
{
    // Single goes before the other loop modes when the player chooses what follows.
    if (facts.single)
        return QStringLiteral("Track");
    if (facts.all)
        return QStringLiteral("Playlist");
    return QStringLiteral("None");
}

bool loopOptionsOf(const QString& loopStatus, LoopOptions* options)
{
    if (loopStatus == QLatin1String("None"))
        *options = {false, false};
    else if (loopStatus == QLatin1String("Track"))
        *options = {true, false};
    else if (loopStatus == QLatin1String("Playlist"))
        *options = {false, true};
    else
        return false;
    return true;
}

QVariantMap mprisPlayerProperties(const MprisFacts& facts)
{
    return {
        {QStringLiteral("PlaybackStatus"), statusText(facts.status)},
        {QStringLiteral("LoopStatus"), loopStatusText(facts)},
        {QStringLiteral("Shuffle"), facts.random},
        {QStringLiteral("Volume"), facts.volume / 100.0},
        {QStringLiteral("Metadata"), metadataOf(facts.track)},
        {QStringLiteral("CanGoNext"), facts.canGoNext},
        {QStringLiteral("CanGoPrevious"), facts.canGoPrevious},
        {QStringLiteral("CanPlay"), facts.canPlay},
        {QStringLiteral("CanPause"), facts.canPause},
        {QStringLiteral("CanSeek"), facts.canSeek},
    };
}

QString mprisTrackId(int index)
{
    return index < 0 ? kNoTrack : kTrackPrefix + QString::number(index);
}

int mprisTrackIndex(const QString& trackId)
{
    if (!trackId.startsWith(kTrackPrefix))
        return -1;
    bool ok = false;
    const int index = trackId.mid(kTrackPrefix.size()).toInt(&ok);
    return ok && index >= 0 ? index : -1;
}

} // namespace nuvo
