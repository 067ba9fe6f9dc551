#include "playlist/DirectoryScan.h"

#include "TestSupport.h"

#include <sys/sysmacros.h>
#include <unistd.h>

namespace nuvo {
namespace {

class DirectoryScanTest : public test::TempDirTest {
protected:
    void touch(const QString& relative) { writeFile(relative, "x"); }
    QStringList relativeScan(const QString& relativeDir = QString())
    {
        const QString dir = relativeDir.isEmpty() ? root() : path(relativeDir);
        QStringList found = scanDirectory(dir);
        for (QString& entry : found) {
            EXPECT_TRUE(entry.startsWith(root() + '/')) << entry.toStdString();
            entry.remove(0, root().size() + 1);
        }
        return found;
    }
};

TEST_F(DirectoryScanTest, SubDirectoriesComeBeforeTheTracksOfTheFolder)
{
    touch("a.mp3");
    touch("x/b.mp3");
    touch("c.mp3");
    EXPECT_EQ(relativeScan(), (QStringList{"x/b.mp3", "a.mp3", "c.mp3"}));
}

TEST_F(DirectoryScanTest, ListFilesAreReadAtOnceBeforeTheTracksOfTheFolder)
{
    touch("a.mp3");
    writeFile("mix.m3u", "#EXTM3U\r\nsub/one.mp3\r\n/elsewhere/two.wav\r\ncover.jpg\r\n");
    writeFile("mix.m3u8", "/elsewhere/three.mp3\r\n");
    touch("z.wav");
    const QStringList found = scanDirectory(root());
    EXPECT_EQ(found, (QStringList{path("sub/one.mp3"), "/elsewhere/two.wav", "/elsewhere/three.mp3", path("a.mp3"),
                                  path("z.wav")}));
}

TEST_F(DirectoryScanTest, DepthFirstInNameOrder)
{
    touch("b/2.mp3");
    touch("b/a/1.mp3");
    touch("a/3.mp3");
    writeFile("c.pls", "[playlist]\r\nFile1=listed/4.mp3\r\nNumberOfEntries=1\r\n");
    touch("d/5.mp3");
    touch("0.mp3");
    EXPECT_EQ(relativeScan(), (QStringList{"a/3.mp3", "b/a/1.mp3", "b/2.mp3", "listed/4.mp3", "d/5.mp3", "0.mp3"}));
}

TEST_F(DirectoryScanTest, ExtensionsInAnyCaseHiddenEntriesIncludedOthersIgnored)
{
    touch("X.MP3");
    touch(".hidden.mp3");
    touch(".hiddendir/h.wav");
    touch("notes.txt");
    touch("song.ogg");
    touch("noext");
    touch("y.Rmp");
    makeDir("empty");
    makeDir("folder.mp3");
    EXPECT_EQ(relativeScan(), (QStringList{".hiddendir/h.wav", ".hidden.mp3", "X.MP3", "y.Rmp"}));
}

TEST_F(DirectoryScanTest, NameOrderIsByteOrder)
{
    touch("b.mp3");
    touch("B.mp3");
    touch(QString::fromUtf8("é.mp3"));
    touch("a.mp3");
    touch("_.mp3");
    EXPECT_EQ(relativeScan(), (QStringList{"B.mp3", "_.mp3", "a.mp3", "b.mp3", QString::fromUtf8("é.mp3")}));
}

TEST_F(DirectoryScanTest, TrailingSlashOfTheDirectoryIsAccepted)
{
    touch("music/a.mp3");
    EXPECT_EQ(scanDirectory(path("music") + "/"), QStringList{path("music/a.mp3")});
    EXPECT_EQ(scanDirectory(path("music") + "//"), QStringList{path("music/a.mp3")});
}

TEST_F(DirectoryScanTest, MissingDirectoryOrAFileAddsNothing)
{
    touch("a.mp3");
    EXPECT_TRUE(scanDirectory(path("nope")).isEmpty());
    EXPECT_TRUE(scanDirectory(path("a.mp3")).isEmpty());
    EXPECT_TRUE(scanDirectory("").isEmpty());
}

TEST_F(DirectoryScanTest, SymbolicLinksAreFollowedButALoopEnds)
{
    touch("music/a.mp3");
    touch("other/b.mp3");
    ASSERT_TRUE(QFile::link(path("music"), path("music/loop")));  // a link to its own folder
    ASSERT_TRUE(QFile::link(path("other"), path("music/linked"))); // a link to another folder
    ASSERT_TRUE(QFile::link(path("other/b.mp3"), path("music/c.mp3")));
    ASSERT_TRUE(QFile::link(path("gone.mp3"), path("music/dangling.mp3")));
    EXPECT_EQ(relativeScan("music"), (QStringList{"music/linked/b.mp3", "music/a.mp3", "music/c.mp3"}));
}

TEST_F(DirectoryScanTest, MutualLinksBetweenTwoFoldersEnd)
{
    touch("a/1.mp3");
    touch("b/2.mp3");
    ASSERT_TRUE(QFile::link(path("b"), path("a/to-b")));
    ASSERT_TRUE(QFile::link(path("a"), path("b/to-a")));
    EXPECT_EQ(relativeScan("a"), (QStringList{"a/to-b/2.mp3", "a/1.mp3"}));
}

TEST_F(DirectoryScanTest, UnreadableSubDirectoryIsSkipped)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every directory";
    touch("locked/a.mp3");
    touch("b.mp3");
    ASSERT_TRUE(QFile::setPermissions(path("locked"), QFileDevice::WriteOwner));
    const QStringList found = relativeScan();
    QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(found, QStringList{"b.mp3"});
}

TEST_F(DirectoryScanTest, NamesHoldingALineBreakAreSkipped)
{
    touch("a\nb.mp3");
    touch("c\rd.mp3");
    touch("e\nf/g.mp3");
    touch("h.mp3");
    EXPECT_EQ(relativeScan(), QStringList{"h.mp3"});
    EXPECT_TRUE(scanDirectory(path("e\nf")).isEmpty());
}

TEST(PseudoFileSystems, TheDevicesOfKernelFileSystemsAreFoundInTheMountTable)
{
    const QByteArray mountInfo =
        "22 1 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:5 - proc proc rw\n"
        "23 1 0:22 / /sys rw,nosuid shared:6 - sysfs sysfs rw\n"
        "24 1 0:5 / /dev rw,nosuid shared:2 - devtmpfs udev rw,size=4000k\n"
        "26 23 0:25 / /sys/fs/cgroup rw shared:9 - cgroup2 cgroup2 rw\n"
        "27 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "28 1 0:26 / /tmp rw shared:10 master:3 - tmpfs tmpfs rw\n"
        "29 1 0:27 / /media/My - Music rw - vfat /dev/sdb1 rw\n"
        "broken line\n";
    EXPECT_EQ(pseudoFileSystemDevices(mountInfo),
              (std::vector<dev_t>{makedev(0, 21), makedev(0, 22), makedev(0, 5), makedev(0, 25)}));
}

TEST_F(DirectoryScanTest, TheCountGrowsWithWhatIsFoundAndACancelStopsTheScan)
{
    touch("a/1.mp3");
    touch("b/2.mp3");
    writeFile("c.m3u", "/x.mp3\r\n/y.mp3\r\n");
    ScanControl control;
    EXPECT_EQ(scanDirectory(root(), &control).size(), 4);
    EXPECT_EQ(control.found.load(), 4);

    ScanControl cancelled;
    cancelled.cancelled = true;
    EXPECT_TRUE(scanDirectory(root(), &cancelled).isEmpty());
}

} // namespace
} // namespace nuvo
