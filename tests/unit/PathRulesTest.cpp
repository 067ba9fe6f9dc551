#include "playlist/PathRules.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

TEST(PathRules, ExtensionIsTakenFromTheFileNameOnly)
{
    EXPECT_EQ(upperExtension("/music/a.b/song.Mp3"), ".MP3");
    EXPECT_EQ(upperExtension("/music/a.b/song"), "");
    EXPECT_EQ(upperExtension("/music/archive.tar.gz"), ".GZ");
    EXPECT_EQ(upperExtension("/music/.hidden.wav"), ".WAV");
    EXPECT_EQ(upperExtension("/music/trailing."), ".");
    EXPECT_EQ(fileNamePart("/music/rock/x.mp3"), "x.mp3");
    EXPECT_EQ(fileNamePart("x.mp3"), "x.mp3");
    EXPECT_EQ(fileNamePart("/music/"), "");
}

TEST(PathRules, TrackAndListKindsInAnyCase)
{
    for (const char* track : {"a.mp1", "a.MP2", "/x/X.MP3", "a.rmp", "a.Wav"})
        EXPECT_TRUE(isTrackPath(track)) << track;
    for (const char* other : {"a.ogg", "a.mp3.txt", "mp3", "/x.mp3/readme", "a.m3u"})
        EXPECT_FALSE(isTrackPath(other)) << other;
    EXPECT_TRUE(isListPath("/l/Mix.M3U"));
    EXPECT_TRUE(isListPath("/l/mix.pls"));
    EXPECT_TRUE(isListPath("/l/mix.m3u8"));
    EXPECT_FALSE(isListPath("/l/mix.mp3"));
}

TEST(ResolveLongPath, RelativeArgumentsAreTakenFromTheCurrentDirectory)
{
    EXPECT_EQ(resolveLongPath("a.mp3", "/home/u"), "/home/u/a.mp3");
    EXPECT_EQ(resolveLongPath("music/rock/", "/home/u"), "/home/u/music/rock");
    EXPECT_EQ(resolveLongPath(".", "/home/u/"), "/home/u");
}

TEST(ResolveLongPath, DotsAndDoubledSlashesAreFolded)
{
    EXPECT_EQ(resolveLongPath("../other/./b.mp3", "/home/u/music"), "/home/u/other/b.mp3");
    EXPECT_EQ(resolveLongPath("/music//rock/../jazz/./c.mp3", "/ignored"), "/music/jazz/c.mp3");
    EXPECT_EQ(resolveLongPath("../../../../x.mp3", "/a/b"), "/x.mp3");
    EXPECT_EQ(resolveLongPath("/", "/a"), "/");
    EXPECT_EQ(resolveLongPath("//", "/a"), "/");
    EXPECT_EQ(resolveLongPath("..", "/"), "/");
    EXPECT_EQ(resolveLongPath("", "/a"), "");
    EXPECT_EQ(resolveLongPath("/music/...mp3", "/a"), "/music/...mp3");
}

TEST(MakeRelativePath, ExamplesCarriedToLinux)
{
    const QString base = "/music/lists/";
    EXPECT_EQ(makeRelativePath(base, "/music/lists/a.mp3"), "a.mp3");
    EXPECT_EQ(makeRelativePath(base, "/music/rock/b.mp3"), "../rock/b.mp3");
    EXPECT_EQ(makeRelativePath(base, "/c.mp3"), "../../c.mp3");
    EXPECT_EQ(makeRelativePath(base, "/music/lists/live/d.mp3"), "live/d.mp3");
    EXPECT_EQ(makeRelativePath("/music/lists", "/music/lists/live/d.mp3"), "live/d.mp3");
}

TEST(MakeRelativePath, ComponentsCompareCaseSensitivelyAndWhole)
{
    EXPECT_EQ(makeRelativePath("/Music/lists/", "/music/lists/a.mp3"), "../../music/lists/a.mp3");
    EXPECT_EQ(makeRelativePath("/music/list/", "/music/lists/a.mp3"), "../lists/a.mp3");
    EXPECT_EQ(makeRelativePath("/", "/music/a.mp3"), "music/a.mp3");
    EXPECT_EQ(makeRelativePath("/home/u/lists/", "/media/usb/a.mp3"), "../../../media/usb/a.mp3");
}

TEST(MakeRelativePath, PathsThatAreNotAbsoluteStayAsTheyAre)
{
    EXPECT_EQ(makeRelativePath("/music/lists/", "D:\\music\\a.mp3"), "D:\\music\\a.mp3");
    EXPECT_EQ(makeRelativePath("/music/lists/", "a.mp3"), "a.mp3");
}

TEST(MakeRelativePath, ResultLeadsBackToTheFile)
{
    const QString base = "/srv/a/b/c";
    for (const char* full : {"/srv/a/x.mp3", "/srv/a/b/c/d/e/y.mp3", "/z.mp3", "/srv/q/r/s.mp3"})
        EXPECT_EQ(lexicallyNormalPath(makeRelativePath(base, full), base), full) << full;
}

TEST(MakeRelativePath, EntriesThatAreNotFoldedAreFoldedFirst)
{
    const RelativePathMaker fromLists("/music/lists/");
    EXPECT_EQ(fromLists("/music/lists/./live/../a.mp3"), "a.mp3");
    EXPECT_EQ(fromLists("//music//rock/b.mp3"), "../rock/b.mp3");
    EXPECT_EQ(fromLists("/music/lists/.hidden/..x.mp3"), ".hidden/..x.mp3");
    EXPECT_EQ(fromLists("/music/listsmore/c.mp3"), "../listsmore/c.mp3");
    EXPECT_EQ(RelativePathMaker("/")("/d.mp3"), "d.mp3");
}

} // namespace
} // namespace nuvo
