#include "app/TextFile.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

TEST(DecodeTextLines, SplitsAtEveryLineEndWithoutATrailingEmptyLine)
{
    EXPECT_EQ(decodeTextLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(decodeTextLines("a\r\n"), QStringList{"a"});
    EXPECT_EQ(decodeTextLines("a\n\n\nb\n"), (QStringList{"a", "", "", "b"}));
    EXPECT_EQ(decodeTextLines("a\r\r\nb"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(decodeTextLines("\n"), QStringList{""});
    EXPECT_TRUE(decodeTextLines("").isEmpty());
}

TEST(DecodeTextLines, DropsAByteOrderMarkOnlyAtTheStart)
{
    EXPECT_EQ(decodeTextLines("\xEF\xBB\xBF/a.mp3\n"), QStringList{"/a.mp3"});
}

TEST(DecodeTextLines, LinesThatAreNotUtf8AreReadAsWindows1252)
{
    // Line 1 is UTF-8, line 2 was written on Windows: "Beyoncé – Halo" in its ANSI code page.
    const QStringList lines = decodeTextLines("Caf\xC3\xA9\r\nBeyonc\xE9 \x96 Halo\r\n");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString::fromUtf8("Café"));
    EXPECT_EQ(lines[1], QString::fromUtf8("Beyoncé – Halo"));
    EXPECT_FALSE(lines[1].contains(QChar::ReplacementCharacter));
}

TEST(DecodeTextLines, AWindows1252LineEndingInALeadByteKeepsItsLastLetter)
{
    // 0xE9 ("é") and 0xD2 ("Ò") begin multi-byte UTF-8 sequences: a line or file ending in one
    // is no UTF-8 and must not lose that byte.
    EXPECT_EQ(decodeTextLines("D:\\Musik\\Caf\xE9\r\n/a.mp3"), (QStringList{"D:\\Musik\\Caf\u00E9", "/a.mp3"}));
    EXPECT_EQ(decodeTextLines("\n\n\xD2"), (QStringList{"", "", "\u00D2"}));
}

class TextFileTest : public test::TempDirTest {};

TEST_F(TextFileTest, ReadsLinesAndReportsAMissingFile)
{
    writeFile("List.m3u", "/m/a.mp3\r\n/m/b.mp3\r\n");
    bool ok = false;
    EXPECT_EQ(readTextLines(path("List.m3u"), &ok), (QStringList{"/m/a.mp3", "/m/b.mp3"}));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(readTextLines(path("none.m3u"), &ok).isEmpty());
    EXPECT_FALSE(ok);
}

TEST_F(TextFileTest, WritesEveryLineWithCrLf)
{
    QString error;
    ASSERT_TRUE(writeTextLines(path("Eqlz.lst"), {"Default", QString::fromUtf8("Ünïcode"), ""}, &error));
    EXPECT_EQ(readFile("Eqlz.lst"), QByteArray("Default\r\n\xC3\x9Cn\xC3\xAF" "code\r\n\r\n"));
    ASSERT_TRUE(writeTextLines(path("Eqlz.lst"), {}, &error));
    EXPECT_EQ(readFile("Eqlz.lst"), QByteArray());
}

TEST_F(TextFileTest, WriteReplacesTheWholeFile)
{
    writeFile("List.m3u", "old line one\r\nold line two\r\nold line three\r\n");
    ASSERT_TRUE(writeTextLines(path("List.m3u"), {"new"}, nullptr));
    EXPECT_EQ(readFile("List.m3u"), QByteArray("new\r\n"));
}

TEST_F(TextFileTest, FailedWriteNamesTheFile)
{
    makeDir("List.m3u"); // a directory stands where the file should go
    QString error;
    EXPECT_FALSE(writeTextLines(path("List.m3u"), {"x"}, &error));
    EXPECT_TRUE(error.startsWith("Cannot write " + path("List.m3u") + ": ")) << error.toStdString();
    EXPECT_TRUE(QFileInfo(path("List.m3u")).isDir());
}

TEST_F(TextFileTest, FullDiskKeepsTheOldList)
{
    writeFile("List.m3u", "/m/old.mp3\r\n");
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines.append(QStringLiteral("/music/track%1.mp3").arg(i));
    QString error;
    bool written = true;
    {
        test::FileSizeLimit fullDisk(100);
        ASSERT_TRUE(fullDisk.active());
        written = writeTextLines(path("List.m3u"), lines, &error);
    }
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile("List.m3u"), QByteArray("/m/old.mp3\r\n"));
}

} // namespace
} // namespace nuvo
