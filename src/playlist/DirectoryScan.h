#pragma once

#include <QString>
#include <QStringList>

namespace nuvo {

// Every track found under dir, depth first, in the order the player appends them. Entries of a
// directory are visited in the byte order of their names (deterministic, unlike the file system's
// own order); hidden entries are included, "." and ".." are not. A sub-directory is scanned at once
// and a list file (.M3U, .PLS) read at once, their tracks following each other in the order met;
// the tracks lying in the directory itself come after all of them. Only directories and regular
// files count (symbolic links followed); a directory reached a second time (by a link or a bind
// mount) is not scanned again, so a link loop cannot keep a scan from ending. A directory that
// cannot be read adds nothing. dir may end in "/" or not.
QStringList scanDirectory(const QString& dir);

// Every list file (.M3U, .PLS) under dir in the same order, those of sub-directories first; the
// lists are not read and tracks are not collected.
QStringList scanListFiles(const QString& dir);

} // namespace nuvo
