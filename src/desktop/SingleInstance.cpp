#include "desktop/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace nuvo {

QString SingleInstanceLock::lockFilePath(const QString& name)
{
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty() && QFileInfo(runtimeDir).isDir())
        return QDir(runtimeDir).filePath(name);
    return QDir(QDir::tempPath()).filePath(QStringLiteral("%1-%2").arg(name).arg(::getuid()));
}

SingleInstanceLock::SingleInstanceLock(const QString& name)
{
    // O_NOFOLLOW: in a shared temporary directory a planted link must not redirect the file.
    fd_ = ::open(QFile::encodeName(lockFilePath(name)).constData(),
                 O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0)
        return;
    int result;
    do {
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    acquired_ = result == 0;
    heldElsewhere_ = !acquired_ && errno == EWOULDBLOCK;
}

SingleInstanceLock::~SingleInstanceLock()
{
    // Closing the descriptor releases the lock; the file stays so that the name keeps one inode.
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace nuvo
