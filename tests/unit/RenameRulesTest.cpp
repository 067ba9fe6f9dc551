#include "tag/RenameRules.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

TEST(RenameRules, TheNewNameKeepsDirectoryAndExtension)
{
    struct Case {
        const char* typed;
        NewNameCheck check;
        const char* path;
    };
    const Case cases[] = {
        {"b:c", NewNameCheck::Ready, "/m/x.y/bc.Mp3"},                  // a colon between two letters goes
        {"a<>|\"*?\\/b", NewNameCheck::Ready, "/m/x.y/ab.Mp3"},
        {"new\r\nname", NewNameCheck::Ready, "/m/x.y/newname.Mp3"},
        {"song:", NewNameCheck::Unchanged, ""},                           // cleaned, it is the old name
        {"???", NewNameCheck::Unchanged, ""},
        {"", NewNameCheck::Unchanged, ""},
        {"x.y", NewNameCheck::Ready, "/m/x.y/x.y.Mp3"},
    };
    for (const Case& c : cases) {
        const NewName name = newNameFor("/m/x.y/song.Mp3", QString::fromUtf8(c.typed));
        EXPECT_EQ(name.check, c.check) << c.typed;
        if (c.check == NewNameCheck::Ready) {
            EXPECT_EQ(name.path, c.path) << c.typed;
        }
    }
    EXPECT_EQ(newNameFor("/m/song", "..").check, NewNameCheck::NotAName);
    EXPECT_EQ(newNameFor("/m/song", "new").path, "/m/new");
}

TEST(RenameRules, NameAndPathLimitsInBytes)
{
    // 251 bytes and ".mp3" make 255: the longest name.
    EXPECT_EQ(newNameFor("/m/a.mp3", QString(251, u'n')).check, NewNameCheck::Ready);
    EXPECT_EQ(newNameFor("/m/a.mp3", QString(252, u'n')).check, NewNameCheck::NameTooLong);
    // 126 two-byte letters are 252 bytes, few characters but too many bytes.
    EXPECT_EQ(newNameFor("/m/a.mp3", QString(126, QChar(0xE9))).check, NewNameCheck::NameTooLong);

    const QString deep = "/" + QString(3880, u'd') + "/a.mp3";  // a directory part of 3882 bytes
    EXPECT_EQ(newNameFor(deep, QString(209, u'n')).check, NewNameCheck::Ready);        // 4095 in all
    EXPECT_EQ(newNameFor(deep, QString(210, u'n')).check, NewNameCheck::PathTooLong);
    EXPECT_EQ(renameTypingLimit(deep), 209);
    EXPECT_EQ(renameTypingLimit("/m/a.mp3"), 251);
    EXPECT_EQ(renameTypingLimit("/m/noextension"), 255);
}

class RenameWithoutReplacing : public test::TempDirTest {};

TEST_F(RenameWithoutReplacing, RenamesOrLeavesBothFilesAsTheyWere)
{
    writeFile("a.mp3", "first");
    writeFile("b.mp3", "second");
    EXPECT_EQ(renameWithoutReplacing(path("a.mp3"), path("b.mp3")), EEXIST);
    EXPECT_EQ(readFile("a.mp3"), "first");
    EXPECT_EQ(readFile("b.mp3"), "second");

    EXPECT_EQ(renameWithoutReplacing(path("a.mp3"), path("c.mp3")), 0);
    EXPECT_FALSE(QFileInfo::exists(path("a.mp3")));
    EXPECT_EQ(readFile("c.mp3"), "first");

    EXPECT_EQ(renameWithoutReplacing(path("missing.mp3"), path("d.mp3")), ENOENT);
}

} // namespace
} // namespace nuvo
