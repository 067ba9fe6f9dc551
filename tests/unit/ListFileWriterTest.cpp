#include "playlist/ListFileWriter.h"

#include "app/TextFile.h"
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

TEST(ListFileWriter, ARelativeLineTheReaderWouldMisreadIsWrittenWhole)
{
    // Legal Linux names whose relative form reads as another track: "\" is taken as "/", ":\"
    // starts a path of its own, "file:/" a URI, "#" a comment, U+FEFF first in a file is a
    // byte-order mark. "a=/" is a folder like any other.
    const QStringList entries{"/music/lists/\uFEFFbom.mp3", "/music/lists/back\\slash.mp3",
                              "/music/lists/d:\\x.mp3",     "/music/lists/file:/b.mp3",
                              "/music/lists/#1.mp3",        "/music/lists/a=/b.mp3",
                              "/music/rock/b.mp3"};
    const QByteArray bytes = listFileBytes(ListFormat::M3uRelative, entries, "/music/lists");
    EXPECT_EQ(bytes, "/music/lists/\xEF\xBB\xBF" "bom.mp3\r\n/music/lists/back\\slash.mp3\r\n/music/lists/d:\\x.mp3\r\n"
                     "/music/lists/file:/b.mp3\r\n/music/lists/#1.mp3\r\na=/b.mp3\r\n../rock/b.mp3\r\n");
    EXPECT_EQ(tracksFromListLines(decodeTextLines(bytes), "/music/lists", ListSyntax::M3u), entries);
}

class ListFileWriterFiles : public test::TempDirTest {};

TEST_F(ListFileWriterFiles, WhatIsWrittenReadsBackAsTheSameTracks)
{
    const QStringList entries{path("music/a.mp3"), path("x/b.MP3"), "/elsewhere/c.wav"};
    makeDir("lists");
    const std::pair<ListFormat, QString> files[] = {
        {ListFormat::M3uComplete, "lists/l.m3u"}, {ListFormat::M3uRelative, "lists/l.m3u8"}, {ListFormat::Pls, "lists/l.pls"}};
    for (const auto& [format, name] : files) {
        QString error;
        ASSERT_TRUE(writeListFile(path(name), format, entries, &error)) << error.toStdString();
        bool ok = false;
        EXPECT_EQ(readListFile(path(name), &ok), entries) << int(format);
        EXPECT_TRUE(ok);
    }
}

} // namespace
} // namespace nuvo
