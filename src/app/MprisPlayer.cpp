#include "app/MprisPlayer.h"

#include "app/OptionPage.h"
#include "app/PlayerState.h"
#include "app/TrayHotKey.h"
#include "playback/FileType.h"
#include "playback/Playback.h"
#include "playlist/AddSteps.h"
#include "playlist/ListFiles.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistModel.h"
#include "tag/TagFields.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace nuvo {

MprisPlayer::MprisPlayer(const AreaContext& context, Playback& playback, OptionPage& options, TrayHotKey& tray,
                         ListFiles& lists, QObject* parent)
    : QObject(parent), context_(context), playback_(playback), options_(options), tray_(tray), lists_(lists),
      service_(*this)
{
    // The play-state table and the availability show in these actions'
    // captions and enabled states; the loop options in the option list.
    Ui::Form1& ui = context_.ui;
    for (QAction* action : {ui.Play, ui.Pause, ui.Stop, ui.Next, ui.Previous})
        connect(action, &QAction::changed, &service_, &MprisService::announceChange);
    connect(ui.CheckListBox1->model(), &QAbstractItemModel::dataChanged, &service_, &MprisService::announceChange);
}

int MprisPlayer::decoderState() const
{
    if (!context_.state.playback.trackOpen())
        return 0;
    int32_t position = 0;
    return context_.decoder.getState(&position);
}

MprisFacts MprisPlayer::facts() const
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
            facts.track.artists = artistValues(tag);
            facts.track.album = textOfField(tag.album, sizeof tag.album);
        }
    }
    return facts;
}

qint64 MprisPlayer::positionMicroseconds() const
{
    return context_.state.playback.trackOpen() ? qint64(context_.state.playback.elapsedSeconds) * kMicrosecondsPerSecond
                                               : 0;
}

void MprisPlayer::raise()
{
    tray_.raiseWindow();
}

void MprisPlayer::quit()
{
    context_.window.close();
}

// Play and Pause act as the window's keys X and C: Play resumes a paused
// track and starts a stopped one, and neither touches one that plays.
void MprisPlayer::play()
{
    const int state = decoderState();
    if (state == 2)
        context_.ui.Pause->trigger();
    else if (state == 0)
        context_.ui.Play->trigger();
}

void MprisPlayer::pause()
{
    if (decoderState() == 1)
        context_.ui.Pause->trigger();
}

void MprisPlayer::playPause()
{
    if (decoderState() != 0)
        context_.ui.Pause->trigger();
    else
        context_.ui.Play->trigger();
}

void MprisPlayer::stop()
{
    if (decoderState() != 0)
        context_.ui.Stop->trigger();
}

void MprisPlayer::next()
{
    context_.ui.Next->trigger();
}

void MprisPlayer::previous()
{
    context_.ui.Previous->trigger();
}

void MprisPlayer::seekBy(qint64 offsetMicroseconds)
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

void MprisPlayer::setPosition(int trackIndex, qint64 positionMicroseconds)
{
    const PlaybackState& playback = context_.state.playback;
    if (decoderState() == 0 || trackIndex != context_.playlist.currentIndex())
        return;
    if (positionMicroseconds < 0 || positionMicroseconds > qint64(playback.trackSeconds) * kMicrosecondsPerSecond)
        return;
    seekTo(positionMicroseconds);
}

void MprisPlayer::seekTo(qint64 positionMicroseconds)
{
    playback_.seek().seekTo(static_cast<int>(positionMicroseconds / kMicrosecondsPerSecond));
}

bool MprisPlayer::openFile(const QString& path, QString* refusal)
{
    // A list as with OpenList(s); a track as a file chosen with OpenFile(s):
    // appended, then played. Anything else is refused before the playlist
    // or the playing track is touched.
    if (!holdsLineBreak(path)) {
        if (isListPath(path))
            return lists_.openLists({path}, refusal);
        if (isTrackPath(path) && isReadableTrack(path)) {
            appendAndPlay(context_, {path}, false);
            return true;
        }
    }
    *refusal = QStringLiteral("%1 is no track or list file that can be read.").arg(path);
    return false;
}

bool MprisPlayer::isReadableTrack(const QString& path) const
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return false;
    // Without the decoder there is nothing to ask.
    return !context_.decoder.getFileType || context_.decoder.getFileType(QFile::encodeName(path).constData()) >= 0;
}

void MprisPlayer::setLoopOptions(LoopOptions wanted)
{
    // As the user would click them: switching one on switches the others off.
    options_.setOptionAsClicked(Option::Single, wanted.single);
    options_.setOptionAsClicked(Option::All, wanted.all);
}

void MprisPlayer::setShuffle(bool shuffle)
{
    options_.setOptionAsClicked(Option::Random, shuffle);
}

void MprisPlayer::setVolume(int volume)
{
    playback_.volume().setVolume(volume);
}

} // namespace nuvo
