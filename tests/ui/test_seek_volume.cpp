// Seeking on the progress bar and with D/F, and the volume's steps.
#include "WindowTest.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>
#include <QWheelEvent>

namespace nuvo::test {
namespace {

class SeekTest : public WindowTest {
protected:
    // A 300-second track playing, then a second one; extra settings may follow.
    void startPlaying(const QByteArray& settings = {})
    {
        writePlaylist({addTrack("music/long.mp3", {"Long", 300, 16 + 2}), addTrack("music/next.mp3", {"Next", 100, 16 + 2})});
        if (!settings.isEmpty())
            writeHomeFile("Nuvo.ini", settings);
        start();
        action("Play")->trigger();
        bar_ = window_->findChild<QWidget*>("Image2");
        ASSERT_GT(bar_->width(), 100);
    }

    void mouse(QEvent::Type type, int x, Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
        const QPointF at(x, bar_->height() / 2);
        QMouseEvent event(type, at, bar_->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(bar_, &event);
    }

    int seeks() const
    {
        int n = 0;
        for (const std::string& call : fake_->calls)
            n += call.rfind("seek ", 0) == 0;
        return n;
    }

    // The timer is on when the time panel follows the decoder again.
    bool timerFollows(int seconds)
    {
        fake_->position = seconds;
        return waitFor([&] { return panel(2) == formatted(seconds); }, 1000);
    }

    static QString formatted(int seconds)
    {
        return QString::asprintf(" %02d:%02d/05:00", seconds / 60, seconds % 60);
    }

    QWidget* bar_ = nullptr;
};

TEST_F(SeekTest, PressDragAndReleaseSeekToThePointClampedToTheBar)
{
    startPlaying();
    const int width = bar_->width();
    mouse(QEvent::MouseButtonPress, width / 2);
    const int half = static_cast<int>(300.0f / width * (width / 2));
    EXPECT_EQ(panel(2), formatted(half));
    fake_->position = 7;
    QTest::qWait(250);
    EXPECT_EQ(panel(2), formatted(half)) << "the timer is off while the seek is held";

    mouse(QEvent::MouseMove, width + 40);
    EXPECT_EQ(panel(2), formatted(300)) << "beyond the right end is the end";
    mouse(QEvent::MouseMove, -40);
    EXPECT_EQ(panel(2), formatted(0)) << "beyond the left end is the start";
    mouse(QEvent::MouseMove, width / 4);
    const int quarter = static_cast<int>(300.0f / width * (width / 4));
    mouse(QEvent::MouseButtonRelease, width / 4);
    EXPECT_EQ(fake_->calls.back(), "seek " + std::to_string(quarter));
    EXPECT_EQ(seeks(), 1);
    EXPECT_TRUE(timerFollows(quarter + 3));

    // Once released, moves and the right button do nothing.
    mouse(QEvent::MouseMove, width / 2);
    mouse(QEvent::MouseButtonPress, width / 2, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, width / 2, Qt::RightButton);
    EXPECT_EQ(seeks(), 1);
}

TEST_F(SeekTest, NoSeekWithoutAPlayingOrPausedTrack)
{
    startPlaying();
    action("Stop")->trigger(); // stopped, still open
    mouse(QEvent::MouseButtonPress, 50);
    mouse(QEvent::MouseButtonRelease, 50);
    action("Stop")->trigger(); // closed
    mouse(QEvent::MouseButtonPress, 50);
    mouse(QEvent::MouseButtonRelease, 50);
    EXPECT_EQ(seeks(), 0);
    EXPECT_EQ(panel(2), "");

    // While paused the seek goes through and the pause stays.
    action("Play")->trigger();
    action("Pause")->trigger();
    mouse(QEvent::MouseButtonPress, 50);
    mouse(QEvent::MouseButtonRelease, 50);
    EXPECT_EQ(seeks(), 1);
    EXPECT_EQ(fake_->state, 2);
    EXPECT_EQ(action("Pause")->text(), "Resume");
}

TEST_F(SeekTest, AReleaseAfterTheTrackEndedLetsTheTimerHandleTheEnd)
{
    startPlaying();
    mouse(QEvent::MouseButtonPress, 50);
    fake_->endTrack();
    mouse(QEvent::MouseButtonRelease, 50);
    EXPECT_EQ(seeks(), 0) << "an ended track is not sought";
    EXPECT_TRUE(waitFor([&] { return window_->windowTitle() == "Next"; })) << "the end was handled: the next track plays";

    // The same for a key seek.
    QWidget* tabs = focusPageControl();
    sendKey(tabs, QEvent::KeyPress, Qt::Key_F);
    fake_->endTrack();
    sendKey(tabs, QEvent::KeyRelease, Qt::Key_F);
    EXPECT_EQ(seeks(), 0);
    EXPECT_TRUE(waitFor([&] { return panel(0) == " Stop"; })) << "the last track ended and stays open";
}

TEST_F(SeekTest, AStopDuringTheSeekKeepsTheTimerOff)
{
    startPlaying();
    mouse(QEvent::MouseButtonPress, 50);
    action("Stop")->trigger();
    mouse(QEvent::MouseButtonRelease, 50);
    EXPECT_EQ(seeks(), 0);
    QTest::qWait(250);
    EXPECT_EQ(panel(0), " Stop") << "the stopped track does not move on to the next one";
    EXPECT_EQ(window_->windowTitle(), "Long");
}

TEST_F(SeekTest, KeyStepsAreAFiftiethAndEveryRepeatSteps)
{
    startPlaying();
    QWidget* tabs = focusPageControl();
    fake_->position = 100;
    ASSERT_TRUE(waitFor([&] { return panel(2) == formatted(100); }));

    sendKey(tabs, QEvent::KeyPress, Qt::Key_D);
    EXPECT_EQ(panel(2), formatted(94));
    // A held key: release and press again, both marked as repeats.
    for (int i = 0; i < 2; ++i) {
        sendKey(tabs, QEvent::KeyRelease, Qt::Key_D, Qt::NoModifier, true);
        sendKey(tabs, QEvent::KeyPress, Qt::Key_D, Qt::NoModifier, true);
    }
    EXPECT_EQ(panel(2), formatted(82));
    EXPECT_EQ(seeks(), 0) << "a repeated release does not seek";
    sendKey(tabs, QEvent::KeyRelease, Qt::Key_D);
    EXPECT_EQ(fake_->calls.back(), "seek 82");
    EXPECT_TRUE(timerFollows(90));

    fake_->position = 296;
    ASSERT_TRUE(waitFor([&] { return panel(2) == formatted(296); }));
    typeKey(tabs, Qt::Key_F);
    EXPECT_EQ(fake_->calls.back(), "seek 300") << "F near the end goes to the end exactly";
    EXPECT_EQ(seeks(), 2);
}

TEST_F(SeekTest, SlowSeekingStepsAHundredth)
{
    startPlaying("[Option]\r\nSeek=1\r\n");
    QWidget* tabs = focusPageControl();
    fake_->position = 100;
    ASSERT_TRUE(waitFor([&] { return panel(2) == formatted(100); }));
    typeKey(tabs, Qt::Key_D);
    EXPECT_EQ(fake_->calls.back(), "seek 97");
}

TEST_F(SeekTest, ABarWithoutWidthSeeksToTheStart)
{
    startPlaying();
    bar_->setFixedWidth(0);
    mouse(QEvent::MouseButtonPress, 0);
    mouse(QEvent::MouseButtonRelease, 0);
    EXPECT_EQ(fake_->calls.back(), "seek 0");
}

class VolumeTest : public WindowTest {
protected:
    void startAt(const char* volume)
    {
        writePlaylist({addTrack("music/a.mp3")});
        writeHomeFile("Nuvo.ini", QByteArray("[Label]\r\nVolume=") + volume + "\r\n");
        start();
    }

    QString shown() const { return label("Label1")->text(); }

    void wheel(QWidget* over, int delta)
    {
        const QPointF at(5, 5);
        QWheelEvent event(at, over->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
    }
};

TEST_F(VolumeTest, TheTrayItemsStepByTenThenOneAndStopAtTheEnds)
{
    startAt("95");
    action("VolumeDown")->trigger();
    EXPECT_EQ(shown(), "85");
    action("VolumeUp")->trigger();
    action("VolumeUp")->trigger();
    EXPECT_EQ(shown(), "96");
    for (int i = 0; i < 5; ++i)
        action("VolumeUp")->trigger();
    EXPECT_EQ(shown(), "100");
    EXPECT_FALSE(action("VolumeUp")->isEnabled());
    EXPECT_TRUE(action("VolumeDown")->isEnabled());
    EXPECT_EQ(fake_->count("setVolume 100 100"), 0) << "nothing is sent while no track is open";

    // Playing, every change is sent; the label's text is what the close writes.
    action("Play")->trigger();
    for (int i = 0; i < 10; ++i)
        action("VolumeDown")->trigger();
    EXPECT_EQ(shown(), "0");
    EXPECT_EQ(fake_->volumeLeft, 0);
    EXPECT_FALSE(action("VolumeDown")->isEnabled());
    EXPECT_TRUE(action("VolumeUp")->isEnabled());
    closeWindow();
    EXPECT_TRUE(readHomeFile("Nuvo.ini").contains("[Label]\r\nVolume=0\r\n"));
}

TEST_F(VolumeTest, KeysAndWheelStepOneOnlyWhileThePageControlHasTheFocus)
{
    startAt("50");
    QWidget* tabs = focusPageControl();
    typeKey(tabs, Qt::Key_S);
    EXPECT_EQ(shown(), "51");
    typeKey(tabs, Qt::Key_A);
    typeKey(tabs, Qt::Key_A);
    EXPECT_EQ(shown(), "49");
    // The wheel over the list changes the volume, in whole notches.
    wheel(playlistView()->viewport(), 120);
    EXPECT_EQ(shown(), "50");
    wheel(playlistView()->viewport(), -60);
    EXPECT_EQ(shown(), "50");
    wheel(playlistView()->viewport(), -60);
    EXPECT_EQ(shown(), "49");

    playlistView()->setFocus();
    wheel(playlistView()->viewport(), 120);
    typeKey(playlistView(), Qt::Key_S);
    EXPECT_EQ(shown(), "49") << "the list keeps its own wheel and keys";
}

TEST_F(VolumeTest, TheLabelShowsTheVolumeInForce)
{
    struct Case {
        const char* stored;
        const char* shown;
    } const cases[] = {{"loud", "100"}, {"150", "100"}, {"-5", "0"}, {" 40", "40"}};
    for (const Case& c : cases) {
        startAt(c.stored);
        EXPECT_EQ(shown(), c.shown) << c.stored;
        action("Play")->trigger();
        EXPECT_EQ(fake_->volumeLeft, QString(c.shown).toInt()) << c.stored;
        closeWindow();
        EXPECT_TRUE(readHomeFile("Nuvo.ini").contains(QByteArray("Volume=") + c.shown + "\r\n")) << c.stored;
    }
}

TEST_F(VolumeTest, HoveringTheLabelLightsItAndFocusesThePageControl)
{
    startAt("70");
    QApplication::setActiveWindow(window_.get());
    playlistView()->setFocus();
    QLabel* volume = label("Label1");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(volume, &enter);
    EXPECT_EQ(volume->palette().color(QPalette::WindowText), window_->palette().color(QPalette::Link));
    EXPECT_TRUE(window_->findChild<QTabWidget*>("PageControl1")->hasFocus());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(volume, &leave);
    EXPECT_EQ(volume->palette().color(QPalette::WindowText), window_->palette().color(QPalette::Text));
}

} // namespace
} // namespace nuvo::test
