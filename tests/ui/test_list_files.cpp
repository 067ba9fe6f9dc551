// List files: open and add them, save the list as M3U or PLS, and update
// the file the list is bound to.
#include "AddingTest.h"

#include <QDir>

namespace nuvo::test {
namespace {

using ListFilesTest = AddingTest;

TEST_F(ListFilesTest, OneListOpenedIntoAnEmptyListBindsItAndPlays)
{
    const QString a = addTrack("lists/a.mp3");
    writeHomeFile("lists/mix.M3U", "#EXTM3U\r\na.mp3\r\n../b.wav\r\n");
    start();
    dialogs_.fileAnswers.push_back(files({homePath("lists/mix.M3U")}));
    action("OpenList")->trigger();
    EXPECT_EQ(entries(), (QStringList{a, homePath("b.wav")}));
    EXPECT_EQ(panel(3), " mix.M3U");
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_EQ(fake_->openPath, a.toStdString());
    EXPECT_FALSE(action("UpDateC")->isEnabled()) << "a fresh binding is no change";
    EXPECT_EQ(dialogs_.fileRequests.back().caption, "OpenList(s)");
    EXPECT_EQ(dialogs_.fileRequests.back().nameFilters, QStringList{"List (*.m3u *.m3u8 *.pls)"});

    // Another list added to the bound one changes it; the position stays.
    writeHomeFile("more.pls", "[playlist]\r\nFile1=/x/c.mp3\r\nNumberOfEntries=1\r\n");
    dialogs_.fileAnswers.push_back(files({homePath("more.pls")}));
    action("AddList")->trigger();
    EXPECT_EQ(entries().last(), "/x/c.mp3");
    EXPECT_EQ(panel(3), " mix.M3U");
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_TRUE(action("UpDateC")->isEnabled());
    EXPECT_TRUE(action("UpDateR")->isEnabled());
}

TEST_F(ListFilesTest, TwoListsOrAListWithoutTracksBindAsTheRulesSay)
{
    writeHomeFile("one.m3u", "/x/1.mp3\r\n");
    writeHomeFile("two.m3u", "/x/2.mp3\r\n");
    writeHomeFile("none.m3u", "#nothing\r\n");
    start();
    dialogs_.fileAnswers.push_back(files({homePath("one.m3u"), homePath("two.m3u")}));
    action("AddList")->trigger();
    EXPECT_EQ(entries(), (QStringList{"/x/1.mp3", "/x/2.mp3"}));
    EXPECT_EQ(panel(3), "");
    closeWindow();

    writePlaylist({});
    start();
    dialogs_.fileAnswers.push_back(files({homePath("none.m3u")}));
    action("OpenList")->trigger();
    EXPECT_EQ(panel(3), " none.m3u") << "the binding stays though nothing was added";
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_EQ(window_->playState(), -1);
}

TEST_F(ListFilesTest, AListThatCannotBeReadIsToldAndChangesNothing)
{
    writePlaylist({addTrack("a.mp3")});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=0\r\n");
    writeHomeFile("good.m3u", "/x/1.mp3\r\n");
    start();
    dialogs_.fileAnswers.push_back(files({homePath("good.m3u"), homePath("gone.m3u")}));
    action("OpenList")->trigger();
    EXPECT_EQ(entries(), QStringList{homePath("a.mp3")});
    EXPECT_EQ(window_->playState(), -1);
    ASSERT_EQ(dialogs_.errors().size(), 1);
    EXPECT_TRUE(dialogs_.errors().front().startsWith("Cannot read " + homePath("gone.m3u")));
}

TEST_F(ListFilesTest, SaveListAsWritesTheFormatOfTheChosenFilter)
{
    QDir().mkpath(homePath("music/lists"));
    writePlaylist({homePath("music/lists/a.mp3"), homePath("music/rock/b.mp3")});
    writeHomeFile("Nuvo.ini", "[List]\r\nOpenedList=/bound.m3u\r\n");
    start();
    const QByteArray a = homePath("music/lists/a.mp3").toUtf8();
    const QByteArray b = homePath("music/rock/b.mp3").toUtf8();
    struct Case {
        const char* command;
        QString file;
        QString filter;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"SaveList", "music/lists/c.m3u", "M3U (*.m3u)", a + "\r\n" + b + "\r\n"},
        // The filter decides, not the name typed.
        {"SaveList", "music/lists/p.m3u", "PLS (*.pls)", "[playlist]\r\nFile1=" + a + "\r\nFile2=" + b + "\r\nNumberOfEntries=2\r\n"},
        {"SaveListR", "music/lists/r.m3u", "M3U (*.m3u)", "a.mp3\r\n../rock/b.mp3\r\n"},
    };
    for (const Case& c : cases) {
        dialogs_.fileAnswers.push_back(files({homePath(c.file)}, c.filter));
        action(c.command)->trigger();
        EXPECT_EQ(readHomeFile(c.file), c.bytes) << c.command << " " << c.filter.toStdString();
    }
    ASSERT_EQ(dialogs_.fileRequests.size(), 3u);
    EXPECT_EQ(dialogs_.fileRequests[0].caption, "SaveList<CompletePath>");
    EXPECT_EQ(dialogs_.fileRequests[0].nameFilters, (QStringList{"M3U (*.m3u)", "PLS (*.pls)"}));
    EXPECT_EQ(dialogs_.fileRequests[0].defaultSuffix, "m3u");
    EXPECT_EQ(dialogs_.fileRequests[2].caption, "SaveList<RelativePath>");
    EXPECT_EQ(dialogs_.fileRequests[2].nameFilters, QStringList{"M3U (*.m3u)"});
    EXPECT_EQ(panel(3), " bound.m3u") << "saving leaves the binding";
    EXPECT_FALSE(action("UpDateC")->isEnabled());
    EXPECT_EQ(readHomeFile("FLst.lst"), (homePath("music/lists/c.m3u") + "\r\n" + homePath("music/lists/p.m3u")
                                         + "\r\n" + homePath("music/lists/r.m3u") + "\r\n")
                                            .toUtf8())
        << "each saved list joins the favourite lists";
}

TEST_F(ListFilesTest, ASaveThatFailsIsToldAndAnEmptyListIsNotSaved)
{
    start();
    action("SaveList")->trigger();
    EXPECT_TRUE(dialogs_.asked.empty()) << "nothing to save, nothing asked";
    closeWindow();

    writePlaylist({"/x/a.mp3"});
    start();
    QDir().mkpath(homePath("taken.m3u"));
    dialogs_.fileAnswers.push_back(files({homePath("taken.m3u")}, "M3U (*.m3u)"));
    action("SaveList")->trigger();
    ASSERT_EQ(dialogs_.errors().size(), 1);
    EXPECT_TRUE(dialogs_.errors().front().startsWith("Cannot write " + homePath("taken.m3u")));
    EXPECT_FALSE(QFile::exists(homePath("FLst.lst"))) << "a list not written is no favourite";
}

TEST_F(ListFilesTest, UpDateListRewritesTheBoundFileAndEndsTheChange)
{
    QDir().mkpath(homePath("lists"));
    writeHomeFile("lists/mix.pls", "old");
    writeHomeFile("lists/mix.m3u", "old");
    writeHomeFile("lists/mix.m3u8", "old");
    writePlaylist({homePath("lists/a.mp3")});
    struct Case {
        const char* bound;
        const char* command;
        QByteArray bytes;
    };
    const QByteArray a = homePath("lists/a.mp3").toUtf8();
    const Case cases[] = {
        {"lists/mix.pls", "UpDateC", "[playlist]\r\nFile1=" + a + "\r\nNumberOfEntries=1\r\n"},
        {"lists/mix.m3u", "UpDateC", a + "\r\n"},
        {"lists/mix.m3u", "UpDateR", "a.mp3\r\n"},
        {"lists/mix.m3u8", "UpDateR", "a.mp3\r\n"},
    };
    for (const Case& c : cases) {
        writeHomeFile("Nuvo.ini", "[List]\r\nListChanged=1\r\nOpenedList=" + homePath(c.bound).toUtf8() + "\r\n");
        start();
        ASSERT_TRUE(action(c.command)->isEnabled()) << c.bound;
        action(c.command)->trigger();
        EXPECT_EQ(readHomeFile(c.bound), c.bytes) << c.bound << " " << c.command;
        EXPECT_FALSE(action("UpDateC")->isEnabled());
        EXPECT_FALSE(action("UpDateR")->isEnabled());
        EXPECT_TRUE(dialogs_.errors().isEmpty());
        closeWindow();
        EXPECT_TRUE(QString::fromUtf8(readHomeFile("Nuvo.ini")).contains("ListChanged=0\r\n"));
    }
}

TEST_F(ListFilesTest, AnUpdateThatCannotWriteKeepsTheChange)
{
    writePlaylist({"/x/a.mp3"});
    QDir().mkpath(homePath("folder.m3u")); // where the bound file should be
    for (const QString& bound : {homePath("folder.m3u"), homePath("deleted.m3u")}) {
        dialogs_.asked.clear();
        writeHomeFile("Nuvo.ini", "[List]\r\nListChanged=1\r\nOpenedList=" + bound.toUtf8() + "\r\n");
        start();
        action("UpDateC")->trigger();
        ASSERT_EQ(dialogs_.errors().size(), 1) << bound.toStdString();
        EXPECT_TRUE(dialogs_.errors().front().contains(bound));
        EXPECT_TRUE(action("UpDateC")->isEnabled());
        EXPECT_FALSE(QFileInfo(homePath("deleted.m3u")).exists()) << "a deleted list is not made again";
        closeWindow();
        EXPECT_TRUE(QString::fromUtf8(readHomeFile("Nuvo.ini")).contains("ListChanged=1\r\n"));
    }
}

} // namespace
} // namespace nuvo::test
