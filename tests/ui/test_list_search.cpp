// The search box and "SearchOpened".
#include "WindowTest.h"

#include <QLineEdit>
#include <QPushButton>

namespace nuvo::test {
namespace {

class ListSearchTest : public WindowTest {
protected:
    QLineEdit* edit() const { return window_->findChild<QLineEdit*>("Edit2"); }
    QPushButton* button() const { return window_->findChild<QPushButton*>("Button1"); }
    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex& index : playlistView()->selectionModel()->selectedRows())
            rows << index.row();
        return rows;
    }
    int focusedRow() const { return playlistView()->selectionModel()->currentIndex().row(); }
};

TEST_F(ListSearchTest, PressesWalkThroughTheMatchesThenBackToTheCurrentEntry)
{
    writePlaylist({"/a.mp3", "/b.mp3", "/music/rock/a.mp3", "/c.mp3", "/d.mp3", "/x/Rocky.mp3", "/e.mp3"});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=4\r\nSearch=ROCK\r\n");
    start();
    ASSERT_TRUE(button()->isEnabled());
    const std::pair<QList<int>, int> presses[] = {{{2}, 2}, {{5}, 5}, {{}, 4}, {{2}, 2}};
    for (const auto& [selected, focused] : presses) {
        QTest::mouseClick(button(), Qt::LeftButton);
        EXPECT_EQ(selectedRows(), selected);
        EXPECT_EQ(focusedRow(), focused);
    }
}

TEST_F(ListSearchTest, TheButtonFollowsTypingButNotTheRestoredText)
{
    writePlaylist({"/a.mp3"});
    writeHomeFile("Nuvo.ini", "[List]\r\nSearch=abc\r\n");
    start();
    EXPECT_EQ(edit()->text(), "abc");
    edit()->setFocus();
    edit()->selectAll();
    QTest::keyClick(edit(), Qt::Key_Delete);
    EXPECT_FALSE(button()->isEnabled());
    QTest::keyClicks(edit(), "a");
    EXPECT_TRUE(button()->isEnabled());
    edit()->setText({});   // not the user's doing
    EXPECT_TRUE(button()->isEnabled());
    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_TRUE(selectedRows().isEmpty()) << "an empty text searches nothing";
}

TEST_F(ListSearchTest, SearchOpenedSelectsOnlyThePlayingEntry)
{
    const QString a = addTrack("a.mp3");
    const QString b = addTrack("b.mp3");
    writePlaylist({a, b, addTrack("c.mp3")});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=1\r\n");
    start();
    selectRow(2);
    action("OpenSearch")->trigger();
    EXPECT_EQ(selectedRows(), QList<int>{2}) << "no track open: nothing happens";

    action("Stop")->trigger();
    playlistView()->clearSelection();
    action("Play")->trigger();
    ASSERT_EQ(fake_->openPath, b.toStdString());
    playlistView()->selectionModel()->select(playlistView()->model()->index(0, 0), QItemSelectionModel::Select);
    action("OpenSearch")->trigger();
    EXPECT_EQ(selectedRows(), QList<int>{1});
    EXPECT_EQ(focusedRow(), 1);
}

} // namespace
} // namespace nuvo::test
