// Adding tracks: the open and add commands with their dialogs, drops on the
// window and the progress window of a long scan.
#include "AddingTest.h"

#include "playlist/LongScan.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nuvo::test {
namespace {

using AddFilesTest = AddingTest;

TEST_F(AddFilesTest, OpenFilesAppendsAndPlaysTheFirstOfThem)
{
    writePlaylist({"/l/1.mp3", "/l/2.mp3", "/l/3.mp3", "/l/4.mp3", addTrack("5.mp3")});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=4\r\n");
    start();
    action("Play")->trigger();
    const QStringList chosen{addTrack("6.mp3"), addTrack("7.mp3"), addTrack("8.mp3")};
    dialogs_.fileAnswers.push_back(files(chosen));
    const std::size_t before = fake_->calls.size();
    action("FileOpen")->trigger();

    EXPECT_EQ(entries().mid(5), chosen);
    EXPECT_EQ(window_->currentIndex(), 5);
    EXPECT_EQ(fake_->openPath, chosen.front().toStdString());
    EXPECT_EQ(fake_->callsSince(before).front(), "close") << "the open track closes first";
    EXPECT_EQ(label("Label3")->text(), "/8");
    ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs_.fileRequests[0].caption, "OpenFile(s)");
    EXPECT_EQ(dialogs_.fileRequests[0].nameFilters, QStringList{"Music (*.mp1 *.mp2 *.mp3 *.rmp *.wav)"});
}

TEST_F(AddFilesTest, AddFilesAndAddDirectoryKeepThePositionAndChangeABoundList)
{
    writePlaylist({addTrack("a.mp3"), addTrack("b.mp3")});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=1\r\nOpenedList=/lists/mix.m3u\r\n");
    start();
    EXPECT_FALSE(action("UpDateC")->isEnabled());
    dialogs_.fileAnswers.push_back(files({addTrack("c.mp3")}));
    action("AddFile")->trigger();
    addTrack("folder/sub/d.mp3");
    addTrack("folder/e.wav");
    dialogs_.directoryAnswers.push_back(homePath("folder"));
    action("AddDir")->trigger();

    EXPECT_EQ(entries().mid(2), (QStringList{homePath("c.mp3"), homePath("folder/sub/d.mp3"), homePath("folder/e.wav")}));
    EXPECT_EQ(window_->currentIndex(), 1);
    EXPECT_EQ(window_->playState(), -1);
    EXPECT_TRUE(action("UpDateC")->isEnabled());
    EXPECT_TRUE(action("UpDateR")->isEnabled());
    EXPECT_TRUE(action("Next")->isEnabled());
    EXPECT_EQ(dialogs_.asked.back().text, "AddDirectory");
}

// Each open or add command: cancelled, or given nothing to add, it changes nothing.
TEST_F(AddFilesTest, ACancelOrNothingToAddChangesNothing)
{
    writePlaylist({addTrack("a.mp3"), addTrack("b.mp3")});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=1\r\nOpenedList=/lists/mix.m3u\r\n");
    addBrokenTrack("quiet/notes.txt");
    start();
    const char* commands[] = {"FileOpen", "AddFile", "Directory", "AddDir", "OpenList", "AddList"};
    for (const char* command : commands) {
        action(command)->trigger(); // cancelled: nothing queued
        dialogs_.fileAnswers.push_back(FileDialogAnswer{{}, "Music"}); // accepted without a file
        dialogs_.directoryAnswers.push_back(homePath("quiet"));       // a folder without tracks
        action(command)->trigger();
        dialogs_.fileAnswers.clear();
        dialogs_.directoryAnswers.clear();
        EXPECT_EQ(entries().size(), 2) << command;
        EXPECT_EQ(window_->currentIndex(), 1) << command;
        EXPECT_EQ(window_->playState(), -1) << command;
        EXPECT_FALSE(action("UpDateC")->isEnabled()) << command;
    }
    EXPECT_TRUE(fake_->openPath.empty());
    EXPECT_TRUE(dialogs_.errors().isEmpty());
}

TEST_F(AddFilesTest, NamesHoldingALineBreakAreNotAdded)
{
    start();
    dialogs_.fileAnswers.push_back(files({homePath("two\nlines.mp3"), addTrack("one.mp3"), homePath("cr\r.mp3")}));
    action("AddFile")->trigger();
    EXPECT_EQ(entries(), QStringList{homePath("one.mp3")});
}

using DropTest = AddingTest;

TEST_F(DropTest, DroppedFilesAndFoldersAreAppendedWithoutPlaying)
{
    writePlaylist({addTrack("a.mp3")});
    start();
    const QString b = addTrack("drop/b.mp3");
    const QString c = addTrack("drop/folder/c.mp3");
    addBrokenTrack("drop/notes.txt");
    // A folder comes with a trailing "/" from some file managers.
    ASSERT_TRUE(drop({QUrl::fromLocalFile(b), QUrl::fromLocalFile(homePath("drop/notes.txt")),
                      QUrl::fromLocalFile(homePath("drop/folder") + "/")},
                     playlistView()));
    EXPECT_EQ(entries(), (QStringList{homePath("a.mp3"), b, c}));
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_EQ(window_->playState(), -1);
    EXPECT_EQ(label("Label3")->text(), "/3");
    EXPECT_TRUE(action("Sort")->isEnabled());
}

TEST_F(DropTest, AFileDroppedOnAnEditOrAComboBoxAddsTheTrackAndLeavesTheText)
{
    writePlaylist({addTrack("a.mp3")});
    start();
    auto* edit2 = window_->findChild<QLineEdit*>("Edit2");
    edit2->setText("beat");
    auto* presets = window_->findChild<QComboBox*>("ComboBox2");
    const QString presetText = presets->currentText();
    const QString b = addTrack("b.mp3");
    const QString c = addTrack("c.mp3");
    ASSERT_TRUE(dropFiles({b}, edit2));
    window_->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(2); // the equalizer page
    ASSERT_TRUE(dropFiles({c}, presets));
    EXPECT_EQ(entries(), (QStringList{homePath("a.mp3"), b, c}));
    EXPECT_EQ(edit2->text(), "beat");
    EXPECT_EQ(presets->currentText(), presetText);
}

TEST_F(DropTest, OneListFileDroppedOnAnEmptyUnboundListBindsIt)
{
    const QString a = addTrack("lists/a.mp3");
    writeHomeFile("lists/mix.m3u", "a.mp3\r\n");
    writeHomeFile("lists/other.pls", "[playlist]\r\nFile1=/x/b.mp3\r\nNumberOfEntries=1\r\n");
    start();
    ASSERT_TRUE(dropFiles({homePath("lists/mix.m3u")}, playlistView()));
    EXPECT_EQ(panel(3), " mix.m3u");
    EXPECT_EQ(entries(), QStringList{a});
    EXPECT_FALSE(action("UpDateC")->isEnabled()) << "a fresh binding is no change";
    EXPECT_EQ(window_->playState(), -1);

    ASSERT_TRUE(dropFiles({homePath("lists/other.pls")}, playlistView()));
    EXPECT_EQ(panel(3), " mix.m3u") << "a list that is not empty is not bound again";
    EXPECT_TRUE(action("UpDateC")->isEnabled());
}

// A scan held up by a list file on a pipe, which the test feeds when it likes.
class LongScanTest : public AddingTest {
protected:
    void SetUp() override
    {
        AddingTest::SetUp();
        setScanProgressDelay(std::chrono::milliseconds(0));
        fifo_ = homePath("slow.m3u");
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo_).constData(), 0600), 0);
    }
    void TearDown() override
    {
        // A scan still waiting on the pipe gets its end of file and ends.
        const int fd = ::open(QFile::encodeName(fifo_).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        AddingTest::TearDown();
    }
    // Writes the list to the pipe once the scan waits on it.
    void feed(const QByteArray& list)
    {
        int fd = -1;
        waitFor([&] { return (fd = ::open(QFile::encodeName(fifo_).constData(), O_WRONLY | O_NONBLOCK)) >= 0; }, 2000);
        ASSERT_GE(fd, 0) << "the scan never opened the list";
        EXPECT_EQ(::write(fd, list.constData(), list.size()), list.size());
        ::close(fd);
    }
    QString foundText(QDialog& dialog) { return dialog.findChild<QLabel*>("FoundCount")->text(); }

    QString fifo_;
};

TEST_F(LongScanTest, TheProgressWindowCountsAndCancelAddsNothing)
{
    writePlaylist({addTrack("a.mp3")});
    start();
    addTrack("folder/b.mp3");
    addTrack("folder/c.mp3");
    QString seen;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    dialogs_.dialogAnswers.push_back([&](QDialog& dialog) {
        waitFor([&] { return foundText(dialog) == "Audio files found: 2"; }, 2000);
        seen = foundText(dialog);
        if (QGuiApplication::overrideCursor())
            cursor = QGuiApplication::overrideCursor()->shape();
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(dropFiles({homePath("folder"), fifo_}, playlistView()));

    EXPECT_EQ(seen, "Audio files found: 2");
    EXPECT_EQ(cursor, Qt::BusyCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the busy cursor ends with the scan";
    EXPECT_EQ(entries(), QStringList{homePath("a.mp3")});
    EXPECT_EQ(label("Label3")->text(), "/1");
}

TEST_F(LongScanTest, AWindowClosedDuringTheScanGetsNothingOfIt)
{
    writePlaylist({addTrack("a.mp3")});
    start();
    addTrack("folder/b.mp3");
    // A signal closes the window; the close cancels the open progress window.
    dialogs_.dialogAnswers.push_back([&](QDialog&) {
        window_->close();
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(dropFiles({homePath("folder"), fifo_}, playlistView()));
    EXPECT_EQ(entries(), QStringList{homePath("a.mp3")});
    EXPECT_EQ(readHomeFile("List.m3u"), (homePath("a.mp3") + "\r\n").toUtf8());
}

TEST_F(LongScanTest, AScanThatEndsWhileTheWindowShowsAddsEverything)
{
    start();
    addTrack("folder/b.mp3");
    dialogs_.dialogAnswers.push_back([&](QDialog& dialog) {
        feed("/x/listed.mp3\n/x/more.mp3\n");
        waitFor([&] { return foundText(dialog) == "Audio files found: 3"; }, 2000);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(dropFiles({homePath("folder"), fifo_}, playlistView()));
    EXPECT_EQ(entries(), (QStringList{homePath("folder/b.mp3"), "/x/listed.mp3", "/x/more.mp3"}));
}

} // namespace
} // namespace nuvo::test
