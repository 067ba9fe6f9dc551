// Adding tracks to the playlist: the open and add commands with their file
// dialog and folder browser, files dropped on the window, and the command
// line of the start. The playlist only ever grows at its end.
#pragma once

#include "app/AreaContext.h"
#include "playlist/TrackSources.h"

#include <QObject>
#include <QStringList>

#include <optional>
#include <vector>

class QDragEnterEvent;
class QDropEvent;

namespace nuvo {

class ListAdding : public QObject {
    Q_OBJECT
public:
    explicit ListAdding(const AreaContext& context, QObject* parent = nullptr);

    // Files and folders of the command line are appended and the first of
    // them plays; a single list file binds an empty, unbound playlist.
    void takeCommandLine(const QStringList& arguments, const QString& currentDirectory);

    // Closes the open track or hands the decoder the volume, then starts the
    // entry at CurrentIndex, falling through to others that open.
    void playFirstAdded();

    // Drops on the window: local files and folders are taken, anything else refused.
    void dragEnter(QDragEnterEvent& event);
    void drop(QDropEvent& event);
    void handleDropFiles(const QStringList& paths);

    void fileOpenExecute();
    void addFileExecute();
    void directoryExecute();
    void addDirExecute();

private:
    // The files chosen in the file dialog; empty when cancelled.
    QStringList chooseFiles(const QString& caption);
    // The tracks below the folder chosen in the folder browser; nothing when cancelled.
    std::optional<QStringList> chooseFolderTracks(const QString& caption);
    // The tracks of the sources; nothing when the scan was cancelled or a list file could not
    // be read (which is then said).
    std::optional<QStringList> collect(const std::vector<TrackSource>& sources);
    void sendVolume();

    AreaContext context_;
};

} // namespace nuvo
