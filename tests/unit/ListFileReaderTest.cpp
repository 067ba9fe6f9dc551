#include "playlist/ListFileReader.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

class ListFileReaderTest : public test::TempDirTest {
protected:
    QStringList read(const QByteArray& content)
    {
        writeFile("lists/mix.m3u", content);
        bool ok = false;
        const QStringList tracks = readListFile(path("lists/mix.m3u"), &ok);
        EXPECT_TRUE(ok);
        return tracks;
    }
    QString listDir() const { return path("lists"); }
};

TEST_F(ListFileReaderTest, CommentsBlankLinesAndOtherExtensionsFallAway)
{
    const QStringList tracks = read("#EXTM3U\r\n\r\n#EXTINF:123,Artist - Title\r\n/m/a.mp3\r\n"
                                    "/m/cover.jpg\r\n/m/b.ogg\r\n/m/c.WAV\n\n/m/d.mp3");
    EXPECT_EQ(tracks, (QStringList{"/m/a.mp3", "/m/c.WAV", "/m/d.mp3"}));
}

TEST_F(ListFileReaderTest, AbsoluteAndWindowsDriveLinesAreKeptAsWritten)
{
    const QStringList tracks = read("/m/../m/./A.Mp3\r\nc:\\x\\SONG.Mp3\r\nC:\\x\\song.ogg\r\n");
    EXPECT_EQ(tracks, (QStringList{"/m/../m/./A.Mp3", "c:\\x\\SONG.Mp3"}));
}

TEST_F(ListFileReaderTest, PlsRecordsLoseTheirPrefix)
{
    const QStringList tracks = read("[playlist]\r\nFile1=/m/a.mp3\r\nTitle1=A\r\nFile2=D:\\music\\b.mp3\r\n"
                                    "file3=sub\\c.mp3\r\nFILE4=../d.mp3\r\nLength1=-1\r\n"
                                    "NumberOfEntries=4\r\nVersion=2\r\n");
    EXPECT_EQ(tracks, (QStringList{"/m/a.mp3", "D:\\music\\b.mp3", listDir() + "/sub/c.mp3", root() + "/d.mp3"}));
}

TEST_F(ListFileReaderTest, DriveAndRootMarkersInsideALineCutItThere)
{
    // Only a letter makes a drive: "#:\" would be lost as a comment when the list is saved again.
    const QStringList tracks = read("Entry=E:\\x\\a.mp3\r\nPath=/m/b.mp3\r\nx#:\\y.mp3\r\n");
    EXPECT_EQ(tracks, (QStringList{"E:\\x\\a.mp3", "/m/b.mp3", listDir() + "/x#:/y.mp3"}));
}

TEST_F(ListFileReaderTest, RelativeLinesAreResolvedAgainstTheListDirectory)
{
    const QStringList tracks = read("a.mp3\r\n./sub/b.mp3\r\n../up.mp3\r\nsub\\win\\c.mp3\r\n"
                                    "..\\..\\far.mp3\r\n\\rooted\\d.mp3\r\nsub//e.mp3\r\n");
    EXPECT_EQ(tracks, (QStringList{listDir() + "/a.mp3", listDir() + "/sub/b.mp3", root() + "/up.mp3",
                                   listDir() + "/sub/win/c.mp3", QFileInfo(root()).path() + "/far.mp3",
                                   "/rooted/d.mp3", listDir() + "/sub/e.mp3"}));
}

TEST_F(ListFileReaderTest, DoesNotChangeTheCurrentDirectory)
{
    const QString before = QDir::currentPath();
    read("a.mp3\r\n");
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(ListFileReaderTest, ReadsWindowsCodePageLinesAndUtf8Alike)
{
    const QStringList tracks = read("/m/Caf\xC3\xA9.mp3\r\nD:\\m\\Caf\xE9.mp3\r\n");
    EXPECT_EQ(tracks, (QStringList{QString::fromUtf8("/m/Café.mp3"), QString::fromUtf8("D:\\m\\Café.mp3")}));
}

TEST_F(ListFileReaderTest, ListWithoutTracksAndMissingList)
{
    EXPECT_TRUE(read("#EXTM3U\r\n\r\nnothing here\r\n").isEmpty());
    bool ok = true;
    EXPECT_TRUE(readListFile(path("none.m3u"), &ok).isEmpty());
    EXPECT_FALSE(ok);
}

TEST_F(ListFileReaderTest, ReadsBackWhatAPlsWriterProduces)
{
    const QStringList written{"/m/one.mp3", "/m/two.wav", "/m/three.mp2"};
    QByteArray pls = "[playlist]\r\n";
    for (int k = 0; k < written.size(); ++k)
        pls += "File" + QByteArray::number(k + 1) + "=" + written[k].toUtf8() + "\r\n";
    pls += "NumberOfEntries=3\r\n";
    EXPECT_EQ(read(pls), written);
}

} // namespace
} // namespace nuvo
