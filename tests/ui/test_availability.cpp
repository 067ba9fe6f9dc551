// Which commands are enabled: at first show, by the play state and by the
// selection.
#include "WindowTest.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace nuvo::test {
namespace {

using AvailabilityTest = WindowTest;

const char* const kListMenuActions[] = {"Delete", "Clear", "ClearS", "SweepIvld", "DuplicateP", "DuplicateN",
                                        "Sort", "SortD", "Shuffle", "Up", "Down", "OpenSearch"};

TEST_F(AvailabilityTest, AnEmptyListLeavesOnlyTheOpenButtonEnabled)
{
    start();
    const QList<QToolButton*> buttons = window_->findChildren<QToolButton*>(QRegularExpression("^ToolButton\\d+$"));
    ASSERT_EQ(buttons.size(), 9);
    for (QToolButton* button : buttons)
        EXPECT_EQ(button->isEnabled(), button->objectName() == "ToolButton7") << button->objectName().toStdString();
    for (const char* name : kListMenuActions)
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    for (const char* menu : {"RemoveDuplicate1", "Sort1", "SaveList1", "SaveList2"})
        EXPECT_FALSE(window_->findChild<QMenu*>(menu)->menuAction()->isEnabled()) << menu;
    EXPECT_FALSE(window_->findChild<QLineEdit*>("Edit2")->isEnabled());
    EXPECT_FALSE(action("VolumeUp")->isEnabled()) << "the volume is 100";
    EXPECT_TRUE(action("VolumeDown")->isEnabled());
    EXPECT_EQ(panel(0), " Close");
    EXPECT_EQ(label("Label2")->text(), "0");
    EXPECT_EQ(label("Label3")->text(), "/0");
}

TEST_F(AvailabilityTest, OneEntryAllowsPlayAndClearButNoNavigationOrSorting)
{
    writePlaylist({addTrack("a.mp3")});
    writeHomeFile("Nuvo.ini", "[Option]\r\nAll=1\r\n[List]\r\nSearch=x\r\n");
    start();
    EXPECT_TRUE(action("Play")->isEnabled());
    EXPECT_TRUE(action("Clear")->isEnabled());
    EXPECT_TRUE(action("SweepIvld")->isEnabled());
    EXPECT_TRUE(action("SaveList")->isEnabled());
    EXPECT_TRUE(window_->findChild<QPushButton*>("Button1")->isEnabled());
    for (const char* name : {"Sort", "SortD", "Shuffle", "DuplicateP", "Previous", "Next"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
}

TEST_F(AvailabilityTest, NavigationFollowsThePositionAndAll)
{
    writePlaylist({addTrack("a.mp3"), addTrack("b.mp3"), addTrack("c.mp3")});
    start();
    EXPECT_FALSE(action("Previous")->isEnabled());
    EXPECT_TRUE(action("Next")->isEnabled());
    EXPECT_TRUE(action("Shuffle")->isEnabled());
    EXPECT_TRUE(window_->findChild<QMenu*>("Sort1")->menuAction()->isEnabled());
    EXPECT_FALSE(window_->findChild<QPushButton*>("Button1")->isEnabled()) << "no search text";
    closeWindow();

    writeHomeFile("Nuvo.ini", "[Option]\r\nAll=1\r\n");
    start();
    EXPECT_TRUE(action("Previous")->isEnabled());
    EXPECT_TRUE(action("Next")->isEnabled());
    closeWindow();

    writeHomeFile("Nuvo.ini", "[List]\r\nReady=2\r\n");
    start();
    EXPECT_TRUE(action("Previous")->isEnabled());
    EXPECT_FALSE(action("Next")->isEnabled());
}

TEST_F(AvailabilityTest, SelectionCommandsFollowTheFocusedEntry)
{
    writePlaylist({addTrack("a.mp3"), addTrack("b.mp3"), addTrack("c.mp3")});
    start();
    EXPECT_FALSE(action("Delete")->isEnabled());
    selectRow(0);
    EXPECT_TRUE(action("Delete")->isEnabled());
    EXPECT_TRUE(action("ClearS")->isEnabled());
    EXPECT_FALSE(action("Up")->isEnabled());
    EXPECT_TRUE(action("Down")->isEnabled());
    EXPECT_TRUE(window_->findChild<QToolButton*>("ToolButton10")->isEnabled()) << "the button follows its action";
    selectRow(2);
    EXPECT_TRUE(action("Up")->isEnabled());
    EXPECT_FALSE(action("Down")->isEnabled());
    selectRow(1);
    EXPECT_TRUE(action("Up")->isEnabled());
    EXPECT_TRUE(action("Down")->isEnabled());
    playlistView()->clearSelection();
    EXPECT_FALSE(action("Delete")->isEnabled());
    EXPECT_FALSE(action("Up")->isEnabled());
}

TEST_F(AvailabilityTest, StopTwiceDisablesTransportAndEnablesTheEnginePage)
{
    writePlaylist({addTrack("a.mp3"), addTrack("b.mp3")});
    start();
    auto* pauseButton = window_->findChild<QToolButton*>("ToolButton3");
    auto* stopButton = window_->findChild<QToolButton*>("ToolButton4");
    action("Play")->trigger();
    EXPECT_TRUE(pauseButton->isEnabled());
    EXPECT_TRUE(stopButton->isEnabled());
    action("Stop")->trigger();
    EXPECT_FALSE(pauseButton->isEnabled());
    EXPECT_TRUE(stopButton->isEnabled());
    action("Stop")->trigger();
    EXPECT_FALSE(pauseButton->isEnabled());
    EXPECT_FALSE(stopButton->isEnabled());
    EXPECT_TRUE(window_->findChild<QWidget*>("TabSheet4")->isEnabled());
}

TEST_F(AvailabilityTest, ToolButtonsCarryTheirHintsAndMenus)
{
    start();
    const std::pair<const char*, const char*> hints[] = {
        {"ToolButton7", "OpenFile(s)"}, {"ToolButton1", "Previous(Z)"}, {"ToolButton2", "Play(X)"},
        {"ToolButton3", "Pause/Resume(C)"}, {"ToolButton4", "Stop/Close(V)"}, {"ToolButton5", "Next(B)"},
        {"ToolButton9", "MoveUpSelected"}, {"ToolButton10", "MoveDownSelected"}, {"ToolButton12", "ClearAll"}};
    for (const auto& [name, hint] : hints)
        EXPECT_EQ(window_->findChild<QToolButton*>(name)->toolTip(), hint) << name;
    EXPECT_EQ(window_->findChild<QToolButton*>("ToolButton7")->menu(), window_->findChild<QMenu*>("PopupMenu1"));
    EXPECT_EQ(window_->findChild<QToolButton*>("ToolButton12")->menu(), window_->findChild<QMenu*>("PopupMenu2"));

    closeWindow();
    writePlaylist({addTrack("a.mp3")});
    start();
    action("Play")->trigger();
    action("Pause")->trigger();
    EXPECT_EQ(window_->findChild<QToolButton*>("ToolButton3")->toolTip(), "Pause/Resume(C)")
        << "the hint stays while the caption changes";
    EXPECT_EQ(action("Pause")->text(), "Resume");
}

} // namespace
} // namespace nuvo::test
