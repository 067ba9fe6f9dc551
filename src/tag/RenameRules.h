// Renaming a track's file from a typed name: what is taken from the typed
// text, what the new path becomes, the limits of Linux names and paths, and
// a rename that never replaces an existing file.
#pragma once

#include <QString>

namespace nuvo {

// The limits of one name and of a whole path, in bytes of UTF-8 (the path without its terminating zero).
inline constexpr int kNameBytesMax = 255;
inline constexpr int kPathBytesMax = 4095;

// The typed text without the characters a new name may not hold: \ / : * ? " < > | and CR, LF, NUL.
QString withoutForbiddenCharacters(const QString& typed);

// A file name split at its last "."; the extension keeps the dot, "" when there is none.
struct NameParts {
    QString stem;
    QString extension;
};
NameParts splitExtension(const QString& fileName);

// The path up to and including its last "/"; "" for a bare name.
QString directoryPart(const QString& path);

// How many characters the name field takes for a file of this path, so that a
// name of plain letters keeps the name and the whole path within their limits.
int renameTypingLimit(const QString& path);

enum class NewNameCheck {
    Ready,        // rename to the new path
    Unchanged,    // nothing left after cleaning, or the old name: nothing to do
    NotAName,     // "." or "..": the directory itself, never a file's name
    NameTooLong,  // more than kNameBytesMax bytes with the extension
    PathTooLong,  // more than kPathBytesMax bytes in all
};

struct NewName {
    NewNameCheck check = NewNameCheck::Unchanged;
    QString path;  // the new path when Ready
    QString name;  // the new file name with the extension
};

// The path the file at oldPath gets from the typed name: same directory, same extension.
NewName newNameFor(const QString& oldPath, const QString& typed);

// Renames without ever replacing a file that has the new name, in one step of
// the file system (no test then rename): 0 on success, else the errno.
int renameWithoutReplacing(const QString& from, const QString& to);

} // namespace nuvo
