#include "tag/RenameRules.h"

#include "playlist/PathRules.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace nuvo {

namespace {

qsizetype utf8Length(const QString& text)
{
    return text.toUtf8().size();
}

bool isForbidden(QChar c)
{
    static constexpr QStringView forbidden = u"\\/:*?\"<>|\r\n";
    return c.isNull() || forbidden.contains(c);
}

} // namespace

QString withoutForbiddenCharacters(const QString& typed)
{
    QString kept;
    kept.reserve(typed.size());
    for (const QChar c : typed)
        if (!isForbidden(c))
            kept += c;
    return kept;
}

NameParts splitExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0)
        return {fileName, QString()};
    return {fileName.left(dot), fileName.mid(dot)};
}

QString directoryPart(const QString& path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

int renameTypingLimit(const QString& path)
{
    const qsizetype extension = utf8Length(splitExtension(fileNamePart(path)).extension);
    const qsizetype byName = kNameBytesMax - extension;
    const qsizetype byPath = kPathBytesMax - utf8Length(directoryPart(path)) - extension;
    return static_cast<int>(std::max<qsizetype>(0, std::min(byName, byPath)));
}

NewName newNameFor(const QString& oldPath, const QString& typed)
{
    const NameParts old = splitExtension(fileNamePart(oldPath));
    const QString stem = withoutForbiddenCharacters(typed);
    if (stem.isEmpty() || stem == old.stem)
        return {};
    NewName result;
    result.name = stem + old.extension;
    result.path = directoryPart(oldPath) + result.name;
    if (result.name == u"." || result.name == u"..")
        result.check = NewNameCheck::NotAName;
    else if (utf8Length(result.name) > kNameBytesMax)
        result.check = NewNameCheck::NameTooLong;
    else if (utf8Length(result.path) > kPathBytesMax)
        result.check = NewNameCheck::PathTooLong;
    else
        result.check = NewNameCheck::Ready;
    return result;
}

int renameWithoutReplacing(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    const int refused = errno;
    if (refused != EINVAL && refused != ENOSYS && refused != EOPNOTSUPP)
        return refused;
    // A file system that cannot rename this way: a new hard link fails on an
    // existing name as one step too, and the old name goes only after it exists.
    if (::link(source.constData(), target.constData()) != 0)
        return errno;
    if (::unlink(source.constData()) != 0) {
        const int error = errno;
        ::unlink(target.constData());
        return error;
    }
    return 0;
}

} // namespace nuvo
