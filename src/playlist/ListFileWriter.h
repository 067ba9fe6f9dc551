// The list files the player writes: M3U with complete or relative paths, and
// PLS. Every line ends with CR LF, the last one too; text is UTF-8 without a
// byte-order mark; nothing but the entries (and PLS's header and count) is
// written.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace nuvo {

enum class ListFormat {
    M3uComplete, // one entry per line, as it stands in the list
    M3uRelative, // one entry per line, relative to the list file's directory
    Pls,         // "[playlist]", "File<k>=<entry>" from k = 1, "NumberOfEntries=<n>"
};

// The bytes of a list file lying in listDir (used by the relative format only).
QByteArray listFileBytes(ListFormat format, const QStringList& entries, const QString& listDir);

// Writes the entries to path in the format, replacing the file as a whole: a failed write leaves
// the old file and says why in *error.
bool writeListFile(const QString& path, ListFormat format, const QStringList& entries, QString* error);

} // namespace nuvo
