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

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// "X:\" with a letter for X: anything else before ":\" (a "#", a blank) is no drive, and kept as a
// drive it would be lost or misread when the list is saved again.
bool isWindowsDrivePath(QStringView line)
{
    return line.size() >= 3 && isAsciiLetter(line[0]) && line[1] == u':' && line[2] == u'\\';
}

// "File12=" at the start of a PLS record, in any letter case.
qsizetype plsRecordKeyLength(QStringView line)
{
    if (!line.startsWith(QLatin1String("file"), Qt::CaseInsensitive))
        return 0;
    qsizetype i = 4;
    while (i < line.size() && line[i] >= u'0' && line[i] <= u'9')
        ++i;
    return (i > 4 && i < line.size() && line[i] == u'=') ? i + 1 : 0;
}

// The length of a URI scheme before ":": a letter, then letters, digits, "+", "-" or "."; two
// characters at least, so a drive letter ("C:\", "C:/") is never taken for one. 0 when there is none.
qsizetype uriSchemeLength(QStringView line)
{
    const auto laterSchemeCharacter = [](QChar c) {
        return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
    };
    if (line.isEmpty() || !isAsciiLetter(line[0]))
        return 0;
    qsizetype i = 1;
    while (i < line.size() && laterSchemeCharacter(line[i]))
        ++i;
    return (i >= 2 && i < line.size() && line[i] == u':') ? i : 0;
}

// "/C:/x" as a file URI from Windows gives it: the drive path "C:\x", as a Windows list writes it.
QString withWindowsDrive(QString path)
{
    if (path.size() >= 4 && isAsciiLetter(path[1]) && path[2] == u':' && path[3] == u'/')
        return path.mid(1).replace(u'/', u'\\');
    return path;
}

// What follows "file:" when it starts with "/": "//host/path" or "/path". The local path, or nothing
// for another host's file or a name no file can have (a line break would split the list's line).
std::optional<QString> localPathOfFileUri(QStringView hierarchy)
{
    QStringView path = hierarchy;
    for (const char16_t queryOrFragment : {u'?', u'#'}) {
        if (const qsizetype end = path.indexOf(queryOrFragment); end >= 0)
            path.truncate(end);
    }
    if (path.startsWith(u"//")) {
        const qsizetype slash = path.indexOf(u'/', 2);
        const QStringView host = path.sliced(2, (slash < 0 ? path.size() : slash) - 2);
        if (slash < 0 || (!host.isEmpty() && host.compare(u"localhost", Qt::CaseInsensitive) != 0))
            return std::nullopt;
        path = path.sliced(slash);
    }
    const QString local = decodeTextLine(QByteArray::fromPercentEncoding(path.toUtf8()));
    if (holdsLineBreak(local) || local.contains(QChar(0)))
        return std::nullopt;
    return withWindowsDrive(local);
}

// The path a line stands for: a file URI's local path, nothing for another URI (the player plays
// local files only), else the line as it is.
std::optional<QString> pathOfLine(QStringView line)
{
    const qsizetype scheme = uriSchemeLength(line);
    if (scheme == 0)
        return line.toString();
    const QStringView rest = line.sliced(scheme + 1);
    if (line.first(scheme).compare(u"file", Qt::CaseInsensitive) == 0 && rest.startsWith(u'/'))
        return localPathOfFileUri(rest);
    if (rest.startsWith(u"//"))
        return std::nullopt;
    return line.toString();
}

QString trackPath(QString line, const QString& listDir)
{
    if (line.startsWith(u'/') || isWindowsDrivePath(line))
        return line;
    if (const qsizetype driveColon = line.indexOf(QStringLiteral(":\\")); driveColon >= 1
        && isAsciiLetter(line[driveColon - 1]))
        return line.mid(driveColon - 1);
    line.replace(u'\\', u'/');
    return lexicallyNormalPath(line, listDir);
}

} // namespace

ListSyntax listSyntaxOf(const QString& listPath)
{
    return upperExtension(listPath) == u".PLS" ? ListSyntax::Pls : ListSyntax::M3u;
}

std::optional<QString> trackFromListLine(const QString& line, const QString& listDir, ListSyntax syntax)
{
    QStringView text = line;
    if (syntax == ListSyntax::Pls) {
        const qsizetype key = plsRecordKeyLength(text);
        if (key == 0)
            return std::nullopt;
        text = text.sliced(key);
    } else if (text.startsWith(u'#')) {
        return std::nullopt;
    }
    std::optional<QString> path = pathOfLine(text);
    if (!path || path->isEmpty() || !namesTrack(*path))
        return std::nullopt;
    return trackPath(std::move(*path), listDir);
}

QStringList tracksFromListLines(const QStringList& lines, const QString& listDir, ListSyntax syntax)
{
    QStringList tracks;
    for (const QString& line : lines) {
        if (std::optional<QString> track = trackFromListLine(line, listDir, syntax))
            tracks.append(std::move(*track));
    }
    return tracks;
}

QStringList readListFile(const QString& listPath, bool* ok, QString* error)
{
    const QStringList lines = readTextLines(listPath, ok, error);
    const QString listDir = lexicallyNormalPath(QFileInfo(listPath).path(), QDir::currentPath());
    return tracksFromListLines(lines, listDir, listSyntaxOf(listPath));
}

} // namespace nuvo
