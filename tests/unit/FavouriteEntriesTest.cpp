#include "playlist/FavouriteEntries.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

TEST(FavouriteEntries, CaptionsShowTheNameOfTheFavourite)
{
    struct Case {
        FavouriteKind kind;
        const char* entry;
        const char* caption;
    };
    const Case cases[] = {
        {FavouriteKind::Directory, "/music/Jazz", "Jazz"},
        {FavouriteKind::Directory, "/music/Jazz/", "Jazz"},   // stored with a trailing "/"
        {FavouriteKind::Directory, "/music/Jazz//", "Jazz"},
        {FavouriteKind::Directory, "/", "/"},
        {FavouriteKind::Directory, "//", "/"},
        {FavouriteKind::Directory, "/music/a>b", "a>b"},
        {FavouriteKind::List, "/lists/mix.m3u", "mix.m3u"},
        {FavouriteKind::List, "/lists/Live.PLS", "Live.PLS"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(favouriteCaption(c.kind, c.entry), QString(c.caption)) << c.entry;
}

TEST(FavouriteEntries, SortsIgnoreLetterCase)
{
    const QStringList entries{"/m/beta", "/x/Alpha", "/m/gamma", "/a/Delta", "/m/Beta"};
    EXPECT_EQ(sortedByFullPath(entries), QStringList({"/a/Delta", "/m/beta", "/m/Beta", "/m/gamma", "/x/Alpha"}));
    EXPECT_EQ(sortedByName(FavouriteKind::Directory, entries),
              QStringList({"/x/Alpha", "/m/beta", "/m/Beta", "/a/Delta", "/m/gamma"}));
    EXPECT_EQ(sortedByName(FavouriteKind::List, {"/z/b.m3u", "/a/c.pls", "/q/A.m3u"}),
              QStringList({"/q/A.m3u", "/z/b.m3u", "/a/c.pls"}));
}

TEST(FavouriteEntries, NameSortKeepsEveryEntryWhateverItsName)
{
    // Names that hold ">", and a trailing "/": each entry comes back once, in name order.
    const QStringList entries{"/m/b", "/m/a>9", "/x/c>>1/", "/m/a"};
    EXPECT_EQ(sortedByName(FavouriteKind::Directory, entries), QStringList({"/m/a", "/m/a>9", "/m/b", "/x/c>>1/"}));
}

TEST(FavouriteEntries, EqualNamesFollowTheirFormerPositionsAsText)
{
    // Positions 2 and 10 share a name: "10" comes before "2" as text.
    QStringList entries;
    for (int i = 0; i < 11; ++i)
        entries << QStringLiteral("/d%1/z%1").arg(i);
    entries[2] = QStringLiteral("/one/Same");
    entries[10] = QStringLiteral("/two/Same");
    const QStringList sorted = sortedByName(FavouriteKind::Directory, entries);
    EXPECT_EQ(sorted.first(), "/two/Same");
    EXPECT_EQ(sorted.at(1), "/one/Same");
}

class FavouriteDropTest : public test::TempDirTest {};

TEST_F(FavouriteDropTest, DirectoriesTakeTheFolderOrTheFilesFolder)
{
    writeFile("music/jazz/a.mp3", "");
    EXPECT_EQ(favouritesFromDrop(FavouriteKind::Directory, path("music/jazz")), QStringList{path("music/jazz")});
    EXPECT_EQ(favouritesFromDrop(FavouriteKind::Directory, path("music/jazz") + "/"), QStringList{path("music/jazz")});
    EXPECT_EQ(favouritesFromDrop(FavouriteKind::Directory, path("music/jazz/a.mp3")), QStringList{path("music/jazz")});
    EXPECT_EQ(favouritesFromDrop(FavouriteKind::Directory, "/a.mp3"), QStringList{"/"});
}

TEST_F(FavouriteDropTest, ListsTakeListFilesAndFoldersOfThemSubFoldersFirst)
{
    writeFile("lists/a.m3u", "");
    writeFile("lists/b/c.PLS", "");
    writeFile("lists/b/d.mp3", "");
    writeFile("lists/e.mp3", "");
    EXPECT_EQ(favouritesFromDrop(FavouriteKind::List, path("lists")),
              QStringList({path("lists/b/c.PLS"), path("lists/a.m3u")}));
    EXPECT_EQ(favouritesFromDrop(FavouriteKind::List, path("lists/a.m3u")), QStringList{path("lists/a.m3u")});
    EXPECT_EQ(favouritesFromDrop(FavouriteKind::List, path("lists/e.mp3")), QStringList{});
}

TEST_F(FavouriteDropTest, ExistenceFollowsTheKind)
{
    writeFile("d/x.m3u", "");
    EXPECT_TRUE(favouriteExists(FavouriteKind::Directory, path("d")));
    EXPECT_FALSE(favouriteExists(FavouriteKind::Directory, path("d/x.m3u")));
    EXPECT_TRUE(favouriteExists(FavouriteKind::List, path("d/x.m3u")));
    EXPECT_FALSE(favouriteExists(FavouriteKind::List, path("d")));
    EXPECT_FALSE(favouriteExists(FavouriteKind::List, path("gone.m3u")));
    EXPECT_FALSE(favouriteExists(FavouriteKind::Directory, ""));
}

} // namespace
} // namespace nuvo
