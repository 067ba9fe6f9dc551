#include "playlist/FavouriteEntries.h"

#include "playlist/DirectoryScan.h"
#include "playlist/PathRules.h"

#include <QCollator>
#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace nuvo {

namespace {

QString withoutTrailingSlashes(const QString& path)
{
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(u'/'))
        trimmed.chop(1);
    return trimmed;
}

QCollator caseInsensitiveCollator()
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// The directory a file lies in: "/" for a file of the root.
QString directoryOf(const QString& file)
{
    const qsizetype slash = file.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : file.left(slash);
}

} // namespace

const char* favouritesFileName(FavouriteKind kind)
{
    return kind == FavouriteKind::Directory ? kFavouriteDirectoriesFile : kFavouriteListsFile;
}

QString favouriteCaption(FavouriteKind kind, const QString& entry)
{
    if (kind == FavouriteKind::List)
        return fileNamePart(entry);
    const QString directory = withoutTrailingSlashes(entry);
    return directory == u"/" ? directory : fileNamePart(directory);
}

bool favouriteExists(FavouriteKind kind, const QString& entry)
{
    if (entry.isEmpty())
        return false;
    const QFileInfo info(entry);
    return kind == FavouriteKind::Directory ? info.isDir() : info.isFile();
}

QStringList sortedByFullPath(const QStringList& entries)
{
    const QCollator collator = caseInsensitiveCollator();
    QStringList sorted = entries;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return sorted;
}

QStringList sortedByName(FavouriteKind kind, const QStringList& entries)
{
    // Each key is the name, ">" and the former position, compared as text; the position travels
    // beside its key instead of being read back out of it, since a name may itself hold ">".
    struct Key {
        QString text;
        int position;
    };
    std::vector<Key> keys;
    keys.reserve(static_cast<std::size_t>(entries.size()));
    for (int k = 0; k < entries.size(); ++k)
        keys.push_back({favouriteCaption(kind, entries.at(k)) + u'>' + QString::number(k), k});
    const QCollator collator = caseInsensitiveCollator();
    std::stable_sort(keys.begin(), keys.end(),
                     [&collator](const Key& a, const Key& b) { return collator.compare(a.text, b.text) < 0; });
    QStringList sorted;
    sorted.reserve(entries.size());
    for (const Key& key : keys)
        sorted << entries.at(key.position);
    return sorted;
}

QStringList favouritesFromDrop(FavouriteKind kind, const QString& path)
{
    const QString dropped = withoutTrailingSlashes(path);
    const bool isDirectory = QFileInfo(dropped).isDir();
    if (kind == FavouriteKind::Directory)
        return {isDirectory ? dropped : directoryOf(dropped)};
    if (isDirectory)
        return scanListFiles(dropped);
    return isListPath(dropped) ? QStringList{dropped} : QStringList{};
}

} // namespace nuvo
