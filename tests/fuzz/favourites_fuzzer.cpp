// "FDir.lst" and "FLst.lst" as the favourites menus and their editor read them: from the file
// through readTextLines, each entry's caption, both sort orders and the check that it still
// exists; then the editor's write, which must read back as the same entries.
#include "FuzzCheck.h"

#include "app/TextFile.h"
#include "playlist/FavouriteEntries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace {

using nuvo::FavouriteKind;

bool sameEntries(QStringList a, QStringList b)
{
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

void checkEntries(FavouriteKind kind, const QStringList& entries)
{
    using namespace nuvo;
    for (const QString& entry : entries) {
        const QString caption = favouriteCaption(kind, entry);
        fuzz::require(caption == u"/" || !caption.contains(u'/'), "a caption is a name, or \"/\"", entry);
        favouriteExists(kind, entry);
    }
    fuzz::require(sameEntries(sortedByName(kind, entries), entries), "sorting by name keeps every entry");
    fuzz::require(sameEntries(sortedByFullPath(entries), entries), "sorting by path keeps every entry");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace nuvo;
    static const QTemporaryDir directory;
    static const QString path = QDir(directory.path()).filePath(QString::fromLatin1(kFavouriteDirectoriesFile));
    {
        QFile file(path);
        fuzz::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the input file can be written");
        file.write(fuzz::inputBytes(data, size));
    }
    bool read = false;
    const QStringList entries = readTextLines(path, &read);
    fuzz::require(read, "an existing file is read");
    checkEntries(FavouriteKind::Directory, entries);
    checkEntries(FavouriteKind::List, entries);

    // A leading U+FEFF is written as the bytes of a byte-order mark, which a reader drops.
    if (!entries.isEmpty() && entries.front().startsWith(QChar(0xFEFF)))
        return 0;
    QString error;
    fuzz::require(writeTextLines(path, entries, &error), "the editor's entries are written", error);
    fuzz::require(readTextLines(path) == entries, "written entries read back the same", fuzz::quoted(entries));
    return 0;
}
