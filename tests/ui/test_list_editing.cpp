// The list menu's editing commands: where the current entry goes, whether the
// open track survives, and what the window shows afterwards.
#include "WindowTest.h"

#include <QFile>
#include <QLineEdit>

namespace nuvo::test {
namespace {

class ListEditingTest : public WindowTest {
protected:
    // Plays the entry at row of a list bound to an M3U file and unchanged.
    void startPlaying(const QStringList& paths, int row)
    {
        for (const QString& path : paths)
            fake_->tracks.try_emplace(path.toStdString());
        writePlaylist(paths);
        writeHomeFile("Nuvo.ini", QStringLiteral("[List]\r\nReady=%1\r\nOpenedList=/lists/mix.m3u\r\n").arg(row).toUtf8());
        start();
        action("Play")->trigger();
        ASSERT_EQ(fake_->openPath, paths.at(row).toStdString());
    }

    QStringList entries() const
    {
        QStringList paths;
        const QAbstractItemModel* model = playlistView()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            paths << model->index(row, 0).data().toString();
        return paths;
    }

    // Selects rows and puts the focus on the given one (selected or not).
    void selectRows(std::initializer_list<int> rows, int focused)
    {
        QItemSelectionModel* selection = playlistView()->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(playlistView()->model()->index(row, 0), QItemSelectionModel::Select);
        selection->setCurrentIndex(playlistView()->model()->index(focused, 0), QItemSelectionModel::NoUpdate);
    }

    int focusedRow() const { return playlistView()->selectionModel()->currentIndex().row(); }
    int selectedCount() const { return static_cast<int>(playlistView()->selectionModel()->selectedRows().size()); }
    bool listChanged() const { return action("UpDateC")->isEnabled(); }

    void expectClosed()
    {
        EXPECT_TRUE(fake_->openPath.empty());
        EXPECT_EQ(window_->playState(), -1);
        EXPECT_EQ(panel(0), " Close");
        EXPECT_EQ(window_->windowTitle(), "Nuvo");
        EXPECT_EQ(label("Label2")->text(), "0");
        EXPECT_FALSE(action("Stop")->isEnabled());
        EXPECT_EQ(action("Stop")->text(), "Stop");
        EXPECT_FALSE(action("Pause")->isEnabled());
        EXPECT_FALSE(action("OpenSearch")->isEnabled());
    }
};

const QStringList kFive{"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/d.mp3", "/m/e.mp3"};

TEST_F(ListEditingTest, RemovingTheSelectionWithThePlayingEntryClosesIt)
{
    startPlaying(kFive, 2);
    selectRows({1, 2}, 2);
    action("Delete")->trigger();
    EXPECT_EQ(entries(), (QStringList{"/m/a.mp3", "/m/d.mp3", "/m/e.mp3"}));
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_EQ(focusedRow(), 0);
    EXPECT_EQ(label("Label3")->text(), "/3");
    expectClosed();
    EXPECT_TRUE(listChanged());
}

TEST_F(ListEditingTest, RemovingEntriesBeforeThePlayingOneKeepsItPlaying)
{
    startPlaying(kFive, 4);
    selectRows({0, 1, 3}, 1);
    action("Delete")->trigger();
    EXPECT_EQ(entries(), (QStringList{"/m/c.mp3", "/m/e.mp3"}));
    EXPECT_EQ(window_->currentIndex(), 1);
    EXPECT_EQ(focusedRow(), 1);
    EXPECT_EQ(label("Label2")->text(), "2");
    EXPECT_EQ(fake_->openPath, "/m/e.mp3");
    EXPECT_EQ(panel(0), " Play");
    EXPECT_TRUE(listChanged());
}

TEST_F(ListEditingTest, ClearAllClosesUnbindsAndDisablesWhatNeedsEntries)
{
    startPlaying(kFive, 1);
    selectRows({3}, 3);
    action("Down")->trigger();
    ASSERT_TRUE(listChanged());
    action("Clear")->trigger();
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_EQ(label("Label3")->text(), "/0");
    expectClosed();
    EXPECT_EQ(panel(3), "");
    EXPECT_FALSE(listChanged());
    for (const char* name : {"Clear", "SweepIvld", "Play", "Previous", "Next", "Sort", "Shuffle", "DuplicateP",
                             "Delete", "ClearS", "Up", "Down", "SaveList"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    EXPECT_FALSE(window_->findChild<QLineEdit*>("Edit2")->isEnabled());
    // Nothing bound is written back at close.
    closeWindow();
    const QByteArray ini = readHomeFile("Nuvo.ini");
    EXPECT_TRUE(ini.contains("OpenedList=\r\n")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("ListChanged=0\r\n")) << ini.toStdString();
}

TEST_F(ListEditingTest, SweepingTheMissingPlayingEntryLetsItPlayOn)
{
    const QString a = addTrack("a.mp3");
    const QString b = addTrack("b.mp3");
    const QString c = addTrack("c.mp3");
    const QString gone = homePath("gone.mp3");
    startPlaying({gone, a, b, c}, 2);
    ASSERT_TRUE(QFile::remove(b));
    selectRows({3}, 3);
    action("SweepIvld")->trigger();
    EXPECT_EQ(entries(), (QStringList{a, c}));
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_EQ(label("Label2")->text(), "0");
    EXPECT_EQ(fake_->openPath, b.toStdString()) << "the track is not closed";
    EXPECT_EQ(panel(0), " Play");
    EXPECT_EQ(selectedCount(), 0);
    EXPECT_TRUE(listChanged());
}

TEST_F(ListEditingTest, SweepingEntriesBeforeTheCurrentOneMovesItsNumber)
{
    const QString a = addTrack("a.mp3");
    const QString b = addTrack("b.mp3");
    startPlaying({homePath("x.mp3"), a, homePath("music"), b}, 3);
    QDir().mkpath(homePath("music"));   // a folder is no track
    action("SweepIvld")->trigger();
    EXPECT_EQ(entries(), (QStringList{a, b}));
    EXPECT_EQ(window_->currentIndex(), 1);
    EXPECT_EQ(label("Label2")->text(), "2");
    EXPECT_EQ(focusedRow(), 1);
}

TEST_F(ListEditingTest, RemovingDuplicatesByNameClosesAPlayingLoser)
{
    startPlaying({"/a/x.mp3", "/b/x.mp3", "/a/y.mp3"}, 1);
    action("DuplicateN")->trigger();
    EXPECT_EQ(entries(), (QStringList{"/a/x.mp3", "/a/y.mp3"}));
    EXPECT_EQ(window_->currentIndex(), 0);
    expectClosed();
    EXPECT_TRUE(listChanged());
}

TEST_F(ListEditingTest, RemovingDuplicatesByPathKeepsPathsThatDifferInCase)
{
    // The playing entry is the second twin of "/a.mp3": it goes to the first, the same file.
    startPlaying({"/A.mp3", "/a.mp3", "/music/a.mp3", "/a.mp3"}, 3);
    action("DuplicateP")->trigger();
    EXPECT_EQ(entries(), (QStringList{"/A.mp3", "/a.mp3", "/music/a.mp3"}));
    EXPECT_EQ(window_->currentIndex(), 1) << "found by the same text, not by text in any case";
    EXPECT_EQ(label("Label2")->text(), "2");
    EXPECT_EQ(fake_->openPath, "/a.mp3");
    EXPECT_TRUE(listChanged());
}

TEST_F(ListEditingTest, OnlyARemovalMarksTheBoundListChanged)
{
    startPlaying({"/a/x.mp3", "/b/y.mp3"}, 1);
    action("DuplicateN")->trigger();
    EXPECT_EQ(entries().size(), 2);
    EXPECT_FALSE(listChanged()) << "no duplicate, no change";
    action("SweepIvld")->trigger();   // neither file exists
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_TRUE(listChanged());
    EXPECT_EQ(fake_->openPath, "/b/y.mp3") << "sweeping never closes the track";
}

TEST_F(ListEditingTest, SortKeepsTheCurrentEntryAndDescendIsTheReverse)
{
    startPlaying({"/c.mp3", "/a.mp3", "/B.mp3", "/A.mp3"}, 1);
    action("Sort")->trigger();
    const QStringList ascending = entries();
    EXPECT_EQ(ascending.mid(2), (QStringList{"/B.mp3", "/c.mp3"}));
    EXPECT_EQ(ascending.at(window_->currentIndex()), "/a.mp3");
    EXPECT_EQ(label("Label2")->text(), QString::number(window_->currentIndex() + 1));
    EXPECT_EQ(fake_->openPath, "/a.mp3");
    EXPECT_TRUE(listChanged());

    action("SortD")->trigger();
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    EXPECT_EQ(entries(), descending);
    EXPECT_EQ(entries().at(window_->currentIndex()), "/a.mp3");
}

TEST_F(ListEditingTest, SortingASortedListChangesNothing)
{
    writePlaylist({"/a.mp3", "/b.mp3", "/c.mp3"});
    writeHomeFile("Nuvo.ini", "[List]\r\nReady=2\r\nOpenedList=/lists/mix.m3u\r\n");
    start();
    action("Sort")->trigger();
    EXPECT_FALSE(listChanged());
    EXPECT_EQ(window_->currentIndex(), 2);
    EXPECT_EQ(label("Label2")->text(), "0") << "no track open";
}

TEST_F(ListEditingTest, ShuffleMovesTheCurrentEntryFirstAndPlaysOn)
{
    startPlaying(kFive, 3);
    action("Shuffle")->trigger();
    QStringList shuffled = entries();
    EXPECT_EQ(shuffled.first(), "/m/d.mp3");
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_EQ(label("Label2")->text(), "1");
    EXPECT_EQ(fake_->openPath, "/m/d.mp3");
    EXPECT_FALSE(action("Previous")->isEnabled());
    EXPECT_TRUE(action("Next")->isEnabled());
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled, kFive);
}

TEST_F(ListEditingTest, MovingTheFocusedEntryCarriesOrPassesTheCurrentOne)
{
    struct Case {
        const char* name;
        const char* command;
        int focused;
        int current;      // playing
        int newCurrent;
        bool previous, next;
        bool up, down;    // the moves that the entry's new place allows
    };
    const Case cases[] = {
        {"current moves up", "Up", 1, 1, 0, false, true, false, true},
        {"current moves down to the end", "Down", 3, 3, 4, true, false, true, false},
        {"passes the current upwards", "Up", 1, 0, 1, true, true, false, true},
        {"passes the current downwards", "Down", 3, 4, 3, true, true, true, false},
        {"the first entry moves down", "Down", 0, 3, 3, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startPlaying(kFive, c.current);
        selectRows({c.focused, 2}, c.focused);
        action(c.command)->trigger();
        const int to = c.focused + (std::string(c.command) == "Up" ? -1 : 1);
        EXPECT_EQ(entries().at(to), kFive.at(c.focused));
        EXPECT_EQ(window_->currentIndex(), c.newCurrent);
        EXPECT_EQ(entries().at(window_->currentIndex()), kFive.at(c.current));
        EXPECT_EQ(label("Label2")->text(), QString::number(c.newCurrent + 1));
        EXPECT_EQ(focusedRow(), to);
        EXPECT_TRUE(playlistView()->selectionModel()->isRowSelected(to, {}));
        EXPECT_EQ(action("Previous")->isEnabled(), c.previous);
        EXPECT_EQ(action("Next")->isEnabled(), c.next);
        EXPECT_EQ(action("Up")->isEnabled(), c.up);
        EXPECT_EQ(action("Down")->isEnabled(), c.down);
        EXPECT_TRUE(listChanged());
        closeWindow();
    }
}

TEST_F(ListEditingTest, RepeatedMovesKeepMovingTheSameEntryOnly)
{
    writePlaylist(kFive);
    start();
    selectRows({0, 4}, 4);
    action("Up")->trigger();
    action("Up")->trigger();
    EXPECT_EQ(entries(), (QStringList{"/m/a.mp3", "/m/b.mp3", "/m/e.mp3", "/m/c.mp3", "/m/d.mp3"}));
    EXPECT_EQ(window_->currentIndex(), 0);

    selectRows({0}, 0);
    action("Up")->trigger();
    EXPECT_EQ(entries().first(), "/m/a.mp3") << "the first entry cannot move up";
}

} // namespace
} // namespace nuvo::test
