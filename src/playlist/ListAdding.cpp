#include "playlist/ListAdding.h"

#include "app/PlayerState.h"
#include "app/WindowSteps.h"
#include "playlist/DirectoryScan.h"
#include "playlist/ListFileReader.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistModel.h"
#include "vbmp3_api.h"

#include <QFileInfo>

namespace nuvo {

ListAdding::ListAdding(const AreaContext& context, QObject* parent) : QObject(parent), context_(context)
{
}

void ListAdding::takeCommandLine(const QStringList& arguments, const QString& currentDirectory)
{
    if (arguments.isEmpty())
        return;
    PlaylistModel& playlist = context_.playlist;
    bool bound = false;
    const int saved = playlist.currentIndex();
    playlist.setCurrentIndex(playlist.count());

    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        QString trimmed = argument;
        if (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
            trimmed.chop(1);
        const QString path = resolveLongPath(trimmed, currentDirectory);
        const QFileInfo info(path);
        if (info.isDir() || !info.exists()) {
            // A name that is nothing on disk scans as an empty folder: it adds nothing.
            playlist.append(scanDirectory(path));
        } else if (isTrackPath(path)) {
            playlist.append({path});
        } else if (isListPath(path)) {
            if (arguments.size() == 1 && playlist.isEmpty() && !context_.state.list.listOpened) {
                context_.steps.bindListFile(path);
                bound = true;
            }
            playlist.append(readListFile(path));
        }
    }

    if (playlist.currentIndex() < playlist.count()) {
        sendVolume();
        context_.steps.startWithFallThrough(Direction::Automatic);
        // A list bound in the last run no longer matches its file.
        if (!bound)
            context_.steps.markListChanged();
    } else {
        playlist.setCurrentIndex(saved);
    }
}

void ListAdding::playFirstAdded()
{
    if (context_.state.playback.trackOpen())
        context_.decoder.close();
    else
        sendVolume();
    context_.steps.startWithFallThrough(Direction::Automatic);
}

void ListAdding::sendVolume()
{
    const PlaybackState& playback = context_.state.playback;
    context_.decoder.setVolume(playback.volumeLeft, playback.volumeRight);
}

} // namespace nuvo
