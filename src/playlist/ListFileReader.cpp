#include "playlist/ListFileReader.h"

#include "app/TextFile.h"
#include "playlist/PathRules.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace nuvo {

namespace {

// Lines of Windows lists separate with "\", ours with "/"; either ends the directory part.
bool namesTrack(const QString& line)
{
    const qsizetype nameStart = std::max(line.lastIndexOf(u'/'), line.lastIndexOf(u'\\')) + 1;
    const qsizetype dot = line.lastIndexOf(u'.');
    return dot >= nameStart && isTrackExtension(line.mid(dot).toUpper());
}

bool isDriveLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// "X:\" with a letter for X: anything else before ":\" (a "#", a blank) is no drive, and kept as a
// drive it would be lost or misread when the list is saved again.
bool isWindowsDrivePath(QStringView line)
{
    return line.size() >= 3 && isDriveLetter(line[0]) && line[1] == u':' && line[2] == u'\\';
}

// "File12=" at the start of a PLS record, in any letter case.
qsizetype plsRecordPrefixLength(const QString& line)
{
    if (!line.startsWith(QLatin1String("file"), Qt::CaseInsensitive))
        return 0;
    qsizetype i = 4;
    while (i < line.size() && line[i] >= u'0' && line[i] <= u'9')
        ++i;
    return (i > 4 && i < line.size() && line[i] == u'=') ? i + 1 : 0;
}

QString trackPath(QString line, const QString& listDir)
{
    line.remove(0, plsRecordPrefixLength(line));
    if (line.startsWith(u'/') || isWindowsDrivePath(line))
        return line;
    if (const qsizetype driveColon = line.indexOf(QStringLiteral(":\\")); driveColon >= 1
        && isDriveLetter(line[driveColon - 1]))
        return line.mid(driveColon - 1);
    if (const qsizetype equals = line.indexOf(QStringLiteral("=/")); equals >= 0)
        return line.mid(equals + 1);
    line.replace(u'\\', u'/');
    return lexicallyNormalPath(line, listDir);
}

} // namespace

std::optional<QString> trackFromListLine(const QString& line, const QString& listDir)
{
    if (line.isEmpty() || line.startsWith(u'#') || !namesTrack(line))
        return std::nullopt;
    return trackPath(line, listDir);
}

QStringList tracksFromListLines(const QStringList& lines, const QString& listDir)
{
    QStringList tracks;
    for (const QString& line : lines) {
        if (std::optional<QString> track = trackFromListLine(line, listDir))
            tracks.append(std::move(*track));
    }
    return tracks;
}

QStringList readListFile(const QString& listPath, bool* ok, QString* error)
{
    const QStringList lines = readTextLines(listPath, ok, error);
    const QString listDir = lexicallyNormalPath(QFileInfo(listPath).path(), QDir::currentPath());
    return tracksFromListLines(lines, listDir);
}

} // namespace nuvo
