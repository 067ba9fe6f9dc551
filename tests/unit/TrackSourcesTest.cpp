#include "playlist/TrackSources.h"

#include "playlist/DirectoryScan.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

class TrackSourcesTest : public test::TempDirTest {
protected:
    void touch(const QString& relative) { writeFile(relative, "x"); }
};

TEST_F(TrackSourcesTest, DropsAndArgumentsAreTakenByKind)
{
    touch("music/a.mp3");
    touch("music/mix.PLS");
    touch("music/notes.txt");
    struct Case {
        QString named;
        std::optional<SourceKind> dropped;
        std::optional<SourceKind> argument;
    };
    const Case cases[] = {
        {path("music"), SourceKind::Directory, SourceKind::Directory},
        {path("music/a.mp3"), SourceKind::Track, SourceKind::Track},
        {path("music/mix.PLS"), SourceKind::List, SourceKind::List},
        {path("music/notes.txt"), std::nullopt, std::nullopt},
        // Nothing on disk: a drop takes the name, the command line scans it (which adds nothing).
        {path("music/gone.mp3"), SourceKind::Track, SourceKind::Directory},
        {path("music/a\nb.mp3"), std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto dropped = droppedSource(c.named);
        const auto argument = commandLineSource(c.named, "/");
        EXPECT_EQ(dropped ? std::optional(dropped->kind) : std::nullopt, c.dropped) << c.named.toStdString();
        EXPECT_EQ(argument ? std::optional(argument->kind) : std::nullopt, c.argument) << c.named.toStdString();
    }
    EXPECT_EQ(commandLineSource("music/./a.mp3", root())->path, path("music/a.mp3"));
    EXPECT_EQ(commandLineSource("music/", root())->path, path("music"));
}

TEST(TrackSources, OnlyLocalFilesAreDroppedAndAFoldersSlashGoes)
{
    const QList<QUrl> urls{QUrl("file:///music/rock/"), QUrl("https://example.org/a.mp3"),
                           QUrl("file:///music/a%20b.mp3"), QUrl("file:///")};
    EXPECT_EQ(localDroppedPaths(urls), (QStringList{"/music/rock", "/music/a b.mp3", "/"}));
}

TEST_F(TrackSourcesTest, SourcesAreCollectedInOrderAndCounted)
{
    touch("music/x/b.mp3");
    touch("music/a.mp3");
    writeFile("mix.m3u", "music/a.mp3\r\n/z.wav\r\n");
    ScanControl control;
    const CollectedTracks collected = collectTracks(
        {{SourceKind::Track, "/t.mp3"}, {SourceKind::Directory, path("music")}, {SourceKind::List, path("mix.m3u")}},
        &control);
    EXPECT_EQ(collected.tracks,
              (QStringList{"/t.mp3", path("music/x/b.mp3"), path("music/a.mp3"), path("music/a.mp3"), "/z.wav"}));
    EXPECT_TRUE(collected.error.isEmpty());
    EXPECT_EQ(control.found.load(), 5);
}

TEST_F(TrackSourcesTest, ANamedListThatCannotBeReadStopsWithTheReason)
{
    const CollectedTracks collected =
        collectTracks({{SourceKind::Track, "/t.mp3"}, {SourceKind::List, path("none.m3u")}}, nullptr);
    EXPECT_TRUE(collected.error.startsWith("Cannot read " + path("none.m3u") + ": ")) << collected.error.toStdString();
}

TEST_F(TrackSourcesTest, ACancelledCollectionStopsBeforeTheNextSource)
{
    touch("music/a.mp3");
    ScanControl control;
    control.cancelled = true;
    const CollectedTracks collected = collectTracks({{SourceKind::Directory, path("music")}}, &control);
    EXPECT_TRUE(collected.tracks.isEmpty());
}

} // namespace
} // namespace nuvo
