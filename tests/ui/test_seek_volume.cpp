// Seeking on the progress bar and with D/F, and the volume's steps.
#include "WindowTest.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTabWidget>
#include <QWheelEvent>

namespace nuvo::test {
namespace {

class SeekTest : public WindowTest {
protected:
    // A 300-second track playing, a second one after it.
    void startPlaying()
    {
        writePlaylist({addTrack("music/long.mp3", {"Long", 300, 18}), addTrack("music/next.mp3", {"Next", 100, 18})});
        start();
        action("Play")->trigger();
        bar_ = window_->findChild<QWidget*>("Image2");
    }

    void mouse(QEvent::Type type, int x)
    {
        const QPointF at(x, 2);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, bar_->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(bar_, &event);
    }

    int seeks() const
    {
        return static_cast<int>(std::count_if(fake_->calls.begin(), fake_->calls.end(),
                                              [](const std::string& call) { return call.rfind("seek ", 0) == 0; }));
    }

    static QString shown(int seconds) { return QString::asprintf(" %02d:%02d/05:00", seconds / 60, seconds % 60); }

    // The timer runs when the time panel follows the decoder.
    bool timerFollows(int seconds)
    {
        fake_->position = seconds;
        return waitFor([&] { return panel(2) == shown(seconds); }, 1000);
    }

    QWidget* bar_ = nullptr;
};

TEST_F(SeekTest, TheBarSeeksToThePointClampedToItsEnds)
{
    startPlaying();
    const int width = bar_->width();
    mouse(QEvent::MouseButtonPress, width / 2);
    EXPECT_EQ(panel(2), shown(static_cast<int>(300.0f / width * (width / 2))));
    EXPECT_FALSE(timerFollows(7)) << "the timer is off while the seek is held";
    mouse(QEvent::MouseMove, width + 40);
    EXPECT_EQ(panel(2), shown(300));
    mouse(QEvent::MouseMove, -40);
    EXPECT_EQ(panel(2), shown(0));
    mouse(QEvent::MouseMove, width / 4);
    mouse(QEvent::MouseButtonRelease, width / 4);
    EXPECT_EQ(fake_->calls.back(), "seek " + std::to_string(static_cast<int>(300.0f / width * (width / 4))));
    EXPECT_TRUE(timerFollows(100));

    // Stopped, closed: nothing. Paused: the seek goes through and the pause stays.
    for (const char* command : {"Stop", "Stop", "Play", "Pause"}) {
        action(command)->trigger();
        mouse(QEvent::MouseButtonPress, 10);
        mouse(QEvent::MouseButtonRelease, 10);
    }
    EXPECT_EQ(seeks(), 3) << "once before, then after Play and after Pause";
    EXPECT_EQ(action("Pause")->text(), "Resume");
}

TEST_F(SeekTest, AReleaseAfterTheEndLetsTheTimerHandleItButNotAfterAStop)
{
    startPlaying();
    mouse(QEvent::MouseButtonPress, 50);
    fake_->endTrack();
    mouse(QEvent::MouseButtonRelease, 50);
    EXPECT_TRUE(waitFor([&] { return window_->windowTitle() == "Next"; })) << "the end was handled";

    QWidget* tabs = focusPageControl();
    sendKey(tabs, QEvent::KeyPress, Qt::Key_F);
    action("Stop")->trigger();
    sendKey(tabs, QEvent::KeyRelease, Qt::Key_F);
    QTest::qWait(250);
    EXPECT_EQ(seeks(), 0) << "neither an ended nor a stopped track is sought";
    EXPECT_EQ(window_->windowTitle(), "Next") << "the stopped track stays, the timer stays off";
    EXPECT_EQ(panel(0), " Stop");
}

TEST_F(SeekTest, EachKeyPressStepsTheRealReleaseSeeks)
{
    startPlaying();
    QWidget* tabs = focusPageControl();
    ASSERT_TRUE(timerFollows(100));
    sendKey(tabs, QEvent::KeyPress, Qt::Key_D);
    EXPECT_EQ(panel(2), shown(94)) << "a fiftieth of 300 s";
    for (int i = 0; i < 2; ++i) { // held: repeated release and press
        sendKey(tabs, QEvent::KeyRelease, Qt::Key_D, Qt::NoModifier, true);
        sendKey(tabs, QEvent::KeyPress, Qt::Key_D, Qt::NoModifier, true);
    }
    EXPECT_EQ(seeks(), 0);
    sendKey(tabs, QEvent::KeyRelease, Qt::Key_D);
    EXPECT_EQ(fake_->calls.back(), "seek 82");
    ASSERT_TRUE(timerFollows(296));
    typeKey(tabs, Qt::Key_F);
    EXPECT_EQ(fake_->calls.back(), "seek 300") << "near the end, the end exactly";
}

class VolumeTest : public WindowTest {
protected:
    void startAt(const char* volume)
    {
        writePlaylist({addTrack("music/a.mp3")});
        writeHomeFile("Nuvo.ini", QByteArray("[Label]\r\nVolume=") + volume + "\r\n");
        start();
    }

    QString volume() const { return label("Label1")->text(); }

    // Whether the label, as drawn, has letters in the colour (a whole pixel of it).
    bool drawnIn(const QColor& color) const
    {
        const QImage drawn = label("Label1")->grab().toImage();
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                const QColor pixel = drawn.pixelColor(x, y);
                if (std::abs(pixel.red() - color.red()) + std::abs(pixel.green() - color.green())
                        + std::abs(pixel.blue() - color.blue()) < 24)
                    return true;
            }
        return false;
    }

    void wheel(int delta)
    {
        QWidget* over = playlistView()->viewport();
        QWheelEvent event(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
    }
};

TEST_F(VolumeTest, TheTrayItemsStepAndStopAtTheEndsAndTheDecoderHearsThemWhilePlaying)
{
    startAt("95");
    for (const auto& [command, after] : {std::pair{"VolumeDown", "85"}, {"VolumeUp", "95"}, {"VolumeUp", "96"}}) {
        action(command)->trigger();
        EXPECT_EQ(volume(), after);
    }
    for (int i = 0; i < 5; ++i)
        action("VolumeUp")->trigger();
    EXPECT_EQ(volume(), "100");
    EXPECT_FALSE(action("VolumeUp")->isEnabled());
    EXPECT_EQ(fake_->volumeLeft, -1) << "nothing is sent while no track is open";

    action("Play")->trigger();
    for (int i = 0; i < 11; ++i)
        action("VolumeDown")->trigger();
    EXPECT_EQ(volume(), "0");
    EXPECT_EQ(fake_->volumeLeft, 0);
    EXPECT_FALSE(action("VolumeDown")->isEnabled());
    EXPECT_TRUE(action("VolumeUp")->isEnabled());
}

TEST_F(VolumeTest, KeysAndWholeWheelNotchesOnlyWhileThePageControlHasTheFocus)
{
    startAt("50");
    QWidget* tabs = focusPageControl();
    typeKey(tabs, Qt::Key_S);
    typeKey(tabs, Qt::Key_A);
    typeKey(tabs, Qt::Key_A);
    wheel(120);
    wheel(-60);
    EXPECT_EQ(volume(), "50");
    wheel(-60);
    EXPECT_EQ(volume(), "49");

    playlistView()->setFocus();
    wheel(120);
    typeKey(playlistView(), Qt::Key_S);
    EXPECT_EQ(volume(), "49") << "the list keeps its own wheel and keys";

    // Hovering the label hands the focus back, so the wheel works again.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(label("Label1"), &enter);
    EXPECT_TRUE(drawnIn(window_->palette().color(QPalette::Link))) << "the hover colour is what the label shows";
    wheel(120);
    EXPECT_EQ(volume(), "50");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(label("Label1"), &leave);
    EXPECT_FALSE(drawnIn(window_->palette().color(QPalette::Link)));
}

TEST_F(VolumeTest, TheLabelShowsTheVolumeInForce)
{
    for (const auto& [stored, inForce] : {std::pair{"loud", "100"}, {"150", "100"}, {"-5", "0"}}) {
        startAt(stored);
        EXPECT_EQ(volume(), inForce) << stored;
        closeWindow();
        EXPECT_TRUE(readHomeFile("Nuvo.ini").contains(QByteArray("Volume=") + inForce + "\r\n")) << stored;
    }
}

} // namespace
} // namespace nuvo::test
