#include "playlist/TrackSources.h"

#include "playlist/DirectoryScan.h"
#include "playlist/ListFileReader.h"
#include "playlist/PathRules.h"

#include <QFileInfo>

namespace nuvo {

namespace {

std::optional<TrackSource> sourceByExtension(const QString& path)
{
    if (isTrackPath(path))
        return TrackSource{SourceKind::Track, path};
    if (isListPath(path))
        return TrackSource{SourceKind::List, path};
    return std::nullopt;
}

} // namespace

std::optional<TrackSource> droppedSource(const QString& path)
{
    if (path.isEmpty() || holdsLineBreak(path))
        return std::nullopt;
    if (QFileInfo(path).isDir())
        return TrackSource{SourceKind::Directory, path};
    return sourceByExtension(path);
}

std::optional<TrackSource> commandLineSource(const QString& argument, const QString& currentDir)
{
    if (argument.isEmpty() || holdsLineBreak(argument))
        return std::nullopt;
    const QString path = resolveLongPath(argument, currentDir);
    const QFileInfo info(path);
    if (info.isDir() || !info.exists())
        return TrackSource{SourceKind::Directory, path};
    return sourceByExtension(path);
}

QStringList localDroppedPaths(const QList<QUrl>& urls)
{
    QStringList paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        QString path = url.toLocalFile();
        while (path.size() > 1 && path.endsWith(u'/'))
            path.chop(1);
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

CollectedTracks collectTracks(const std::vector<TrackSource>& sources, ScanControl* control)
{
    CollectedTracks collected;
    for (const TrackSource& source : sources) {
        if (control && control->cancelled.load(std::memory_order_relaxed))
            break;
        switch (source.kind) {
        case SourceKind::Directory:
            collected.tracks += scanDirectory(source.path, control);
            break;
        case SourceKind::Track:
            collected.tracks << source.path;
            if (control)
                control->found.fetch_add(1, std::memory_order_relaxed);
            break;
        case SourceKind::List: {
            bool ok = false;
            const QStringList tracks = readListFile(source.path, &ok, &collected.error);
            if (!ok)
                return collected;
            collected.tracks += tracks;
            if (control)
                control->found.fetch_add(static_cast<int>(tracks.size()), std::memory_order_relaxed);
            break;
        }
        }
    }
    return collected;
}

} // namespace nuvo
