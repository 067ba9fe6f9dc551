// What a drop or the command line names, and the tracks collected from it:
// folders are scanned, list files read, tracks taken as they are.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <vector>

namespace nuvo {

struct ScanControl;

enum class SourceKind { Directory, Track, List };

struct TrackSource {
    SourceKind kind;
    QString path;
};

struct CollectedTracks {
    QStringList tracks;
    // Set when a named list file could not be read: "Cannot read <path>: <reason>". The tracks are
    // then incomplete and the caller adds none of them.
    QString error;
};

// A dropped path: a directory is scanned, a track or list file taken by its extension; anything
// else (and a name holding a line break) is ignored.
std::optional<TrackSource> droppedSource(const QString& path);

// A command-line argument, made absolute against currentDir: a directory, or a name that is
// nothing on disk (which then adds nothing), is scanned; else the extension decides as for a drop.
std::optional<TrackSource> commandLineSource(const QString& argument, const QString& currentDir);

// The local files of dropped URLs, a folder's trailing "/" dropped; other URLs are ignored.
QStringList localDroppedPaths(const QList<QUrl>& urls);

// The tracks of every source in order. A folder's unreadable parts are skipped silently; a named
// list file that cannot be read stops the collection with the error. control (may be null) is
// the scan's counter and stop request.
CollectedTracks collectTracks(const std::vector<TrackSource>& sources, ScanControl* control);

} // namespace nuvo
