// Start-up restoring the last run, close writing it back, the command line
// and the missing decoder.
#include "WindowTest.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QDialog>
#include <QTimer>

namespace nuvo::test {
namespace {

using LifecycleTest = WindowTest;

// The file as the close writes it from scratch, with the engine values the
// decoder reports and the window where the settings put it.
QByteArray freshSettingsFile(const QString& preColor, const QString& proColor)
{
    return QStringLiteral(
               "[MainForm]\r\nLeft=100\r\nTop=50\r\nWidth=300\r\nHeight=324\r\n\r\n"
               "[List]\r\nReady=0\r\nSearch=\r\nOpenedList=\r\nListChanged=0\r\n\r\n"
               "[Equalizer]\r\nEnable=0\r\nItem=-1\r\n\r\n"
               "[Option]\r\nSingle=0\r\nAll=0\r\nRandom=0\r\nSeek=0\r\nEqualize=0\r\nWinSize=0\r\n"
               "Prepared=0\r\nProgress=0\r\nTab=0\r\nPreColor=%1\r\nProColor=%2\r\n\r\n"
               "[Label]\r\nVolume=100\r\n\r\n"
               "[Engine]\r\nVbmp3=0\r\nDecoder=0\r\nInFrame=31\r\nOutFrame=21\r\nInSleep=6\r\n"
               "OutSleep=1\r\nDownSample=1\r\nChannel=1\r\nOutSample=22000\r\n\r\n"
               "[Favorite]\r\nAutoStart=0\r\nClearList=0\r\n\r\n"
               "[HotKey]\r\nLock=0\r\nKey=\r\n\r\n")
        .arg(preColor, proColor)
        .toUtf8();
}

QString colorRefText(const QColor& color)
{
    return QString::number(color.red() | color.green() << 8 | color.blue() << 16);
}

TEST_F(LifecycleTest, FirstRunWritesEverySettingInItsOrder)
{
    // Only the window position is given, so the rest is the defaults.
    writeHomeFile("Nuvo.ini", "[MainForm]\r\nLeft=100\r\nTop=50\r\n");
    fake_->buffer = {31, 21, 6, 1};
    fake_->decode = {1, 1, 22000};
    start();
    const QPalette palette = window_->palette();
    closeWindow();
    EXPECT_EQ(QString::fromUtf8(readHomeFile("Nuvo.ini")),
              QString::fromUtf8(freshSettingsFile(colorRefText(palette.color(QPalette::Link)),
                                                  colorRefText(palette.color(QPalette::Highlight)))));
    EXPECT_EQ(readHomeFile("List.m3u"), QByteArray());
    EXPECT_EQ(readHomeFile("Eqlz.lst"), QByteArray("Default\r\n"));
    EXPECT_EQ(fake_->count("free"), 1) << "the library is shut down before it is unloaded";
}

TEST_F(LifecycleTest, CloseKeepsUnknownKeysDropsCommentsAndReadsHex)
{
    writeHomeFile("Nuvo.ini",
                  "; a comment\r\n[MainForm]\r\n  Left  =  100  \r\nTop=$32\r\nWidth=0x200\r\nHeight=400\r\n"
                  "Theme=dark\r\n\r\n[Option]\r\nWinSize=1\r\nPreColor=255\r\nProColor=65280\r\n"
                  "[Extra]\r\nKeep=me\r\n");
    start();
    EXPECT_EQ(window_->width(), 512);
    EXPECT_EQ(window_->height(), 400);
    closeWindow();
    const QString written = QString::fromUtf8(readHomeFile("Nuvo.ini"));
    EXPECT_FALSE(written.contains("comment"));
    EXPECT_TRUE(written.startsWith("[MainForm]\r\nLeft=100\r\nTop=50\r\nWidth=512\r\nHeight=400\r\nTheme=dark\r\n\r\n"))
        << written.toStdString();
    EXPECT_TRUE(written.contains("[Option]\r\nWinSize=1\r\nPreColor=255\r\nProColor=65280\r\nSingle=0\r\n"))
        << written.toStdString();
    EXPECT_TRUE(written.contains("[Extra]\r\nKeep=me\r\n\r\n"));
}

TEST_F(LifecycleTest, WithoutSaveSizeTheDesignSizeIsWritten)
{
    writeHomeFile("Nuvo.ini", "[MainForm]\r\nWidth=500\r\nHeight=500\r\n");
    start();
    window_->resize(640, 480);
    closeWindow();
    const QString written = QString::fromUtf8(readHomeFile("Nuvo.ini"));
    EXPECT_TRUE(written.contains("Width=300\r\nHeight=324\r\n")) << written.toStdString();
}

TEST_F(LifecycleTest, SettingsComeBackAsTheyWereLeft)
{
    const QString a = addTrack("a.mp3");
    const QString b = addTrack("b.mp3");
    writePlaylist({a, b, "#not a comment"});
    writeHomeFile("Eqlz.lst", "Default\r\nRock\r\nJazz\r\n");
    writeHomeFile("Nuvo.ini",
                  "[List]\r\nReady=1\r\nSearch=  beat  \r\n[Equalizer]\r\nItem=2\r\n"
                  "[Option]\r\nAll=1\r\nTab=1\r\nPrepared=1\r\nPreColor=5649426\r\n"
                  "[Label]\r\nVolume=40\r\n[HotKey]\r\nLock=1\r\nKey=k\r\n"
                  "[Engine]\r\nVbmp3=1\r\nInFrame=100\r\nOutFrame=50\r\nInSleep=10\r\nOutSleep=2\r\n"
                  "Decoder=1\r\nChannel=5\r\nOutSample=11025\r\n");
    start();

    EXPECT_EQ(playlistView()->model()->rowCount(), 3);
    EXPECT_EQ(window_->currentIndex(), 1);
    EXPECT_EQ(playlistView()->currentIndex().row(), 1);
    EXPECT_EQ(label("Label3")->text(), "/3");
    EXPECT_EQ(label("Label1")->text(), "40");
    EXPECT_EQ(window_->findChild<QLineEdit*>("Edit2")->text(), "beat");
    EXPECT_EQ(window_->findChild<QLineEdit*>("Edit3")->text(), "k");
    EXPECT_FALSE(window_->findChild<QLineEdit*>("Edit3")->isEnabled());
    EXPECT_TRUE(action("Hotkey1")->isChecked());
    EXPECT_EQ(window_->findChild<QComboBox*>("ComboBox2")->currentText(), "Jazz");
    EXPECT_EQ(window_->findChild<QTabWidget*>("PageControl1")->tabPosition(), QTabWidget::South);
    EXPECT_TRUE(window_->isOptionChecked(Option::All));

    auto* options = window_->findChild<QListWidget*>("CheckListBox1");
    EXPECT_EQ(options->item(11)->text(), "Played/Standby <123456>");
    EXPECT_FALSE(options->item(0)->flags() & Qt::ItemIsUserCheckable) << "headers cannot be checked";
    auto* engine = window_->findChild<QListWidget*>("CheckListBox2");
    EXPECT_EQ(engine->item(2)->text(), "Input 100 frames/Output 50 frames");
    EXPECT_EQ(engine->item(4)->text(), "Input 10 mSec/Output 2 mSec");
    EXPECT_EQ(engine->item(10)->text(), "Unknown");
    EXPECT_EQ(engine->item(12)->text(), "11025 Hz");
    EXPECT_FALSE(window_->findChild<QWidget*>("CheckBox1")->isEnabled());
    EXPECT_EQ(fake_->buffer.inputFrames, 100);
    EXPECT_EQ(fake_->decode.frequencyLimit, 11025);
    EXPECT_TRUE(action("VolumeUp")->isEnabled());

    closeWindow();
    EXPECT_EQ(readHomeFile("List.m3u"), (a + "\r\n" + b + "\r\n#not a comment\r\n").toUtf8());
    EXPECT_EQ(readHomeFile("Eqlz.lst"), QByteArray("Default\r\nRock\r\nJazz\r\n"));
    const QString written = QString::fromUtf8(readHomeFile("Nuvo.ini"));
    EXPECT_TRUE(written.contains("[List]\r\nReady=1\r\nSearch=beat\r\n")) << written.toStdString();
    EXPECT_TRUE(written.contains("[HotKey]\r\nLock=1\r\nKey=k\r\n"));
    EXPECT_TRUE(written.contains("Item=2\r\n"));
    EXPECT_TRUE(written.contains("Volume=40\r\n"));
}

TEST_F(LifecycleTest, AHotKeyThatIsNoLetterOrDigitIsSavedEmpty)
{
    start();
    window_->findChild<QLineEdit*>("Edit3")->setText("#");
    closeWindow();
    EXPECT_TRUE(QString::fromUtf8(readHomeFile("Nuvo.ini")).contains("[HotKey]\r\nLock=0\r\nKey=\r\n"));
}

TEST_F(LifecycleTest, ABoundChangedListShowsItsNameAndUpdateCommands)
{
    writeHomeFile("Nuvo.ini", "[List]\r\nOpenedList=/lists/mix.M3U\r\nListChanged=1\r\n");
    start();
    EXPECT_EQ(panel(3), " mix.M3U");
    EXPECT_TRUE(action("UpDateC")->isEnabled());
    EXPECT_TRUE(action("UpDateR")->isEnabled());
    closeWindow();

    writeHomeFile("Nuvo.ini", "[List]\r\nOpenedList=/lists/mix.pls\r\nListChanged=1\r\n");
    start();
    EXPECT_TRUE(action("UpDateC")->isEnabled());
    EXPECT_FALSE(action("UpDateR")->isEnabled()) << "a PLS list has no relative form";
}

TEST_F(LifecycleTest, AStoredPositionOutsideTheListFallsBackToTheFirstEntry)
{
    writePlaylist({addTrack("a.mp3"), addTrack("b.mp3")});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=7\r\n");
    start();
    EXPECT_EQ(window_->currentIndex(), 0);
    action("Play")->trigger();
    EXPECT_EQ(fake_->openPath, homePath("a.mp3").toStdString());
}

TEST_F(LifecycleTest, CommandLineTracksFollowTheRestoredListAndPlayFromTheFirst)
{
    const QString old = addTrack("old.mp3");
    writePlaylist({old});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=0\r\n[Label]\r\nVolume=70\r\n");
    const QString first = addTrack("new/first.mp3");
    addTrack("new/sub/deep.MP3");
    addTrack("new/zz.wav");
    addBrokenTrack("new/readme.txt");
    start({first, QDir(home_.path()).relativeFilePath(homePath("new")) + "/"});

    QStringList entries;
    for (int row = 0; row < playlistView()->model()->rowCount(); ++row)
        entries << playlistView()->model()->index(row, 0).data().toString();
    EXPECT_EQ(entries, (QStringList{old, first, homePath("new/sub/deep.MP3"), first, homePath("new/zz.wav")}));
    EXPECT_EQ(window_->currentIndex(), 1);
    EXPECT_EQ(fake_->openPath, first.toStdString());
    EXPECT_EQ(fake_->volumeLeft, 70);
    EXPECT_EQ(label("Label3")->text(), "/5");
}

TEST_F(LifecycleTest, ACommandLineThatAddsNothingKeepsTheStoredPosition)
{
    writePlaylist({addTrack("a.mp3"), addTrack("b.mp3")});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=1\r\n");
    start({homePath("missing.mp3"), homePath("notes.txt")});
    EXPECT_EQ(window_->currentIndex(), 1);
    EXPECT_EQ(window_->playState(), -1);
    EXPECT_EQ(fake_->openPath, "");
}

TEST_F(LifecycleTest, OneListFileOnTheCommandLineBindsAnEmptyList)
{
    const QString a = addTrack("music/a.mp3");
    writeHomeFile("music/mix.m3u", "# comment\r\na.mp3\r\n\r\n");
    start({homePath("music/mix.m3u")});
    EXPECT_EQ(panel(3), " mix.m3u");
    EXPECT_EQ(fake_->openPath, a.toStdString());
    EXPECT_FALSE(action("UpDateC")->isEnabled()) << "a fresh binding is no change";
    closeWindow();
    EXPECT_TRUE(QString::fromUtf8(readHomeFile("Nuvo.ini"))
                    .contains("OpenedList=" + homePath("music/mix.m3u") + "\r\nListChanged=0\r\n"));
}

TEST_F(LifecycleTest, CommandLineTracksChangeAListBoundInTheLastRun)
{
    writePlaylist({addTrack("a.mp3")});
    writeHomeFile("Nuvo.ini", "[List]\r\nOpenedList=/lists/mix.m3u\r\n");
    start({addTrack("b.mp3")});
    EXPECT_TRUE(action("UpDateC")->isEnabled());
    EXPECT_TRUE(action("UpDateR")->isEnabled());
    closeWindow();
    EXPECT_TRUE(QString::fromUtf8(readHomeFile("Nuvo.ini")).contains("ListChanged=1\r\n"));
}

TEST_F(LifecycleTest, ClosingWhilePlayingClosesTheTrackBeforeUnloading)
{
    writePlaylist({addTrack("a.mp3")});
    start();
    action("Play")->trigger();
    fake_->calls.clear();
    closeWindow();
    EXPECT_EQ(fake_->calls, (std::vector<std::string>{"close", "free"}));
}

TEST_F(LifecycleTest, EveryFileIsTriedBeforeOneMessageNamesEachFailure)
{
    // Folders where the settings file and the preset names belong cannot be replaced by files.
    ASSERT_TRUE(QDir(home_.path()).mkdir("Nuvo.ini"));
    ASSERT_TRUE(QDir(home_.path()).mkdir("Eqlz.lst"));
    start();
    closeWindow();
    const QStringList errors = dialogs_.errors();
    ASSERT_EQ(errors.size(), 1) << "one message for the whole close";
    EXPECT_TRUE(errors[0].contains("Nuvo.ini") && errors[0].contains("Eqlz.lst")) << errors[0].toStdString();
    EXPECT_TRUE(QFileInfo(homePath("Nuvo.ini")).isDir());
    EXPECT_TRUE(QFileInfo::exists(homePath("List.m3u"))) << "the other files are still written";
    EXPECT_EQ(fake_->count("free"), 1);
}

TEST_F(LifecycleTest, ACloseForTheSessionTellsAFailedWriteOnStandardErrorAndAsksNothing)
{
    ASSERT_TRUE(QDir(home_.path()).mkdir("Nuvo.ini"));
    start();
    testing::internal::CaptureStderr();
    window_->closeForSession();
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(window_->isVisible());
    window_.reset();
    EXPECT_TRUE(dialogs_.asked.empty()) << "nobody may be there to answer";
    EXPECT_NE(told.find("Nuvo.ini"), std::string::npos) << told;
    EXPECT_TRUE(QFileInfo::exists(homePath("List.m3u")));
}

TEST_F(LifecycleTest, WithoutTheDecoderTheMessageShowsAndNothingIsWritten)
{
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=3\r\n");
    const QByteArray before = readHomeFile("Nuvo.ini");
    DecoderBinding missing;
    window_ = std::make_unique<MainWindow>(std::move(missing), StartupContext{home_.path(), {homePath("x.mp3")}, home_.path()});
    window_->show();
    ASSERT_TRUE(waitFor([&] { return !window_->isVisible(); }));
    EXPECT_EQ(dialogs_.errors(), QStringList{"VBMP3.DLL Not Found"});
    window_.reset();
    EXPECT_EQ(readHomeFile("Nuvo.ini"), before);
    EXPECT_EQ(QDir(home_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"Nuvo.ini"});
}

TEST_F(LifecycleTest, TheWindowCarriesTheProgramIcon)
{
    start();
    const QList<QSize> sizes = window_->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(48, 48)));
}

// Qt's dialogs themselves: a close for the session must not wait for one left open.
TEST(DialogsTest, AnOpenDialogIsCancelledWhenTheWindowCloses)
{
    installDialogs(nullptr);
    QDialog dialog;
    QTimer::singleShot(0, [] { dialogs().cancelOpenDialog(); });
    EXPECT_EQ(dialogs().exec(dialog), QDialog::Rejected);
}

} // namespace
} // namespace nuvo::test

namespace nuvo::test {
namespace {

int rightGap(QWidget* window, QWidget* widget)
{
    return window->width() - widget->mapTo(window, QPoint(widget->width(), 0)).x();
}

TEST_F(LifecycleTest, WideningTheWindowStretchesTheEditsAndKeepsTheRightHandControls)
{
    start();
    QWidget* edit2 = window_->findChild<QWidget*>("Edit2");
    QWidget* bar = window_->findChild<QWidget*>("Panel5");
    QWidget* search = window_->findChild<QWidget*>("Button1");
    QWidget* count = label("Label3");
    QApplication::processEvents();
    const int editWidth = edit2->width();
    const int barWidth = bar->width();
    const int searchGap = rightGap(window_.get(), search);
    const int countGap = rightGap(window_.get(), count);

    window_->resize(window_->width() + 200, window_->height());
    QApplication::processEvents();
    EXPECT_EQ(edit2->width(), editWidth + 200);
    EXPECT_EQ(bar->width(), barWidth + 200);
    EXPECT_EQ(rightGap(window_.get(), search), searchGap);
    EXPECT_EQ(rightGap(window_.get(), count), countGap);
}

} // namespace
} // namespace nuvo::test
