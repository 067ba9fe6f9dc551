#pragma once

#include <QString>

namespace nuvo {

// Keeps a second copy of the program from running: an exclusive lock on a file named after the
// lock, held for the object's life. The file lies in $XDG_RUNTIME_DIR, or else in the temporary
// directory under a name that carries the user id (there the directory is shared by all users).
class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString& name);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this object holds the lock.
    bool acquired() const { return acquired_; }
    // True when another holder has the lock (another instance runs). False when the lock was taken,
    // and also when the lock file could not be opened at all: a broken guard should not keep the
    // user from starting the program, so the caller exits only when this is true.
    bool heldElsewhere() const { return heldElsewhere_; }

    static QString lockFilePath(const QString& name);

private:
    int fd_ = -1;
    bool acquired_ = false;
    bool heldElsewhere_ = false;
};

} // namespace nuvo
