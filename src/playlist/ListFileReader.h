#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace nuvo {

// How a list's lines are read: PLS for a ".pls" file, M3U for any other (".m3u", ".m3u8").
enum class ListSyntax { M3u, Pls };
ListSyntax listSyntaxOf(const QString& listPath);

// The tracks an M3U or PLS list names, in file order. In a PLS only "File<digits>=" records (any
// letter case) name tracks: the key is taken off and the rest read as a line below. In an M3U every
// line is read whole, and one starting with "#" is a comment. Then, per line:
// - an empty line, and one whose extension is not a track extension, names nothing;
// - a "file:" URI ("file:/p", "file:///p", "file://localhost/p") names the local path p,
//   percent-decoded ("/C:/..." becomes the drive path "C:\..."); a file URI of another host, and a
//   line with another scheme of two or more characters followed by "://" (a stream), name nothing;
// - "/..." (absolute) and Windows drive paths "X:\..." (X a letter A-Z) are kept unchanged (the
//   latter cannot play here but are not lost from a list brought over from Windows);
// - otherwise a line holding ":\" after a letter keeps the path from that drive letter;
// - anything else is relative: "\" is taken as "/", the line is resolved against the list file's
//   directory (a line starting with "\" from "/"), "." and ".." folded by text.
// Text is UTF-8; lines that are not valid UTF-8 are read as Windows-1252, and so are the decoded
// bytes of a URI. A missing or unreadable file gives an empty list, *ok = false and the reason in
// *error. The current directory is not touched.
QStringList readListFile(const QString& listPath, bool* ok = nullptr, QString* error = nullptr);

// The same for lines already read, with relative lines resolved against listDir.
QStringList tracksFromListLines(const QStringList& lines, const QString& listDir, ListSyntax syntax);

// The track one line names by the rules above, or nothing for a line that names none.
std::optional<QString> trackFromListLine(const QString& line, const QString& listDir, ListSyntax syntax);

} // namespace nuvo
