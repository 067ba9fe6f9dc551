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
    return ext == u".M3U" || ext == u".PLS";
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

QString makeRelativePath(const QString& baseDir, const QString& fullPath)
{
    if (!baseDir.startsWith(u'/') || !fullPath.startsWith(u'/'))
        return fullPath;
    const QString normalBase = normalAbsolute(baseDir);
    const QString normalTarget = normalAbsolute(fullPath);
    const auto base = QStringView(normalBase).split(u'/', Qt::SkipEmptyParts);
    auto target = QStringView(normalTarget).split(u'/', Qt::SkipEmptyParts);
    const QStringView fileName = target.isEmpty() ? QStringView() : target.takeLast();

    qsizetype shared = 0;
    while (shared < base.size() && shared < target.size() && base[shared] == target[shared])
        ++shared;

    QString relative;
    for (qsizetype i = shared; i < base.size(); ++i)
        relative += QStringLiteral("../");
    for (qsizetype i = shared; i < target.size(); ++i) {
        relative += target[i];
        relative += u'/';
    }
    relative += fileName;
    return relative;
}

} // namespace nuvo
