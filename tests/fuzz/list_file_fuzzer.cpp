// M3U and PLS lists as "OpenList(s)" and the start read them: any bytes, read as either kind of
// list, give tracks that are absolute paths or Windows drive paths, and the tracks read, saved in
// each of the three formats and read again as the kind of list saved are the same tracks.
#include "FuzzCheck.h"

#include "app/TextFile.h"
#include "playlist/ListFileReader.h"
#include "playlist/ListFileWriter.h"

namespace {

bool isDrivePath(const QString& track)
{
    const QChar drive = track.isEmpty() ? QChar() : track[0];
    const bool letter = (drive >= u'A' && drive <= u'Z') || (drive >= u'a' && drive <= u'z');
    return letter && track.size() >= 3 && track[1] == u':' && track[2] == u'\\';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace nuvo;
    const QStringList lines = decodeTextLines(fuzz::inputBytes(data, size));
    for (const QString& listDir : {QStringLiteral("/music/lists"), QStringLiteral("/")}) {
        for (const ListSyntax syntax : {ListSyntax::M3u, ListSyntax::Pls}) {
            const QStringList tracks = tracksFromListLines(lines, listDir, syntax);
            fuzz::require(tracks.size() <= lines.size(), "at most one track a line");
            for (const QString& track : tracks)
                fuzz::require(track.startsWith(u'/') || isDrivePath(track), "a track is an absolute or a drive path", track);

            for (const ListFormat format : {ListFormat::M3uComplete, ListFormat::M3uRelative, ListFormat::Pls}) {
                const QByteArray saved = listFileBytes(format, tracks, listDir);
                const ListSyntax savedSyntax = format == ListFormat::Pls ? ListSyntax::Pls : ListSyntax::M3u;
                const QStringList reread = tracksFromListLines(decodeTextLines(saved), listDir, savedSyntax);
                fuzz::require(reread == tracks, "a saved list reads back as the same tracks",
                              QString::fromUtf8(saved) + QStringLiteral("\nread as\n") + fuzz::quoted(reread));
            }
        }
    }
    return 0;
}
