#include "playlist/ListAdding.h"

#include "app/Dialogs.h"
#include "app/PlayerState.h"
#include "app/WindowSteps.h"
#include "playlist/AddSteps.h"
#include "playlist/LongScan.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMainWindow>
#include <QMimeData>
#include <QTimer>


namespace nuvo {

namespace {

const QString kMusicFilter = QStringLiteral("Music (*.mp1 *.mp2 *.mp3 *.rmp *.wav)");

// A dropped file is copied into the list, never moved: the source must keep it.
bool acceptAsCopy(QDropEvent& event)
{
    const Qt::DropActions possible = event.possibleActions();
    if (!(possible & (Qt::CopyAction | Qt::LinkAction)))
        return false;
    event.setDropAction((possible & Qt::CopyAction) ? Qt::CopyAction : Qt::LinkAction);
    event.accept();
    return true;
}

// A single list file, alone in what was named, binds an empty, unbound playlist.
bool bindsAlone(const QStringList& named, const std::vector<TrackSource>& sources)
{
    return named.size() == 1 && sources.size() == 1 && sources.front().kind == SourceKind::List;
}

} // namespace

ListAdding::ListAdding(const AreaContext& context, QObject* parent) : QObject(parent), context_(context)
{
    connect(context_.ui.FileOpen, &QAction::triggered, this, &ListAdding::fileOpenExecute);
    connect(context_.ui.AddFile, &QAction::triggered, this, &ListAdding::addFileExecute);
    connect(context_.ui.Directory, &QAction::triggered, this, &ListAdding::directoryExecute);
    connect(context_.ui.AddDir, &QAction::triggered, this, &ListAdding::addDirExecute);
}

void ListAdding::fileOpenExecute()
{
    appendAndPlay(context_, chooseFiles(QStringLiteral("OpenFile(s)")), false);
}

void ListAdding::addFileExecute()
{
    appendOnly(context_, chooseFiles(QStringLiteral("AddFile(s)")), false);
}

void ListAdding::directoryExecute()
{
    if (const auto tracks = chooseFolderTracks(QStringLiteral("OpenDirectory")))
        appendAndPlay(context_, *tracks, false);
}

void ListAdding::addDirExecute()
{
    if (const auto tracks = chooseFolderTracks(QStringLiteral("AddDirectory")))
        appendOnly(context_, *tracks, false);
}

QStringList ListAdding::chooseFiles(const QString& caption)
{
    const FileDialogAnswer answer = dialogs().openFiles(&context_.window, {caption, {}, {kMusicFilter}, {}});
    if (context_.steps.windowClosed())
        return {};
    QStringList files = answer.files;
    files.removeIf([](const QString& file) { return holdsLineBreak(file); });
    return files;
}

std::optional<QStringList> ListAdding::chooseFolderTracks(const QString& caption)
{
    const QString folder = dialogs().existingDirectory(&context_.window, caption, {});
    if (context_.steps.windowClosed() || folder.isEmpty())
        return std::nullopt;
    return collect({{SourceKind::Directory, folder}});
}

std::optional<QStringList> ListAdding::collect(const std::vector<TrackSource>& sources)
{
    return collectOrReport(context_, sources);
}

void ListAdding::dragEnter(QDragEnterEvent& event)
{
    if (!localDroppedPaths(event.mimeData()->urls()).isEmpty())
        acceptAsCopy(event);
}

void ListAdding::drop(QDropEvent& event)
{
    const QStringList paths = localDroppedPaths(event.mimeData()->urls());
    if (paths.isEmpty() || !acceptAsCopy(event))
        return;
    // The drag ends first: a long scan must not keep the file manager waiting.
    QTimer::singleShot(0, this, [this, paths] { handleDropFiles(paths); });
}

void ListAdding::handleDropFiles(const QStringList& paths)
{
    if (context_.steps.windowClosed())
        return;
    context_.window.activateWindow();
    context_.window.raise();
    std::vector<TrackSource> sources;
    for (const QString& path : paths) {
        if (const auto source = droppedSource(path))
            sources.push_back(*source);
    }
    const std::optional<QStringList> tracks = collect(sources);
    if (!tracks)
        return;
    const bool bound = bindsAlone(paths, sources) && context_.playlist.isEmpty() && !context_.state.list.listOpened;
    if (bound)
        context_.steps.bindListFile(sources.front().path);
    appendOnly(context_, *tracks, bound);
}

void ListAdding::takeCommandLine(const QStringList& arguments, const QString& currentDirectory)
{
    if (arguments.isEmpty())
        return;
    std::vector<TrackSource> sources;
    for (const QString& argument : arguments) {
        if (const auto source = commandLineSource(argument, currentDirectory))
            sources.push_back(*source);
    }
    const std::optional<QStringList> tracks = collect(sources);
    if (!tracks)
        return;
    PlaylistModel& playlist = context_.playlist;
    const bool bound = bindsAlone(arguments, sources) && playlist.isEmpty() && !context_.state.list.listOpened;
    if (bound)
        context_.steps.bindListFile(sources.front().path);
    if (tracks->isEmpty())
        return;
    playlist.setCurrentIndex(playlist.count());
    playlist.append(*tracks);
    sendVolume();
    context_.steps.startWithFallThrough(Direction::Automatic);
    // A list bound in the last run no longer matches its file.
    if (!bound)
        context_.steps.markListChanged();
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
