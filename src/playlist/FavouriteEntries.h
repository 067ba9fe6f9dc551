// The two favourites lists: directories and list files, each kept as one
// full path a line in a file of the program directory, in menu order.
// Duplicates are allowed.
#pragma once

#include <QString>
#include <QStringList>

namespace nuvo {

// The numbers are those the editor's mode was always known by.
enum class FavouriteKind { Directory = 1, List = 2 };

inline constexpr const char* kFavouriteDirectoriesFile = "FDir.lst";
inline constexpr const char* kFavouriteListsFile = "FLst.lst";

const char* favouritesFileName(FavouriteKind kind);

// What the menu shows of a favourite: a directory its last component ("/" for the root; trailing
// "/" do not count), a list file its file name with extension.
QString favouriteCaption(FavouriteKind kind, const QString& entry);

// Whether the favourite still names what its kind keeps: an existing directory or an existing file.
bool favouriteExists(FavouriteKind kind, const QString& entry);

// Ascending by the whole text, case-insensitively in the locale's collation.
QStringList sortedByFullPath(const QStringList& entries);

// Ascending by name (the caption), case-insensitively in the locale's collation. Entries of equal
// names follow each other in the order of their former positions written out in decimal, so
// position 10 comes before position 2, as the order of this sort has always been.
QStringList sortedByName(FavouriteKind kind, const QStringList& entries);

// What a path dropped on the editor adds: for directories, a directory itself or a file's
// directory; for lists, a list file itself or every list file found under a directory (those of
// sub-directories first). Other files add nothing. Trailing "/" are ignored.
QStringList favouritesFromDrop(FavouriteKind kind, const QString& path);

} // namespace nuvo
