// The letter and digit keys with the focus rule, the hot-key box and its
// lock, and minimising where there is no tray.
#include "WindowTest.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>

namespace nuvo::test {
namespace {

class KeyTest : public WindowTest {
protected:
    void startWithTracks(const QByteArray& settings = "")
    {
        writePlaylist({addTrack("music/a.mp3"), addTrack("music/b.mp3")});
        writeHomeFile("Nuvo.ini", settings);
        start();
        tabs_ = focusPageControl();
    }

    QTabWidget* pages() const { return window_->findChild<QTabWidget*>("PageControl1"); }

    QWidget* tabs_ = nullptr;
};

TEST_F(KeyTest, LettersActOnlyWithThePageControlFocusedAndNoCtrlAltMetaOrKeypad)
{
    startWithTracks();
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier, Qt::KeypadModifier})
        typeKey(tabs_, Qt::Key_X, modifiers);
    playlistView()->setFocus();
    typeKey(playlistView(), Qt::Key_X);
    EXPECT_EQ(fake_->openPath, "");

    // A click on a tab, the active one too, gives the keys back.
    QTabBar* bar = pages()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(bar->currentIndex()).center());
    ASSERT_TRUE(pages()->hasFocus());
    const struct {
        int key;
        const char* panel;
        int state;
    } steps[] = {{Qt::Key_X, " Play", 1}, {Qt::Key_C, " Pause", 2}, {Qt::Key_C, " Play", 1},
                 {Qt::Key_V, " Stop", 0}, {Qt::Key_V, " Close", 0}};
    for (const auto& step : steps) {
        typeKey(tabs_, step.key, Qt::ShiftModifier); // capitals act alike
        EXPECT_EQ(panel(0), step.panel);
        EXPECT_EQ(fake_->state, step.state);
    }
    typeKey(tabs_, Qt::Key_B);
    EXPECT_EQ(window_->currentIndex(), 1);

    QSignalSpy opened(action("FileOpen"), &QAction::triggered);
    QSignalSpy cleared(action("Clear"), &QAction::triggered);
    typeKey(tabs_, Qt::Key_Q);
    typeKey(tabs_, Qt::Key_W);
    action("Clear")->setEnabled(false);
    typeKey(tabs_, Qt::Key_W);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(cleared.count(), 1) << "a disabled button is not clicked";
}

TEST_F(KeyTest, DigitsStepTheBandsOnTheirPageAndTheRealReleaseReloadsOnce)
{
    startWithTracks("[Equalizer]\r\nEnable=1\r\n");
    typeKey(tabs_, Qt::Key_1);
    EXPECT_EQ(fake_->equalizer[0], 0) << "only on the Equalizer page";

    pages()->setCurrentIndex(2);
    action("Play")->trigger();
    const std::size_t mark = fake_->calls.size();
    sendKey(tabs_, QEvent::KeyPress, Qt::Key_1);
    for (int i = 0; i < 2; ++i) {
        sendKey(tabs_, QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, true);
        sendKey(tabs_, QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, true);
    }
    sendKey(tabs_, QEvent::KeyRelease, Qt::Key_1);
    EXPECT_EQ(fake_->callsSince(mark), (std::vector<std::string>{"setEqualizer table", "reload"}));
    EXPECT_EQ(fake_->equalizer[0], 3);

    typeKey(tabs_, Qt::Key_0, Qt::ControlModifier);
    typeKey(tabs_, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(fake_->equalizer[9], -1) << "Ctrl lowers; 0 is the tenth band";
    EXPECT_EQ(fake_->equalizer[4], 0) << "not from the keypad";
}

TEST_F(KeyTest, DigitKeysGoByTheirPlaceWhateverShiftOrTheLayoutMakesOfThem)
{
    startWithTracks("[Equalizer]\r\nEnable=1\r\n");
    pages()->setCurrentIndex(2);
    // X11 numbers the main row's keys 10 ('1') to 19 ('0'); 0 is an event without a key number.
    const struct {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        quint32 keyNumber;
        int band;
        int step;
    } cases[] = {
        {"Shift+1", Qt::Key_Exclam, Qt::ShiftModifier, 10, 0, 1},
        {"Shift+0", Qt::Key_ParenRight, Qt::ShiftModifier, 19, 9, 1},
        {"Ctrl+Shift+5", Qt::Key_Percent, Qt::ControlModifier | Qt::ShiftModifier, 14, 4, -1},
        {"'1' of a layout with signs on the row", Qt::Key_Ampersand, Qt::NoModifier, 10, 0, 1},
        {"Shift+2 without a key number", Qt::Key_At, Qt::ShiftModifier, 0, 1, 1},
        {"Shift+9 without a key number", Qt::Key_ParenLeft, Qt::ShiftModifier, 0, 8, 1},
        {"keypad 1", Qt::Key_1, Qt::KeypadModifier, 87, 0, 0},
        {"keypad 1 with Shift", Qt::Key_End, Qt::KeypadModifier | Qt::ShiftModifier, 87, 0, 0},
    };
    std::array<int32_t, 10> expected{};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, c.key, c.modifiers, c.keyNumber, 0, 0);
            QApplication::sendEvent(tabs_, &event);
        }
        expected[static_cast<std::size_t>(c.band)] += c.step;
        EXPECT_EQ(fake_->equalizer, expected);
    }
}

TEST_F(KeyTest, TheHotKeyBoxTakesLettersAndDigitsAndItsLock)
{
    startWithTracks();
    auto* edit = window_->findChild<QLineEdit*>("Edit3");
    QTest::keyClicks(edit, "a?");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "");
    edit->insert("k?1"); // as a paste or a drop arrives
    EXPECT_EQ(edit->text(), "k1");
    action("Hotkey1")->trigger();
    EXPECT_FALSE(edit->isEnabled());
    closeWindow();
    EXPECT_TRUE(readHomeFile("Nuvo.ini").contains("[HotKey]\r\nLock=1\r\nKey=k1\r\n"));
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
