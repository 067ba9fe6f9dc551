#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace nuvo {

// The tracks an M3U or PLS list names, in file order. Lines that name no track fall away: empty
// lines, "#" comments, and every line whose extension is not a track extension (so the PLS header
// and count lines too). The rest, per line:
// - "/..." (absolute) and Windows drive paths "X:\..." (X a letter A-Z) are kept unchanged (the
//   latter cannot play here but are not lost from a list brought over from Windows);
// - a PLS record "FileN=" loses that prefix, and the rest is taken as a line of its own;
// - otherwise a line holding ":\" after a letter keeps the path from that drive letter, and a line
//   holding "=/" the path from that "/";
// - anything else is relative: "\" is taken as "/", the line is resolved against the list file's
//   directory (a line starting with "\" from "/"), "." and ".." folded by text.
// Text is UTF-8; lines that are not valid UTF-8 are read as Windows-1252. A missing or unreadable
// file gives an empty list, *ok = false and the reason in *error. The current directory is not
// touched.
QStringList readListFile(const QString& listPath, bool* ok = nullptr, QString* error = nullptr);

// The same for lines already read, with relative lines resolved against listDir.
QStringList tracksFromListLines(const QStringList& lines, const QString& listDir);

// The track one line names by the rules above, or nothing for a line that names none.
std::optional<QString> trackFromListLine(const QString& line, const QString& listDir);

} // namespace nuvo
