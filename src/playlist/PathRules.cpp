#include "playlist/PathRules.h"

#include <QStringList>

#include <algorithm>

namespace nuvo {

namespace {

// One pass over the text: this runs for every line of lists with 100 000 entries.
QString normalAbsolute(QStringView absolutePath)
{
    QString normal(QStringLiteral("/"));
    normal.reserve(absolutePath.size() + 1);
    for (const QStringView part : absolutePath.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".")
            continue;
        if (part == u"..") {
            normal.truncate(std::max<qsizetype>(normal.lastIndexOf(u'/'), 1));
            continue;
        }
        if (normal.size() > 1)
            normal += u'/';
        normal += part;
    }
    return normal;
}

// True when folding would change nothing: no doubled "/", no "." or ".." component, no trailing "/".
bool isLexicallyNormal(QStringView path)
{
    const qsizetype size = path.size();
    if (size > 1 && path.back() == u'/')
        return false;
    for (qsizetype i = path.indexOf(u'/'); i >= 0; i = path.indexOf(u'/', i + 1)) {
        const QStringView after = path.sliced(i + 1);
        if (after.startsWith(u'/') || after == u"." || after.startsWith(u"./") || after == u".."
            || after.startsWith(u"../"))
            return false;
    }
    return true;
}

} // namespace

QString fileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString upperExtension(const QString& path)
{
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot).toUpper();
}

bool isTrackExtension(const QString& upperExt)
{
    return upperExt == u".MP1" || upperExt == u".MP2" || upperExt == u".MP3" || upperExt == u".RMP"
           || upperExt == u".WAV";
}

bool isTrackPath(const QString& path)
{
    return isTrackExtension(upperExtension(path));
}

bool isListPath(const QString& path)
{
    const QString ext = upperExtension(path);
    return ext == u".M3U" || ext == u".M3U8" || ext == u".PLS";
}

QString listFileFilter()
{
    return QStringLiteral("List (*.m3u *.m3u8 *.pls)");
}

bool holdsLineBreak(const QString& path)
{
    return path.contains(u'\n') || path.contains(u'\r');
}

QString lexicallyNormalPath(const QString& path, const QString& baseDir)
{
    return normalAbsolute(path.startsWith(u'/') ? path : baseDir + u'/' + path);
}

QString resolveLongPath(const QString& argument, const QString& currentDir)
{
    if (argument.isEmpty())
        return argument;
    return lexicallyNormalPath(argument, currentDir);
}

RelativePathMaker::RelativePathMaker(const QString& baseDir) : baseAbsolute_(baseDir.startsWith(u'/'))
{
    if (baseAbsolute_)
        baseParts_ = normalAbsolute(baseDir).split(u'/', Qt::SkipEmptyParts);
}

QString RelativePathMaker::operator()(const QString& fullPath) const
{
    if (!baseAbsolute_ || !fullPath.startsWith(u'/'))
        return fullPath;
    const QString normalTarget = isLexicallyNormal(fullPath) ? fullPath : normalAbsolute(fullPath);
    const QStringView target(normalTarget);
    const qsizetype lastSlash = target.lastIndexOf(u'/');

    // Walk the target's directories while they match the base's.
    qsizetype shared = 0;
    qsizetype rest = 1;
    while (shared < baseParts_.size() && rest <= lastSlash) {
        const qsizetype next = target.indexOf(u'/', rest);
        if (target.sliced(rest, next - rest) != baseParts_.at(shared))
            break;
        ++shared;
        rest = next + 1;
    }

    QString relative;
    relative.reserve((baseParts_.size() - shared) * 3 + target.size() - rest);
    for (qsizetype i = shared; i < baseParts_.size(); ++i)
        relative += QStringLiteral("../");
    relative += target.sliced(rest);
    return relative;
}

QString makeRelativePath(const QString& baseDir, const QString& fullPath)
{
    return RelativePathMaker(baseDir)(fullPath);
}

} // namespace nuvo
