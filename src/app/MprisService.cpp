#include "app/MprisService.h"

#include "app/MprisAdaptors.h"
#include "app/OptionPage.h"
#include "app/PlayerState.h"
#include "app/TrayHotKey.h"
#include "playback/FileType.h"
#include "playback/Playback.h"
#include "playlist/AddSteps.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QAbstractItemModel>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>
#include <QUrl>

#include <cmath>
#include <cstring>

namespace nuvo {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.nuvo");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

QString textOf(const char* field, std::size_t size)
{
    return QString::fromUtf8(field, static_cast<qsizetype>(strnlen(field, size)));
}

} // namespace

MprisService::MprisService(const AreaContext& context, Playback& playback, OptionPage& options, TrayHotKey& tray,
                           QObject* parent)
    : QObject(parent), context_(context), playback_(playback), options_(options), tray_(tray)
{
    root_ = new QObject(this);
    new MprisRootAdaptor(root_, *this);
    new MprisPlayerAdaptor(root_, *this);

    // The play-state table and the availability show in these actions'
    // captions and enabled states; the loop options in the option list.
    Ui::Form1& ui = context_.ui;
    for (QAction* action : {ui.Play, ui.Pause, ui.Stop, ui.Next, ui.Previous})
        connect(action, &QAction::changed, this, &MprisService::announceChange);
    connect(ui.CheckListBox1->model(), &QAbstractItemModel::dataChanged, this, &MprisService::announceChange);
}

MprisService::~MprisService()
{
    if (registered_) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(kObjectPath);
        bus.unregisterService(kServiceName);
    }
}

void MprisService::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (!bus.registerObject(kObjectPath, root_, QDBusConnection::ExportAdaptors))
        return;
    if (!bus.registerService(kServiceName)) {
        bus.unregisterObject(kObjectPath);
        return;
    }
    registered_ = true;
    announced_ = playerProperties();
}

void MprisService::announceChange()
{
    if (!registered_ || announcing_)
        return;
    // One announcement for all the changes of one event.
    announcing_ = true;
    QTimer::singleShot(0, this, [this] {
        announcing_ = false;
        sendChanges();
    });
}

void MprisService::sendChanges()
{
    const QVariantMap now = playerProperties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (announced_.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    announced_ = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

void MprisService::announceSeeked()
{
    if (registered_)
        emit seeked(positionMicroseconds());
}

int MprisService::decoderState() const
{
    if (!context_.state.playback.trackOpen())
        return 0;
    int32_t position = 0;
    return context_.decoder.getState(&position);
}

MprisFacts MprisService::facts() const
{
    const PlaybackState& playback = context_.state.playback;
    const Ui::Form1& ui = context_.ui;
    const int state = decoderState();
    MprisFacts facts;
    facts.status = state == 1 ? PlaybackStatus::Playing : state == 2 ? PlaybackStatus::Paused : PlaybackStatus::Stopped;
    facts.single = isOptionChecked(ui, Option::Single);
    facts.all = isOptionChecked(ui, Option::All);
    facts.random = isOptionChecked(ui, Option::Random);
    facts.volume = playback.volumeLeft;
    facts.canGoNext = ui.Next->isEnabled();
    facts.canGoPrevious = ui.Previous->isEnabled();
    facts.canPlay = ui.Play->isEnabled();
    facts.canPause = ui.Pause->isEnabled();
    facts.canSeek = state != 0;
    const int current = context_.playlist.currentIndex();
    if (playback.trackOpen() && current < context_.playlist.count()) {
        facts.track.index = current;
        facts.track.path = context_.playlist.path(current);
        facts.track.title = playback.applicationTitle;
        facts.track.seconds = playback.trackSeconds;
        TagRecord tag{};
        if (hasTag(playback.playState) && context_.decoder.getTagInfo(&tag)) {
            facts.track.artist = textOf(tag.artist, sizeof tag.artist);
            facts.track.album = textOf(tag.album, sizeof tag.album);
        }
    }
    return facts;
}

qint64 MprisService::positionMicroseconds() const
{
    return context_.state.playback.trackOpen() ? qint64(context_.state.playback.elapsedSeconds) * kMicrosecondsPerSecond
                                               : 0;
}

void MprisService::raise()
{
    tray_.raiseWindow();
}

void MprisService::quit()
{
    context_.window.close();
}

// Play and Pause act as the window's keys X and C: Play resumes a paused
// track and starts a stopped one, and neither touches one that plays.
void MprisService::play()
{
    const int state = decoderState();
    if (state == 2)
        context_.ui.Pause->trigger();
    else if (state == 0)
        context_.ui.Play->trigger();
}

void MprisService::pause()
{
    if (decoderState() == 1)
        context_.ui.Pause->trigger();
}

void MprisService::playPause()
{
    if (decoderState() != 0)
        context_.ui.Pause->trigger();
    else
        context_.ui.Play->trigger();
}

void MprisService::stop()
{
    if (decoderState() != 0)
        context_.ui.Stop->trigger();
}

void MprisService::next()
{
    context_.ui.Next->trigger();
}

void MprisService::previous()
{
    context_.ui.Previous->trigger();
}

void MprisService::seekBy(qint64 offsetMicroseconds)
{
    if (decoderState() == 0)
        return;
    const qint64 target = std::max<qint64>(0, positionMicroseconds() + offsetMicroseconds);
    // Beyond the end counts as the next track.
    if (target > qint64(context_.state.playback.trackSeconds) * kMicrosecondsPerSecond)
        next();
    else
        seekTo(target);
}

void MprisService::setPosition(const QString& trackId, qint64 positionMicroseconds)
{
    const PlaybackState& playback = context_.state.playback;
    if (decoderState() == 0 || mprisTrackIndex(trackId) != context_.playlist.currentIndex())
        return;
    if (positionMicroseconds < 0 || positionMicroseconds > qint64(playback.trackSeconds) * kMicrosecondsPerSecond)
        return;
    seekTo(positionMicroseconds);
}

void MprisService::seekTo(qint64 positionMicroseconds)
{
    playback_.seek().seekTo(static_cast<int>(positionMicroseconds / kMicrosecondsPerSecond));
}

void MprisService::openUri(const QString& uri)
{
    // As a file chosen with OpenFile(s): appended, then played.
    const QUrl url(uri);
    const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
    if (isTrackPath(path) && !holdsLineBreak(path))
        appendAndPlay(context_, {path}, false);
}

void MprisService::setLoopStatus(const QString& loopStatus)
{
    LoopOptions wanted;
    if (!loopOptionsOf(loopStatus, &wanted))
        return;
    // As the user would click them: switching one on switches the others off.
    options_.setOptionAsClicked(Option::Single, wanted.single);
    options_.setOptionAsClicked(Option::All, wanted.all);
}

void MprisService::setShuffle(bool shuffle)
{
    options_.setOptionAsClicked(Option::Random, shuffle);
}

void MprisService::setVolume(double volume)
{
    if (!std::isfinite(volume))
        return;
    playback_.volume().setVolume(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
}

} // namespace nuvo
