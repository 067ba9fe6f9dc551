#include "playlist/ListFileWriter.h"

#include "app/TextFile.h"
#include "playlist/ListFileReader.h"
#include "playlist/PathRules.h"

#include <QDir>
#include <QFileInfo>

namespace nuvo {

namespace {

// Room for a typical path per entry, so a long list is built without regrowing.
constexpr qsizetype kBytesPerEntryGuess = 80;

void appendLine(QByteArray& bytes, const QString& text)
{
    bytes += text.toUtf8();
    bytes += "\r\n";
}

} // namespace

QByteArray listFileBytes(ListFormat format, const QStringList& entries, const QString& listDir)
{
    QByteArray bytes;
    bytes.reserve(entries.size() * kBytesPerEntryGuess + 64);
    switch (format) {
    case ListFormat::M3uComplete:
        for (const QString& entry : entries)
            appendLine(bytes, entry);
        break;
    case ListFormat::M3uRelative: {
        const RelativePathMaker relative(listDir);
        // A relative line the reader would take as another file (a "\" or ":\" in a Linux name,
        // one that starts like a URI, "file:/" or "x://", a name starting with "#", or with U+FEFF,
        // which first in a file reads as a byte-order mark) is written whole instead.
        for (const QString& entry : entries) {
            const QString line = relative(entry);
            const bool readsBack = !line.startsWith(QChar::ByteOrderMark)
                                   && trackFromListLine(line, listDir, ListSyntax::M3u) == entry;
            appendLine(bytes, readsBack ? line : entry);
        }
        break;
    }
    case ListFormat::Pls:
        bytes += "[playlist]\r\n";
        for (qsizetype k = 0; k < entries.size(); ++k) {
            bytes += "File" + QByteArray::number(k + 1) + '=';
            appendLine(bytes, entries.at(k));
        }
        bytes += "NumberOfEntries=" + QByteArray::number(entries.size()) + "\r\n";
        break;
    }
    return bytes;
}

bool writeListFile(const QString& path, ListFormat format, const QStringList& entries, QString* error)
{
    const QString listDir = lexicallyNormalPath(QFileInfo(path).path(), QDir::currentPath());
    return replaceFileContents(path, listFileBytes(format, entries, listDir), error);
}

} // namespace nuvo
