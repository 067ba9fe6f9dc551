#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace nuvo {

// Splits file contents into lines. Lines end at CR LF, LF or a lone CR; a line end at the very end
// gives no extra empty line, empty lines in the middle are kept. A UTF-8 byte-order mark at the
// start is dropped. Text is UTF-8; a line that is not valid UTF-8 (a file written on Windows in its
// ANSI code page) is decoded as Windows-1252 instead, so accented names come out right rather than
// as replacement characters.
QStringList decodeTextLines(const QByteArray& data);

// The text of one line's bytes, decoded as decodeTextLines decodes a line.
QString decodeTextLine(QByteArrayView bytes);

// Reads a text file into lines as decodeTextLines does. A missing or unreadable file gives an empty
// list, *ok = false and in *error "Cannot read <path>: <reason>".
QStringList readTextLines(const QString& path, bool* ok = nullptr, QString* error = nullptr);

// Writes each line followed by CR LF (the last one too); an empty list gives an empty file.
bool writeTextLines(const QString& path, const QStringList& lines, QString* error);

// Replaces the file at path by bytes through a temporary file and a rename, so a failed write
// (full disk, no permission) leaves the old file as it was. On failure *error (when given) says
// "Cannot write <path>: <reason>".
bool replaceFileContents(const QString& path, const QByteArray& bytes, QString* error);

} // namespace nuvo
