#pragma once

#include <QString>
#include <QStringList>

namespace nuvo {

// The file-name part of a path: what follows the last "/".
QString fileNamePart(const QString& path);

// The upper-cased text from the last "." of the file-name part on; "" when the name has no ".".
QString upperExtension(const QString& path);

// The kinds of file the player takes, decided by extension alone, in any letter case.
bool isTrackExtension(const QString& upperExt); // ".MP1" ".MP2" ".MP3" ".RMP" ".WAV"
bool isTrackPath(const QString& path);
bool isListPath(const QString& path); // ".M3U" ".M3U8" ".PLS"

// The open dialogs' filter for the list files isListPath takes.
QString listFileFilter();

// True for a name holding CR or LF: every list file would split it into two entries.
bool holdsLineBreak(const QString& path);

// An absolute path with "." and ".." folded and doubled "/" removed, by text alone (symbolic links
// are kept as given; ".." above "/" stays at "/"). A relative path is first taken from baseDir.
// No trailing "/", except for "/" itself.
QString lexicallyNormalPath(const QString& path, const QString& baseDir);

// A command-line argument as the player keeps it: absolute and lexically normal, relative arguments
// taken from currentDir. An empty argument stays empty.
QString resolveLongPath(const QString& argument, const QString& currentDir);

// fullPath as written into a relative M3U list lying in baseDir: "../" for each component of
// baseDir below the components the two share, then the rest of fullPath. All of Linux is one tree
// (as one drive was on Windows), so two absolute paths always give a relative one, if need be by way
// of "/"; a path that is not absolute (such as a Windows "D:\..." entry read from an old list) is
// returned unchanged. Components compare case-sensitively, as the file system does.
QString makeRelativePath(const QString& baseDir, const QString& fullPath);

// makeRelativePath for many paths against one base, which is taken apart once.
class RelativePathMaker {
public:
    explicit RelativePathMaker(const QString& baseDir);
    QString operator()(const QString& fullPath) const;

private:
    bool baseAbsolute_;
    QStringList baseParts_;
};

} // namespace nuvo
