// The playlist's painting: the current entry in the Played/Standby colour,
// selected entries inverted.
#include "WindowTest.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>

namespace nuvo::test {
namespace {

class PlaylistViewTest : public WindowTest {
protected:
    QColor pixelInRow(int row, int x)
    {
        QListView* view = playlistView();
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        const QImage image = view->viewport()->grab().toImage();
        return image.pixelColor(rect.left() + x, rect.center().y());
    }

    // True when some pixel of the row shows the colour (the text is drawn in it).
    bool rowShows(int row, const QColor& color)
    {
        QListView* view = playlistView();
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        const QImage image = view->viewport()->grab().toImage();
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x < std::min(rect.right(), rect.left() + 200); ++x)
                if (image.pixelColor(x, y) == color)
                    return true;
        return false;
    }
};

TEST_F(PlaylistViewTest, TheCurrentEntryIsPaintedInItsColour)
{
    // The same path twice: only the entry at the position counts as current.
    const QString a = addTrack("a.mp3");
    writePlaylist({a, a, addTrack("b.mp3")});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=1\r\n[Option]\r\nPrepared=1\r\nPreColor=255\r\n");
    start();
    const QColor red(255, 0, 0);
    const QPalette palette = playlistView()->palette();

    EXPECT_EQ(pixelInRow(1, 1), palette.color(QPalette::Base));
    EXPECT_TRUE(rowShows(1, red)) << "unselected current entry: its text in the colour";
    EXPECT_FALSE(rowShows(0, red)) << "the twin is an ordinary entry";

    selectRow(1);
    EXPECT_EQ(pixelInRow(1, 1), red) << "selected current entry: the colour behind";
    EXPECT_TRUE(rowShows(1, palette.color(QPalette::Base)));

    selectRow(2);
    EXPECT_EQ(pixelInRow(2, 1), palette.color(QPalette::Text)) << "selected entries are inverted";
    EXPECT_EQ(pixelInRow(1, 1), palette.color(QPalette::Base));
}

TEST_F(PlaylistViewTest, MovingThePositionRepaintsBothEntries)
{
    writePlaylist({addTrack("a.mp3"), addTrack("b.mp3")});
    writeHomeFile("Nuvo.ini", "[Option]\r\nPreColor=65280\r\n");
    start();
    const QColor green(0, 255, 0);
    EXPECT_TRUE(rowShows(0, green));
    action("Next")->trigger();
    EXPECT_FALSE(rowShows(0, green));
    EXPECT_TRUE(rowShows(1, green));
}

TEST_F(PlaylistViewTest, ThePlayedColourChosenOnTheOptionPagePaintsTheCurrentEntry)
{
    writePlaylist({addTrack("a.mp3"), addTrack("b.mp3")});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=1\r\n");
    start();
    const QColor chosen(0x12, 0x34, 0x56);
    dialogs_.colorAnswers.push_back(chosen);
    setOption(Option::PlayedColor, true);
    auto* options = window_->findChild<QListWidget*>("CheckListBox1");
    EXPECT_EQ(options->item(11)->text(), "Played/Standby <123456>");
    EXPECT_TRUE(rowShows(1, chosen));
    EXPECT_FALSE(rowShows(0, chosen));
    closeWindow();
    const QString written = QString::fromUtf8(readHomeFile("Nuvo.ini"));
    EXPECT_TRUE(written.contains("Prepared=1\r\n")) << written.toStdString();
    EXPECT_TRUE(written.contains("PreColor=5649426\r\n")) << written.toStdString();
}

TEST_F(PlaylistViewTest, CountersOfAHundredThousandEntriesShowWhole)
{
    QStringList paths;
    for (int i = 0; i < 99999; ++i)
        paths << QStringLiteral("/music/%1.mp3").arg(i);
    paths << addTrack("last.mp3");
    writePlaylist(paths);
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=99999\r\n");
    start();
    action("Play")->trigger();
    QApplication::processEvents();
    for (const char* name : {"Label2", "Label3"}) {
        QLabel* counter = label(name);
        EXPECT_GE(counter->width(), counter->fontMetrics().horizontalAdvance(counter->text())) << name;
    }
    EXPECT_EQ(label("Label2")->text(), "100000");
    EXPECT_EQ(label("Label3")->text(), "/100000");
}

TEST_F(PlaylistViewTest, TypingInTheListDoesNotSearchIt)
{
    writePlaylist({addTrack("a.mp3"), addTrack("b.mp3"), addTrack("/x.mp3")});
    start();
    QListView* view = playlistView();
    view->setFocus();
    QTest::keyClicks(view, "/b");
    EXPECT_FALSE(view->selectionModel()->hasSelection());
    EXPECT_FALSE(view->selectionModel()->currentIndex().isValid());
}

} // namespace
} // namespace nuvo::test
