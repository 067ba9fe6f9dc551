// Play, Pause, Stop, Previous, Next, the loop modes at the end of a track and
// the fall-through over files that cannot be opened.
#include "WindowTest.h"

#include <QTabWidget>
#include <QWidget>

namespace nuvo::test {
namespace {

class PlaybackTest : public WindowTest {
protected:
    // Three playable tracks restored from the last run.
    void startWithThreeTracks()
    {
        a_ = addTrack("music/a.mp3", {"Alpha", 200, 16 + 2, 128});
        b_ = addTrack("music/b.mp3", {"", 100, 16 + 2, 64});
        c_ = addTrack("music/c.mp3", {"Gamma", 3725, 2, 320});
        writePlaylist({a_, b_, c_});
        start();
    }

    int opens() const
    {
        int n = 0;
        for (const std::string& call : fake_->calls)
            n += call.rfind("open ", 0) == 0;
        return n;
    }

    QWidget* engineTab() const { return window_->findChild<QWidget*>("TabSheet4"); }

    QString a_, b_, c_;
};

TEST_F(PlaybackTest, PlayStateTableFromPlayToClose)
{
    startWithThreeTracks();
    action("Play")->trigger();

    EXPECT_EQ(fake_->openPath, a_.toStdString());
    EXPECT_EQ(panel(0), " Play");
    EXPECT_EQ(panel(1), " 128Kbps");
    EXPECT_EQ(panel(2), " 00:00/03:20");
    EXPECT_EQ(window_->windowTitle(), "Alpha");
    EXPECT_EQ(label("Label2")->text(), "1");
    EXPECT_TRUE(action("Pause")->isEnabled());
    EXPECT_EQ(action("Pause")->text(), "Pause");
    EXPECT_TRUE(action("Stop")->isEnabled());
    EXPECT_EQ(action("Stop")->text(), "Stop");
    EXPECT_TRUE(action("OpenSearch")->isEnabled());
    EXPECT_FALSE(engineTab()->isEnabled());
    EXPECT_EQ(fake_->state, 1);

    action("Pause")->trigger();
    EXPECT_EQ(fake_->state, 2);
    EXPECT_EQ(panel(0), " Pause");
    EXPECT_EQ(action("Pause")->text(), "Resume");

    action("Pause")->trigger();
    EXPECT_EQ(fake_->state, 1);
    EXPECT_EQ(panel(0), " Play");
    EXPECT_EQ(action("Pause")->text(), "Pause");

    action("Stop")->trigger();
    EXPECT_EQ(fake_->state, 0);
    EXPECT_FALSE(fake_->openPath.empty()) << "a stopped track stays open";
    EXPECT_EQ(panel(0), " Stop");
    EXPECT_EQ(panel(2), " 00:00/03:20");
    EXPECT_FALSE(action("Pause")->isEnabled());
    EXPECT_TRUE(action("Stop")->isEnabled());
    EXPECT_EQ(action("Stop")->text(), "Close");

    action("Stop")->trigger();
    EXPECT_TRUE(fake_->openPath.empty());
    EXPECT_EQ(panel(0), " Close");
    EXPECT_EQ(panel(1), "");
    EXPECT_EQ(panel(2), "");
    EXPECT_EQ(window_->windowTitle(), "Nuvo");
    EXPECT_EQ(label("Label2")->text(), "0");
    EXPECT_FALSE(action("Stop")->isEnabled());
    EXPECT_EQ(action("Stop")->text(), "Stop");
    EXPECT_FALSE(action("OpenSearch")->isEnabled());
    EXPECT_TRUE(engineTab()->isEnabled());
}

TEST_F(PlaybackTest, PlayOnAPausedOrStoppedTrackStartsItAgainWithoutReopening)
{
    startWithThreeTracks();
    action("Play")->trigger();
    action("Pause")->trigger();
    const std::size_t mark = fake_->calls.size();
    action("Play")->trigger();
    EXPECT_EQ(fake_->callsSince(mark), (std::vector<std::string>{"stop", "play"}));
    EXPECT_EQ(panel(0), " Play");
    EXPECT_EQ(action("Pause")->text(), "Pause");

    action("Stop")->trigger();
    const std::size_t stopped = fake_->calls.size();
    action("Play")->trigger();
    EXPECT_EQ(fake_->callsSince(stopped), (std::vector<std::string>{"play"}));
    EXPECT_EQ(fake_->state, 1);
    EXPECT_EQ(action("Stop")->text(), "Stop");
}

TEST_F(PlaybackTest, CaptionIsTheFileNameWithoutTagOrTitle)
{
    startWithThreeTracks();
    selectRow(1); // tagged, empty title
    action("Play")->trigger();
    EXPECT_EQ(window_->windowTitle(), "b.mp3");
    selectRow(2); // title, but no tag bit
    action("Play")->trigger();
    EXPECT_EQ(window_->windowTitle(), "c.mp3");
    EXPECT_EQ(panel(2), " 00:00:00/01:02:05");
}

TEST_F(PlaybackTest, PlayingASelectedEntryClosesTheOpenOneFirst)
{
    startWithThreeTracks();
    action("Play")->trigger();
    selectRow(2);
    const std::size_t mark = fake_->calls.size();
    action("Play")->trigger();
    const std::vector<std::string> calls = fake_->callsSince(mark);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "close");
    EXPECT_EQ(calls[1], "open " + c_.toStdString());
    EXPECT_EQ(window_->currentIndex(), 2);
    EXPECT_EQ(label("Label2")->text(), "3");
}

TEST_F(PlaybackTest, VolumeIsSentBeforeTheFirstOpen)
{
    writeHomeFile("Nuvo.ini", "[Label]\r\nVolume=40\r\n");
    startWithThreeTracks();
    action("Play")->trigger();
    ASSERT_GE(fake_->calls.size(), 2u);
    const auto open = std::find(fake_->calls.begin(), fake_->calls.end(), "open " + a_.toStdString());
    const auto volume = std::find(fake_->calls.begin(), fake_->calls.end(), "setVolume 40 40");
    ASSERT_NE(volume, fake_->calls.end());
    EXPECT_LT(volume, open);
}

TEST_F(PlaybackTest, NextAndPreviousStepThroughTheListAndStopAtItsEnds)
{
    startWithThreeTracks();
    action("Play")->trigger();
    EXPECT_FALSE(action("Previous")->isEnabled());
    EXPECT_TRUE(action("Next")->isEnabled());

    action("Next")->trigger();
    EXPECT_EQ(fake_->openPath, b_.toStdString());
    EXPECT_TRUE(action("Previous")->isEnabled());
    action("Next")->trigger();
    EXPECT_EQ(fake_->openPath, c_.toStdString());
    EXPECT_FALSE(action("Next")->isEnabled());

    const std::size_t mark = fake_->calls.size();
    window_->findChild<QAction*>("Next")->setEnabled(true); // the X/B keys do not look at the button
    action("Next")->trigger();
    EXPECT_TRUE(fake_->callsSince(mark).empty()) << "at the last entry without All nothing happens";
    EXPECT_EQ(window_->currentIndex(), 2);

    action("Previous")->trigger();
    EXPECT_EQ(fake_->openPath, b_.toStdString());
    EXPECT_EQ(window_->currentIndex(), 1);
}

TEST_F(PlaybackTest, NextWithAllWrapsToTheFirstEntry)
{
    startWithThreeTracks();
    setOption(Option::All, true);
    selectRow(2);
    action("Play")->trigger();
    action("Next")->trigger();
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_EQ(fake_->openPath, a_.toStdString());
    EXPECT_EQ(fake_->state, 1);
}

TEST_F(PlaybackTest, NextOnAStoppedTrackClosesItAndMovesWithoutPlaying)
{
    startWithThreeTracks();
    action("Play")->trigger();
    action("Stop")->trigger();
    action("Next")->trigger();
    EXPECT_TRUE(fake_->openPath.empty());
    EXPECT_EQ(window_->currentIndex(), 1);
    EXPECT_EQ(window_->playState(), -1);
    EXPECT_EQ(panel(0), " Close");
    EXPECT_EQ(window_->windowTitle(), "Nuvo");
    EXPECT_FALSE(action("Stop")->isEnabled());
}

TEST_F(PlaybackTest, CommandsWithoutEntriesDoNothing)
{
    start();
    action("Play")->setEnabled(true);
    action("Play")->trigger();
    action("Next")->setEnabled(true);
    action("Next")->trigger();
    action("Pause")->setEnabled(true);
    action("Pause")->trigger();
    for (const std::string& call : fake_->calls)
        EXPECT_TRUE(call == "init" || call.rfind("setEqualizer", 0) == 0) << call;
    EXPECT_EQ(panel(0), " Close");
}

TEST_F(PlaybackTest, EndOfTrackAdvancesInListOrderAndStopsAfterTheLast)
{
    startWithThreeTracks();
    action("Play")->trigger();
    fake_->endTrack();
    ASSERT_TRUE(waitFor([&] { return fake_->openPath == b_.toStdString() && fake_->state == 1; }));
    EXPECT_EQ(window_->currentIndex(), 1);
    fake_->endTrack();
    ASSERT_TRUE(waitFor([&] { return fake_->openPath == c_.toStdString() && fake_->state == 1; }));

    fake_->endTrack();
    ASSERT_TRUE(waitFor([&] { return panel(0) == " Stop"; }));
    EXPECT_EQ(fake_->openPath, c_.toStdString()) << "the last track stays open";
    EXPECT_EQ(panel(2), " 00:00:00/01:02:05");
    EXPECT_EQ(action("Stop")->text(), "Close");
    EXPECT_FALSE(action("Pause")->isEnabled());
}

TEST_F(PlaybackTest, EndOfTrackWithSingleReplaysWithoutReopening)
{
    startWithThreeTracks();
    setOption(Option::Single, true);
    action("Play")->trigger();
    const int opened = opens();
    fake_->endTrack();
    ASSERT_TRUE(waitFor([&] { return fake_->count("play") == 2; }));
    EXPECT_EQ(opens(), opened);
    EXPECT_EQ(fake_->state, 1);
    EXPECT_EQ(window_->currentIndex(), 0);
}

TEST_F(PlaybackTest, EndOfTheLastTrackWithAllStartsAgainAtTheTop)
{
    startWithThreeTracks();
    setOption(Option::All, true);
    selectRow(2);
    action("Play")->trigger();
    fake_->endTrack();
    ASSERT_TRUE(waitFor([&] { return fake_->openPath == a_.toStdString() && fake_->state == 1; }));
    EXPECT_EQ(window_->currentIndex(), 0);
}

TEST_F(PlaybackTest, AOneEntryListWithAllOrRandomReplays)
{
    const QString only = addTrack("only.mp3");
    writePlaylist({only});
    for (Option option : {Option::All, Option::Random}) {
        start();
        setOption(option, true);
        action("Play")->trigger();
        const int opened = opens();
        const int plays = fake_->count("play");
        fake_->endTrack();
        ASSERT_TRUE(waitFor([&] { return fake_->count("play") == plays + 1; }));
        EXPECT_EQ(opens(), opened);
        closeWindow();
    }
}

TEST_F(PlaybackTest, EndOfTrackWithRandomPicksByTheGenerator)
{
    startWithThreeTracks();
    setOption(Option::Random, true);
    action("Play")->trigger();
    for (int i = 0; i < 5; ++i) {
        const std::size_t mark = fake_->calls.size();
        fake_->endTrack();
        ASSERT_TRUE(waitFor([&] { return fake_->state == 1 && fake_->calls.size() > mark; }));
        const int current = window_->currentIndex();
        ASSERT_GE(current, 0);
        ASSERT_LT(current, 3);
        EXPECT_EQ(action("Previous")->isEnabled(), current > 0);
        EXPECT_EQ(action("Next")->isEnabled(), current < 2);
    }
}

TEST_F(PlaybackTest, FilesThatFailAreSkippedWithOneTryEach)
{
    const QString bad1 = addBrokenTrack("bad1.mp3");
    const QString good = addTrack("good.mp3");
    const QString bad2 = addBrokenTrack("bad2.mp3");
    writePlaylist({bad1, good, bad2});
    start();
    action("Play")->trigger();
    EXPECT_EQ(fake_->openPath, good.toStdString());
    EXPECT_EQ(window_->currentIndex(), 1);
}

TEST_F(PlaybackTest, AListOfFilesThatAllFailEndsClosedAfterOneTryPerEntry)
{
    const QStringList bad{addBrokenTrack("x.mp3"), addBrokenTrack("y.mp3"), addBrokenTrack("z.mp3")};
    writePlaylist(bad);
    for (Option option : {Option::All, Option::Random}) {
        start();
        setOption(option, true);
        fake_->calls.clear();
        action("Play")->trigger();
        EXPECT_EQ(opens(), 3);
        EXPECT_EQ(window_->playState(), -1);
        EXPECT_EQ(panel(0), " Close");
        EXPECT_EQ(window_->windowTitle(), "Nuvo");
        EXPECT_FALSE(action("Pause")->isEnabled());
        EXPECT_FALSE(action("Stop")->isEnabled());
        closeWindow();
    }
}

TEST_F(PlaybackTest, WithSingleTheFirstFailureLeavesThePlayerClosed)
{
    writePlaylist({addBrokenTrack("x.mp3"), addTrack("ok.mp3")});
    start();
    setOption(Option::Single, true);
    fake_->calls.clear();
    action("Play")->trigger();
    EXPECT_EQ(opens(), 1);
    EXPECT_EQ(window_->playState(), -1);
    EXPECT_EQ(window_->currentIndex(), 0);
}

TEST_F(PlaybackTest, TimerShowsPositionBitRateAndProgress)
{
    startWithThreeTracks();
    action("Play")->trigger();
    fake_->position = 100; // half of 200 seconds
    ASSERT_TRUE(waitFor([&] { return panel(2) == " 01:40/03:20"; }));
    EXPECT_EQ(panel(1), " 128Kbps");
    auto* bar = window_->findChild<QWidget*>("Image2");
    ASSERT_NE(bar, nullptr);
    // Filled up to the width over the length times the position, in window pixels at any scale.
    const QImage picture = bar->grab().toImage();
    const QRgb buttonFace = bar->palette().color(QPalette::Button).rgb();
    const QRgb filled = windowPixel(picture, 0, 0);
    const int x = static_cast<int>(static_cast<float>(bar->width()) / 200 * 100);
    EXPECT_NE(filled, buttonFace);
    EXPECT_NE(filled, kMixedPixel);
    for (int y = 0; y < bar->height(); ++y) {
        EXPECT_EQ(windowPixel(picture, x - 1, y), filled) << y;
        EXPECT_EQ(windowPixel(picture, x, y), buttonFace) << y;
        EXPECT_EQ(windowPixel(picture, bar->width() - 1, y), buttonFace) << y;
    }
}

TEST_F(PlaybackTest, ATrackOfLengthZeroShowsAnEmptyBar)
{
    const QString empty = addTrack("zero.mp3", {"", 0, 2, 0});
    writePlaylist({empty});
    start();
    action("Play")->trigger();
    fake_->position = 3;
    ASSERT_TRUE(waitFor([&] { return panel(2) == " 00:03/00:00"; }));
    auto* bar = window_->findChild<QWidget*>("Image2");
    const QImage picture = bar->grab().toImage();
    EXPECT_EQ(windowPixel(picture, 0, bar->height() / 2), bar->palette().color(QPalette::Button).rgb());
}

TEST_F(PlaybackTest, DoubleClickAndEnterPlayTheEntry)
{
    startWithThreeTracks();
    QListView* view = playlistView();
    selectRow(1);
    emit view->doubleClicked(view->model()->index(1, 0));
    EXPECT_EQ(fake_->openPath, b_.toStdString());
    auto* pages = window_->findChild<QTabWidget*>("PageControl1");
    EXPECT_TRUE(pages->hasFocus() || QApplication::focusWidget() == nullptr);

    selectRow(2);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(fake_->openPath, c_.toStdString());

    // Below the entries, a double click plays as well: the open track again from its start.
    const std::size_t before = fake_->calls.size();
    const QRect last = view->visualRect(view->model()->index(2, 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(last.left() + 5, last.bottom() + 20));
    EXPECT_EQ(fake_->callsSince(before).back(), "play");
}

} // namespace
} // namespace nuvo::test
