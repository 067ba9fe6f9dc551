#include "playlist/ListFileWriter.h"

#include "playlist/ListFileReader.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

const QStringList kEntries{"/music/lists/a.mp3", "/music/rock/b.mp3", QString::fromUtf8("/c/ü.wav")};

TEST(ListFileWriter, EachFormatWritesExactlyItsLines)
{
    struct Case {
        ListFormat format;
        QByteArray bytes;
    };
    const Case cases[] = {
        {ListFormat::M3uComplete, "/music/lists/a.mp3\r\n/music/rock/b.mp3\r\n/c/\xC3\xBC.wav\r\n"},
        {ListFormat::M3uRelative, "a.mp3\r\n../rock/b.mp3\r\n../../c/\xC3\xBC.wav\r\n"},
        {ListFormat::Pls, "[playlist]\r\nFile1=/music/lists/a.mp3\r\nFile2=/music/rock/b.mp3\r\n"
                          "File3=/c/\xC3\xBC.wav\r\nNumberOfEntries=3\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listFileBytes(c.format, kEntries, "/music/lists"), c.bytes) << int(c.format);
}

TEST(ListFileWriter, EntriesFromWindowsListsStayAsTheyAreInRelativeLists)
{
    EXPECT_EQ(listFileBytes(ListFormat::M3uRelative, {"D:\\e.mp3", "/music/lists/live/d.mp3"}, "/music/lists/"),
              QByteArray("D:\\e.mp3\r\nlive/d.mp3\r\n"));
}

TEST(ListFileWriter, PlsNumbersEveryEntryWithoutPadding)
{
    QStringList entries;
    for (int i = 0; i < 12; ++i)
        entries << QStringLiteral("/m/%1.mp3").arg(i);
    const QByteArray bytes = listFileBytes(ListFormat::Pls, entries, "/");
    EXPECT_TRUE(bytes.contains("\r\nFile9=/m/8.mp3\r\nFile10=/m/9.mp3\r\n"));
    EXPECT_TRUE(bytes.endsWith("File12=/m/11.mp3\r\nNumberOfEntries=12\r\n"));
}

class ListFileWriterFiles : public test::TempDirTest {};

TEST_F(ListFileWriterFiles, WhatIsWrittenReadsBackAsTheSameTracks)
{
    const QStringList entries{path("music/a.mp3"), path("x/b.MP3"), "/elsewhere/c.wav"};
    makeDir("lists");
    for (const ListFormat format : {ListFormat::M3uComplete, ListFormat::M3uRelative, ListFormat::Pls}) {
        QString error;
        ASSERT_TRUE(writeListFile(path("lists/l.lst"), format, entries, &error)) << error.toStdString();
        bool ok = false;
        EXPECT_EQ(readListFile(path("lists/l.lst"), &ok), entries) << int(format);
        EXPECT_TRUE(ok);
    }
}

TEST_F(ListFileWriterFiles, AFailedWriteLeavesTheOldFileAndSaysWhy)
{
    writeFile("lists/l.m3u", "/old.mp3\r\n");
    makeDir("lists/folder.m3u");
    QString error;
    EXPECT_FALSE(writeListFile(path("lists/folder.m3u"), ListFormat::M3uComplete, kEntries, &error));
    EXPECT_TRUE(error.startsWith("Cannot write " + path("lists/folder.m3u"))) << error.toStdString();
    {
        test::FileSizeLimit full(8);
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(writeListFile(path("lists/l.m3u"), ListFormat::Pls, kEntries, &error));
    }
    EXPECT_EQ(readFile("lists/l.m3u"), QByteArray("/old.mp3\r\n"));
}

} // namespace
} // namespace nuvo
