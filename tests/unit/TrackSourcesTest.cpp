#include "playlist/TrackSources.h"

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
    touch("music/utf8.M3U8");
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
        {path("music/utf8.M3U8"), SourceKind::List, SourceKind::List},
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

} // namespace
} // namespace nuvo
