#include "app/IniFile.h"

#include "TestSupport.h"

#include <cerrno>
#include <cstring>


namespace nuvo {
namespace {

using test::TempDirTest;

IniFile iniOf(const char* text)
{
    return IniFile::fromBytes(QByteArray(text));
}

TEST(IniInteger, AcceptsDecimalAndBothHexadecimalForms)
{
    EXPECT_EQ(parseIniInteger(u"100"), 100);
    EXPECT_EQ(parseIniInteger(u"-7"), -7);
    EXPECT_EQ(parseIniInteger(u"+7"), 7);
    EXPECT_EQ(parseIniInteger(u"0x200"), 512);
    EXPECT_EQ(parseIniInteger(u"0XfF"), 255);
    EXPECT_EQ(parseIniInteger(u"$1A"), 26);
    EXPECT_EQ(parseIniInteger(u"2147483647"), 2147483647);
    EXPECT_EQ(parseIniInteger(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(parseIniInteger(u"0x7FFFFFFF"), 2147483647);
}

TEST(IniInteger, RejectsEverythingElse)
{
    for (const char16_t* text : {u"", u"0x", u"$", u"12a", u"1 2", u"-", u"+", u"0x1G", u"$-1", u"-0x10",
                                 u"2147483648", u"-2147483649", u"0x80000000", u"99999999999999999999",
                                 u"1.5", u"abc"})
        EXPECT_FALSE(parseIniInteger(text).has_value()) << QString::fromUtf16(text).toStdString();
}

TEST(IniFileRead, BlanksAroundKeyEqualsAndValueAreDropped)
{
    const IniFile ini = iniOf("  [MainForm]  \r\n   Left   =   100   \r\nWidth=0x200\r\n");
    EXPECT_EQ(ini.readInteger("MainForm", "Left", -1), 100);
    EXPECT_EQ(ini.readInteger("MainForm", "Width", 300), 512);
}

TEST(IniFileRead, NamesMatchWithoutRegardToCase)
{
    const IniFile ini = iniOf("[mainform]\nLEFT=5\n");
    EXPECT_EQ(ini.readInteger("MainForm", "Left", 0), 5);
    EXPECT_TRUE(ini.contains("MAINFORM", "left"));
    EXPECT_FALSE(ini.contains("MainForm", "Top"));
    EXPECT_FALSE(ini.contains("Other", "Left"));
}

TEST(IniFileRead, EmptyValueIsEmptyTextButDefaultForNumbers)
{
    const IniFile ini = iniOf("[List]\nSearch=\nReady=\nListChanged=\n");
    EXPECT_EQ(ini.readString("List", "Search", "default"), "");
    EXPECT_EQ(ini.readInteger("List", "Ready", 42), 42);
    EXPECT_TRUE(ini.readBool("List", "ListChanged", true));
    EXPECT_EQ(ini.readString("List", "Missing", "default"), "default");
}

TEST(IniFileRead, BooleansAreIntegersNonzeroIsTrue)
{
    const IniFile ini = iniOf("[Option]\nA=1\nB=0\nC=-3\nD=0x10\nE=yes\n");
    EXPECT_TRUE(ini.readBool("Option", "A", false));
    EXPECT_FALSE(ini.readBool("Option", "B", true));
    EXPECT_TRUE(ini.readBool("Option", "C", false));
    EXPECT_TRUE(ini.readBool("Option", "D", false));
    EXPECT_TRUE(ini.readBool("Option", "E", true));
    EXPECT_FALSE(ini.readBool("Option", "E", false));
}

TEST(IniFileRead, InvalidIntegersGiveTheDefault)
{
    const IniFile ini = iniOf("[Engine]\nInFrame=thirty\nOutFrame=99999999999\nInSleep=0x\n");
    EXPECT_EQ(ini.readInteger("Engine", "InFrame", 30), 30);
    EXPECT_EQ(ini.readInteger("Engine", "OutFrame", 20), 20);
    EXPECT_EQ(ini.readInteger("Engine", "InSleep", 5), 5);
}

TEST(IniFileRead, SkipsCommentsEmptyLinesAndLinesBeforeTheFirstSection)
{
    const IniFile ini = iniOf("Orphan=1\n\n; comment\n[S]\n  ;Hidden=1\n\nKey=v\n");
    EXPECT_FALSE(ini.contains("S", ";Hidden"));
    EXPECT_FALSE(ini.contains("S", "Orphan"));
    EXPECT_EQ(ini.readString("S", "Key", ""), "v");
    EXPECT_EQ(ini.sectionNames(), QStringList{"S"});
}

TEST(IniFileRead, AcceptsEveryLineEndAndUtf8)
{
    const IniFile ini = iniOf("\xEF\xBB\xBF[A]\rX=1\r\nY=2\nZ=Gr\xC3\xBC\xC3\x9F" "e\r");
    EXPECT_EQ(ini.readInteger("A", "X", 0), 1);
    EXPECT_EQ(ini.readInteger("A", "Y", 0), 2);
    EXPECT_EQ(ini.readString("A", "Z", ""), QString::fromUtf8("Grüße"));
}

TEST(IniFileRead, ValueKeepsFurtherEqualsSigns)
{
    EXPECT_EQ(iniOf("[A]\nK = a=b \n").readString("A", "K", ""), "a=b");
}

TEST(IniFileRead, LinesWithoutKeyAreDropped)
{
    const IniFile ini = iniOf("[A]\njust text\n=value\nK=1\n");
    EXPECT_FALSE(ini.contains("A", "just text"));
    EXPECT_FALSE(ini.contains("A", ""));
    EXPECT_EQ(ini.toBytes(), QByteArray("[A]\r\nK=1\r\n\r\n"));
}

TEST(IniFileRead, RepeatedSectionsMergeAndTheFirstValueOfAKeyWins)
{
    const IniFile ini = iniOf("[A]\nK=1\n[B]\nL=2\n[a]\nk=3\nM=4\n");
    EXPECT_EQ(ini.readInteger("A", "K", 0), 1);
    EXPECT_EQ(ini.toBytes(), QByteArray("[A]\r\nK=1\r\nM=4\r\n\r\n[B]\r\nL=2\r\n\r\n"));
}

TEST(IniFileWrite, FromScratchSectionsAndKeysComeInWriteOrder)
{
    IniFile ini;
    ini.writeInteger("MainForm", "Left", 10);
    ini.writeInteger("MainForm", "Top", -20);
    ini.writeInteger("List", "Ready", 0);
    ini.writeString("List", "Search", "");
    ini.writeBool("Equalizer", "Enable", true);
    ini.writeBool("Option", "Single", false);
    EXPECT_EQ(ini.toBytes(), QByteArray("[MainForm]\r\nLeft=10\r\nTop=-20\r\n\r\n"
                                        "[List]\r\nReady=0\r\nSearch=\r\n\r\n"
                                        "[Equalizer]\r\nEnable=1\r\n\r\n"
                                        "[Option]\r\nSingle=0\r\n\r\n"));
}

TEST(IniFileWrite, ReplacesInPlaceAppendsToItsSectionAndKeepsUnknownEntries)
{
    IniFile ini = iniOf("; settings\n[MainForm]\nLeft=1\nCustom=keep me\n\n[Unknown]\nX=y\n[List]\nReady=3\n");
    ini.writeInteger("mainform", "LEFT", 7);
    ini.writeInteger("MainForm", "Width", 300);
    ini.writeString("HotKey", "Key", "A");
    EXPECT_EQ(ini.toBytes(), QByteArray("[MainForm]\r\nLeft=7\r\nCustom=keep me\r\nWidth=300\r\n\r\n"
                                        "[Unknown]\r\nX=y\r\n\r\n"
                                        "[List]\r\nReady=3\r\n\r\n"
                                        "[HotKey]\r\nKey=A\r\n\r\n"));
}

TEST(IniFileWrite, LineBreaksInTextCannotBreakTheFileApart)
{
    IniFile ini;
    ini.writeString("List", "OpenedList", "/music/odd\nname.m3u");
    ini.writeString("List", "Search", "x\r\n[Evil]\r\nKey=1");
    const IniFile reread = IniFile::fromBytes(ini.toBytes());
    EXPECT_EQ(reread.sectionNames(), QStringList{"List"});
    EXPECT_EQ(reread.readString("List", "OpenedList", ""), "/music/odd name.m3u");
    EXPECT_FALSE(reread.contains("Evil", "Key"));
}

TEST(IniFileWrite, EraseSectionRemovesItWhateverTheCase)
{
    IniFile ini = iniOf("[Rock]\n60Hz=10\n[Jazz]\n60Hz=-5\n");
    ini.eraseSection("ROCK");
    EXPECT_EQ(ini.sectionNames(), QStringList{"Jazz"});
    EXPECT_FALSE(ini.contains("Rock", "60Hz"));
}

class IniFileOnDisk : public TempDirTest {};

TEST_F(IniFileOnDisk, MissingFileIsAnEmptySet)
{
    const IniFile ini = IniFile::load(path("Nuvo.ini"));
    EXPECT_TRUE(ini.sectionNames().isEmpty());
    EXPECT_EQ(ini.readInteger("MainForm", "Width", 300), 300);
}

TEST_F(IniFileOnDisk, CommentsAreGoneAfterASaveUnknownKeysStay)
{
    writeFile("Nuvo.ini", "; my note\r\n[MainForm]\r\nLeft=5\r\nFancy=1\r\n");
    IniFile ini = IniFile::load(path("Nuvo.ini"));
    ini.writeInteger("MainForm", "Left", 6);
    QString error;
    ASSERT_TRUE(ini.save(path("Nuvo.ini"), &error)) << error.toStdString();
    EXPECT_EQ(readFile("Nuvo.ini"), QByteArray("[MainForm]\r\nLeft=6\r\nFancy=1\r\n\r\n"));
    EXPECT_TRUE(error.isEmpty());
}

TEST_F(IniFileOnDisk, TextRoundTripsExceptOuterBlanks)
{
    IniFile ini;
    ini.writeString("List", "Search", QString::fromUtf8("  日本語 text  "));
    ASSERT_TRUE(ini.save(path("Nuvo.ini"), nullptr));
    EXPECT_EQ(IniFile::load(path("Nuvo.ini")).readString("List", "Search", ""), QString::fromUtf8("日本語 text"));
}

// The parent "directory" is a file, so the temporary file cannot even be made.
TEST_F(IniFileOnDisk, FailedSaveReportsTheFileAndItsReason)
{
    writeFile("blocker", "x");
    IniFile ini;
    ini.writeInteger("A", "B", 1);
    QString error;
    const QString target = path("blocker/Nuvo.ini");
    EXPECT_FALSE(ini.save(target, &error));
    EXPECT_TRUE(error.startsWith("Cannot write " + target + ": ")) << error.toStdString();
    EXPECT_GT(error.size(), QString("Cannot write " + target + ": ").size());
    EXPECT_EQ(readFile("blocker"), QByteArray("x"));
}

// The small file fits Qt's write buffer and reaches the disk only at the final flush; the large one
// is written at once. Either way a full disk must fail the save and keep the old file.
TEST_F(IniFileOnDisk, WriteCutShortByAFullDiskLeavesTheOldFileWhole)
{
    const QByteArray old("[MainForm]\r\nLeft=1\r\n\r\n");
    for (const int keys : {8, 3000}) {
        writeFile("Nuvo.ini", old);
        IniFile ini;
        for (int i = 0; i < keys; ++i)
            ini.writeInteger("Big", QStringLiteral("Key%1").arg(i), i);

        QString error;
        bool written = true;
        {
            test::FileSizeLimit fullDisk(16);
            ASSERT_TRUE(fullDisk.active());
            written = ini.save(path("Nuvo.ini"), &error);
        }
        EXPECT_FALSE(written) << keys;
        EXPECT_EQ(error, "Cannot write " + path("Nuvo.ini") + ": " + QString::fromLocal8Bit(strerror(EFBIG)));
        EXPECT_EQ(readFile("Nuvo.ini"), old) << keys;
        EXPECT_EQ(QDir(root()).entryList(QDir::Files), QStringList{"Nuvo.ini"}) << "temporary file left behind";
    }
}

} // namespace
} // namespace nuvo
