// The letter and digit keys with the focus rule, the hot-key box and its
// lock, and minimising where there is no tray.
#include "WindowTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QSystemTrayIcon>
#include <QTabWidget>

namespace nuvo::test {
namespace {

class KeyTest : public WindowTest {
protected:
    void startWithTracks(const QByteArray& settings = {})
    {
        writePlaylist({addTrack("music/a.mp3"), addTrack("music/b.mp3")});
        if (!settings.isEmpty())
            writeHomeFile("Nuvo.ini", settings);
        start();
        tabs_ = focusPageControl();
    }

    QTabWidget* pages() const { return window_->findChild<QTabWidget*>("PageControl1"); }

    QWidget* tabs_ = nullptr;
};

TEST_F(KeyTest, XCCVVPlayPauseResumeStopAndClose)
{
    startWithTracks();
    const struct {
        int key;
        const char* panel;
        int state;
    } steps[] = {{Qt::Key_X, " Play", 1}, {Qt::Key_C, " Pause", 2}, {Qt::Key_C, " Play", 1},
                 {Qt::Key_V, " Stop", 0}, {Qt::Key_V, " Close", 0}};
    for (const auto& step : steps) {
        typeKey(tabs_, step.key);
        EXPECT_EQ(panel(0), step.panel) << QKeySequence(step.key).toString().toStdString();
        EXPECT_EQ(fake_->state, step.state);
    }
    EXPECT_TRUE(fake_->openPath.empty());
    // Capitals act alike, and B and Z move on and back.
    typeKey(tabs_, Qt::Key_X, Qt::ShiftModifier);
    typeKey(tabs_, Qt::Key_B);
    EXPECT_EQ(window_->currentIndex(), 1);
    typeKey(tabs_, Qt::Key_Z);
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_EQ(panel(0), " Play");
}

TEST_F(KeyTest, NoCommandWithCtrlAltMetaKeypadOrAnotherFocus)
{
    startWithTracks();
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier, Qt::KeypadModifier})
        typeKey(tabs_, Qt::Key_X, modifiers);
    typeKey(tabs_, Qt::Key_F1);
    EXPECT_EQ(fake_->openPath, "") << "nothing was played";

    playlistView()->setFocus();
    typeKey(playlistView(), Qt::Key_X);
    EXPECT_EQ(fake_->openPath, "");

    // A click on a tab, the active one too, gives the keys back.
    QTabBar* bar = pages()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(bar->currentIndex()).center());
    EXPECT_TRUE(pages()->hasFocus());
    typeKey(tabs_, Qt::Key_X);
    EXPECT_EQ(panel(0), " Play");
}

TEST_F(KeyTest, QOpensFilesAndWClearsWhenItMay)
{
    startWithTracks();
    QSignalSpy opened(action("FileOpen"), &QAction::triggered);
    QSignalSpy cleared(action("Clear"), &QAction::triggered);
    typeKey(tabs_, Qt::Key_Q);
    typeKey(tabs_, Qt::Key_W);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(cleared.count(), 1);
    action("Clear")->setEnabled(false);
    typeKey(tabs_, Qt::Key_W, Qt::ShiftModifier);
    EXPECT_EQ(cleared.count(), 1) << "the disabled button is not clicked";
}

TEST_F(KeyTest, DigitsStepTheBandsAndTheRealReleaseReloadsOnce)
{
    startWithTracks("[Equalizer]\r\nEnable=1\r\n");
    typeKey(tabs_, Qt::Key_1);
    EXPECT_EQ(fake_->equalizerTable[0], 0) << "only on the Equalizer page";

    pages()->setCurrentIndex(2);
    tabs_ = focusPageControl();
    action("Play")->trigger();
    const std::size_t mark = fake_->calls.size();
    sendKey(tabs_, QEvent::KeyPress, Qt::Key_1);
    for (int i = 0; i < 2; ++i) {
        sendKey(tabs_, QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, true);
        sendKey(tabs_, QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, true);
    }
    EXPECT_TRUE(fake_->callsSince(mark).empty()) << "nothing is sent before the real release";
    sendKey(tabs_, QEvent::KeyRelease, Qt::Key_1);
    EXPECT_EQ(fake_->callsSince(mark), (std::vector<std::string>{"setEqualizer table", "reload"}));
    EXPECT_EQ(fake_->equalizerTable[0], 3);

    typeKey(tabs_, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(fake_->equalizerTable[9], -1) << "Ctrl lowers; 0 is the tenth band";
    typeKey(tabs_, Qt::Key_5, Qt::KeypadModifier);
    typeKey(tabs_, Qt::Key_5, Qt::AltModifier);
    EXPECT_EQ(fake_->equalizerTable[4], 0) << "no keypad, no Alt";
}

TEST_F(KeyTest, TheHotKeyBoxTakesLettersAndDigitsAndItsLock)
{
    startWithTracks();
    auto* edit = window_->findChild<QLineEdit*>("Edit3");
    edit->setFocus();
    QTest::keyClicks(edit, "a?");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "k");
    EXPECT_EQ(edit->text(), "k");
    edit->clear();
    edit->insert("x?1"); // what a paste or a drop does
    EXPECT_EQ(edit->text(), "x1");

    action("Hotkey1")->trigger();
    EXPECT_FALSE(edit->isEnabled());
    action("Hotkey1")->trigger();
    EXPECT_TRUE(edit->isEnabled());
    action("Hotkey1")->trigger();
    closeWindow();
    EXPECT_TRUE(readHomeFile("Nuvo.ini").contains("[HotKey]\r\nLock=1\r\nKey=x1\r\n"));
}

TEST_F(KeyTest, WithoutATrayMinimisingKeepsTheWindowReachable)
{
    startWithTracks();
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    window_->showMinimized();
    QTest::qWait(50);
    EXPECT_TRUE(window_->isMinimized());
    EXPECT_TRUE(window_->isVisible()) << "not hidden to a tray that does not exist";
}

} // namespace
} // namespace nuvo::test
