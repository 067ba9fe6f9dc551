#include "app/ProgramDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace nuvo {

namespace {

QString cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString created(const QString& dir)
{
    // A directory that cannot be made is still returned: the first write there reports the failure.
    QDir().mkpath(dir);
    return dir;
}

bool isWritableDirectory(const QString& dir)
{
    return QFileInfo(dir).isDir() && ::access(QFile::encodeName(dir).constData(), W_OK) == 0;
}

QString userConfigDirectory()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

} // namespace

QString resolveProgramDirectory(const QString& executableDir)
{
    const QString home = qEnvironmentVariable("NUVO_HOME");
    if (!home.isEmpty())
        return created(cleanAbsolute(home));
    const bool installed = QFileInfo::exists(QDir(executableDir).filePath(QString::fromLatin1(kInstalledMarker)));
    if (!executableDir.isEmpty() && !installed && isWritableDirectory(executableDir))
        return cleanAbsolute(executableDir);
    return created(cleanAbsolute(userConfigDirectory() + QStringLiteral("/nuvo")));
}

} // namespace nuvo
