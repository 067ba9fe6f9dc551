#include "playlist/ListFileReader.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

class ListFileReaderTest : public test::TempDirTest {
protected:
    QStringList read(const QByteArray& content, const QString& listName = "mix.m3u")
    {
        writeFile("lists/" + listName, content);
        bool ok = false;
        const QStringList tracks = readListFile(path("lists/" + listName), &ok);
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
                                    "NumberOfEntries=4\r\nVersion=2\r\n",
                                    "mix.pls");
    EXPECT_EQ(tracks, (QStringList{"/m/a.mp3", "D:\\music\\b.mp3", listDir() + "/sub/c.mp3", root() + "/d.mp3"}));
}

TEST_F(ListFileReaderTest, ADriveMarkerInsideALineCutsItThere)
{
    // Only a letter makes a drive: "#:\" would be lost as a comment when the list is saved again.
    const QStringList tracks = read("Entry=E:\\x\\a.mp3\r\nx#:\\y.mp3\r\n");
    EXPECT_EQ(tracks, (QStringList{"E:\\x\\a.mp3", listDir() + "/x#:/y.mp3"}));
}

TEST_F(ListFileReaderTest, EachLineIsReadByTheRulesOfItsListKind)
{
    // M3U lines as VLC, Rhythmbox and GNOME programs write them (file URIs), streams (other URIs),
    // and names that only look like either; in a PLS only "File<digits>=" records name tracks.
    struct Case {
        QString listName;
        QByteArray line;
        QStringList tracks;
    };
    const QString dir = listDir();
    const Case cases[] = {
        {"vlc.m3u", "file:///m/Rock%20%26%20Roll/01%20Caf%C3%A9.mp3", {QString::fromUtf8("/m/Rock & Roll/01 Café.mp3")}},
        {"vlc.m3u", "file://localhost/m/a.mp3", {"/m/a.mp3"}},
        {"vlc.m3u", "FILE:/m/b.MP3", {"/m/b.MP3"}},
        {"vlc.m3u", "file:///m/Caf%E9.wav", {QString::fromUtf8("/m/Café.wav")}},
        {"vlc.m3u", "file:///m/c.mp3#t=10", {"/m/c.mp3"}},
        {"vlc.m3u", "file:///C:/Music/d.mp3", {"C:\\Music\\d.mp3"}},
        {"vlc.m3u", "file:///m/line%0Abreak.mp3", {}},
        {"vlc.m3u", "file://server/share/e.mp3", {}},
        {"vlc.m3u", "http://radio.example/stream.mp3", {}},
        {"vlc.m3u", "https://example.org/f.mp3", {}},
        {"mix.m3u", "C://x/g.mp3", {dir + "/C:/x/g.mp3"}},
        {"mix.m3u", "ab:cd.mp3", {dir + "/ab:cd.mp3"}},
        {"mix.m3u", "my:/h.mp3", {dir + "/my:/h.mp3"}},
        {"mix.m3u", "file:i.mp3", {dir + "/file:i.mp3"}},
        {"mix.m3u", "File1=song.mp3", {dir + "/File1=song.mp3"}},
        {"mix.m3u", "a=/b.mp3", {dir + "/a=/b.mp3"}},
        {"mix.m3u8", "Caf\xC3\xA9 \xE2\x82\xAC.mp3", {dir + QString::fromUtf8("/Café €.mp3")}},
        {"mix.pls", "File1=song.mp3", {dir + "/song.mp3"}},
        {"mix.pls", "File12=file:///m/e%20f.mp3", {"/m/e f.mp3"}},
        {"mix.pls", "Title1=song2.mp3", {}},
        {"mix.pls", "File=h.mp3", {}},
        {"mix.pls", "Filex=i.mp3", {}},
        {"mix.pls", "Path=/m/j.mp3", {}},
        {"mix.pls", "/m/k.mp3", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(read("#EXTM3U\r\n#EXTINF:187,Band - Title\r\n" + c.line + "\r\n", c.listName), c.tracks)
            << c.listName.toStdString() << ": " << c.line.toStdString();
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
    EXPECT_EQ(read(pls, "mix.pls"), written);
}

} // namespace
} // namespace nuvo
