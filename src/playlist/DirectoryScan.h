#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <atomic>
#include <vector>

#include <sys/types.h>

namespace nuvo {

// Shared with a scan that runs on another thread: how many tracks it has found so far, and the
// request to stop early (what it returns then is incomplete and meant to be dropped).
struct ScanControl {
    std::atomic<int> found{0};
    std::atomic<bool> cancelled{false};
};

// Every track found under dir, depth first, in the order the player appends them. Entries of a
// directory are visited in the byte order of their names (deterministic, unlike the file system's
// own order); hidden entries are included, "." and ".." are not. A sub-directory is scanned at once
// and a list file (.M3U, .M3U8, .PLS) read at once, their tracks following each other in the order met;
// the tracks lying in the directory itself come after all of them. Only directories and regular
// files count (symbolic links followed); a directory reached a second time (by a link or a bind
// mount) is not scanned again, so a link loop cannot keep a scan from ending. A directory that
// cannot be read adds nothing. dir may end in "/" or not. Pseudo file systems (proc, sysfs,
// devtmpfs, cgroup and the like) hold no music and are not entered, so scanning "/" ends in
// reasonable time; names holding a line break are skipped (no list file could keep them).
QStringList scanDirectory(const QString& dir, ScanControl* control = nullptr);

// The devices of the pseudo file systems listed in the text of /proc/self/mountinfo.
std::vector<dev_t> pseudoFileSystemDevices(QByteArrayView mountInfo);

// Every list file (.M3U, .M3U8, .PLS) under dir in the same order, those of sub-directories first; the
// lists are not read and tracks are not collected.
QStringList scanListFiles(const QString& dir);

} // namespace nuvo
