// Favourite directories and lists: the sub-menus built from their files,
// opening a favourite with and without AutoStart and ClearListToOpen, and
// the editor's "Set" and "Cancel".
#include "WindowTest.h"

#include "../unit/FileSizeLimit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDropEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace nuvo::test {
namespace {

class FavouritesTest : public WindowTest {
protected:
    QMenu* menu(const char* name) const { return window_->findChild<QMenu*>(QString::fromLatin1(name)); }

    // The sub-menu's items as the user reads them, a separator as "-".
    QStringList captions(const char* name) const
    {
        QStringList texts;
        for (const QAction* item : menu(name)->actions())
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
        return texts;
    }

    void click(const char* name, int position) { menu(name)->actions().at(position)->trigger(); }

    void writeLines(const QString& file, const QStringList& lines) const
    {
        QByteArray bytes;
        for (const QString& line : lines)
            bytes += line.toUtf8() + "\r\n";
        writeHomeFile(file, bytes);
    }

    QStringList playlist() const
    {
        QStringList paths;
        const QAbstractItemModel* model = playlistView()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            paths << model->index(row, 0).data().toString();
        return paths;
    }

    // Answers the next editor with what the test does to it, then "Set" or "Cancel".
    void answerEditor(std::function<void(QDialog&)> edit, int result)
    {
        dialogs_.dialogAnswers.push_back([edit, result](QDialog& dialog) {
            edit(dialog);
            return result;
        });
    }

    static void trigger(QDialog& dialog, const char* item)
    {
        dialog.findChild<QAction*>(QString::fromLatin1(item))->trigger();
    }

    static QString count(QDialog& dialog) { return dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text(); }

    static void drop(QDialog& dialog, const QStringList& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        // Straight to the dialog: the application passes drops on only while a drag runs.
        static_cast<QObject&>(dialog).event(&event);
        EXPECT_TRUE(event.isAccepted());
    }
};

TEST_F(FavouritesTest, MenusAreBuiltFromTheirFilesAtStart)
{
    QDir(home_.path()).mkpath("music/Jazz");
    writeLines("FDir.lst", {homePath("music/Jazz/"), "/", homePath("Rock & Roll")});
    start();
    // "&" doubled, so the menu shows it instead of taking it for an access key.
    EXPECT_EQ(captions("Favorite1"), QStringList({"Edit", "-", "Jazz", "/", "Rock && Roll"}));
    EXPECT_EQ(captions("Favorite2"), QStringList({"Edit"})) << "no file, no separator";
}

TEST_F(FavouritesTest, ADirectoryWithoutAutoStartIsOnlyAppended)
{
    writePlaylist({addTrack("a.mp3")});
    const QString b = addTrack("fav/b.mp3");
    const QString c = addTrack("fav/sub/c.mp3");
    writeLines("FDir.lst", {homePath("fav")});
    start();

    click("Favorite1", 2);
    EXPECT_EQ(playlist(), QStringList({homePath("a.mp3"), c, b}));
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_FALSE(window_->trackOpen());
    EXPECT_EQ(fake_->count("open " + b.toStdString()), 0);
    EXPECT_EQ(label("Label3")->text(), "/3");
    EXPECT_TRUE(action("Shuffle")->isEnabled());
}

TEST_F(FavouritesTest, AutoStartAndClearListToOpenBindTheFavouriteListAndPlayIt)
{
    const QString x = addTrack("x.mp3");
    writePlaylist({x});
    const QString b = addTrack("fav/b.mp3");
    const QString c = addTrack("fav/c.mp3");
    QDir(home_.path()).mkpath("lists");
    writeHomeFile("lists/mix.m3u", "../fav/b.mp3\r\n../fav/c.mp3\r\n");
    writeLines("FLst.lst", {homePath("lists/mix.m3u")});
    writeHomeFile("Nuvo.ini", "[Favorite]\r\nAutoStart=1\r\nClearList=1\r\n");
    start();
    action("Play")->trigger();
    ASSERT_EQ(fake_->openPath, x.toStdString());

    click("Favorite2", 2);
    EXPECT_EQ(playlist(), QStringList({b, c}));
    EXPECT_EQ(panel(3), " mix.m3u");
    EXPECT_EQ(fake_->openPath, b.toStdString());
    EXPECT_EQ(window_->currentIndex(), 0);
    EXPECT_EQ(panel(0), " Play");
    EXPECT_FALSE(menu("SaveList2")->menuAction()->isEnabled()) << "a fresh binding is no change";
}

TEST_F(FavouritesTest, AutoStartPlaysTheFirstAddedEntryAfterTheOldOnes)
{
    writePlaylist({addTrack("a.mp3")});
    const QString b = addTrack("fav/b.mp3");
    writeLines("FDir.lst", {homePath("fav")});
    writeHomeFile("Nuvo.ini", "[Favorite]\r\nAutoStart=1\r\n");
    start();
    click("Favorite1", 2);
    EXPECT_EQ(playlist(), QStringList({homePath("a.mp3"), b}));
    EXPECT_EQ(window_->currentIndex(), 1);
    EXPECT_EQ(fake_->openPath, b.toStdString());
}

TEST_F(FavouritesTest, AFavouriteThatIsGoneOrPastItsFileDoesNothing)
{
    const QString a = addTrack("a.mp3");
    writePlaylist({a});
    addTrack("fav/b.mp3");
    addTrack("other/c.mp3");
    writeLines("FDir.lst", {homePath("fav"), homePath("other"), homePath("missing")});
    writeHomeFile("Nuvo.ini", "[Favorite]\r\nAutoStart=1\r\nClearList=1\r\n");
    start();
    // Another program shortens the file after the menu was built.
    writeLines("FDir.lst", {homePath("missing")});

    for (const int position : {2, 3, 4}) {
        click("Favorite1", position);
        EXPECT_EQ(playlist(), QStringList{a}) << position;
        EXPECT_FALSE(window_->trackOpen()) << position;
    }
    EXPECT_TRUE(dialogs_.errors().isEmpty());
}

TEST_F(FavouritesTest, SetWritesTheFileAndRebuildsTheMenu)
{
    QDir(home_.path()).mkpath("d1");
    QDir(home_.path()).mkpath("d2");
    addTrack("d3/x.mp3");
    writeLines("FDir.lst", {homePath("d1"), homePath("d2")});
    start();
    answerEditor(
        [this](QDialog& editor) {
            EXPECT_EQ(editor.windowTitle(), "FavoriteDirectory");
            EXPECT_EQ(count(editor), "2 Items");
            auto* list = editor.findChild<QListWidget*>("ListBox1");
            list->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
            trigger(editor, "DeleteSelected1");
            EXPECT_EQ(count(editor), "1 Item");
            drop(editor, {homePath("d3/x.mp3")});   // a file gives its folder
            EXPECT_EQ(count(editor), "2 Items");
        },
        QDialog::Accepted);
    click("Favorite1", 0);

    EXPECT_EQ(readHomeFile("FDir.lst"), (homePath("d2") + "\r\n" + homePath("d3") + "\r\n").toUtf8());
    EXPECT_EQ(captions("Favorite1"), QStringList({"Edit", "-", "d2", "d3"}));

    // Emptied and set: an empty file and a menu of "Edit" alone.
    answerEditor([](QDialog& editor) { trigger(editor, "ClearAll1"); }, QDialog::Accepted);
    click("Favorite1", 0);
    EXPECT_EQ(readHomeFile("FDir.lst"), QByteArray());
    EXPECT_EQ(captions("Favorite1"), QStringList({"Edit"}));
}

TEST_F(FavouritesTest, CancelLeavesTheFileAndTheMenuAsTheyWere)
{
    const QByteArray stored = (homePath("a.m3u") + "\r\n").toUtf8();
    writeHomeFile("FLst.lst", stored);
    start();
    answerEditor(
        [](QDialog& editor) {
            EXPECT_EQ(editor.windowTitle(), "FavoriteList");
            trigger(editor, "ClearAll1");
            EXPECT_EQ(count(editor), "0 Item");
        },
        QDialog::Rejected);
    click("Favorite2", 0);
    EXPECT_EQ(readHomeFile("FLst.lst"), stored);
    EXPECT_EQ(captions("Favorite2"), QStringList({"Edit", "-", "a.m3u"}));
}

TEST_F(FavouritesTest, AFailedWriteIsToldAndChangesNothing)
{
    const QByteArray stored = (homePath("d1") + "\r\n").toUtf8();
    writeHomeFile("FDir.lst", stored);
    QDir(home_.path()).mkpath("d2");
    start();
    std::optional<FileSizeLimit> fullDisk;
    answerEditor(
        [&](QDialog& editor) {
            drop(editor, {homePath("d2"), homePath("d2"), homePath("d2")});
            fullDisk.emplace(static_cast<rlim_t>(stored.size()));
        },
        QDialog::Accepted);
    click("Favorite1", 0);
    ASSERT_TRUE(fullDisk && fullDisk->active());
    fullDisk.reset();

    ASSERT_EQ(dialogs_.errors().size(), 1);
    EXPECT_TRUE(dialogs_.errors().first().startsWith("Cannot write " + homePath("FDir.lst")));
    EXPECT_EQ(readHomeFile("FDir.lst"), stored);
    EXPECT_EQ(captions("Favorite1"), QStringList({"Edit", "-", "d1"}));
}

TEST_F(FavouritesTest, EditorCommandsKeepTheirItemsInStep)
{
    writeLines("FDir.lst", {"/m/b", "/m/a", "/m/b", "/n/A"});
    start();
    answerEditor(
        [](QDialog& editor) {
            auto* list = editor.findChild<QListWidget*>("ListBox1");
            const auto enabled = [&editor](const char* item) {
                return editor.findChild<QAction*>(QString::fromLatin1(item))->isEnabled();
            };
            const auto entries = [list] {
                QStringList texts;
                for (int i = 0; i < list->count(); ++i)
                    texts << list->item(i)->text();
                return texts;
            };
            EXPECT_EQ(editor.findChild<QAction*>("Name1")->text(), "DirectoryName");
            // A right click on the list opens the dialog's menu.
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), list->viewport()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(list->viewport(), &rightClick);
            auto* popup = editor.findChild<QMenu*>("PopupMenu1");
            EXPECT_TRUE(popup->isVisible());
            popup->hide();
            EXPECT_TRUE(enabled("RemoveDuplicate1"));
            EXPECT_FALSE(enabled("DeleteSelected1"));

            trigger(editor, "RemoveDuplicate1");
            EXPECT_EQ(entries(), QStringList({"/m/b", "/m/a", "/n/A"})) << "whole paths, letter case counts";
            trigger(editor, "Name1");
            EXPECT_EQ(entries(), QStringList({"/m/a", "/n/A", "/m/b"}));

            list->setCurrentRow(2, QItemSelectionModel::ClearAndSelect);
            EXPECT_TRUE(enabled("MoveUpSelected1"));
            EXPECT_FALSE(enabled("MoveDownSelected1"));
            trigger(editor, "MoveUpSelected1");
            trigger(editor, "MoveUpSelected1");
            EXPECT_EQ(entries(), QStringList({"/m/b", "/m/a", "/n/A"})) << "the same entry moves on";
            EXPECT_FALSE(enabled("MoveUpSelected1"));
            EXPECT_TRUE(enabled("MoveDownSelected1"));

            // The folders do not exist: the sweep leaves nothing to edit.
            trigger(editor, "SweepInvalid1");
            EXPECT_EQ(count(editor), "0 Item");
            for (const char* item : {"DeleteSelected1", "ClearAll1", "SweepInvalid1", "RemoveDuplicate1",
                                     "FullPath1", "Name1", "MoveUpSelected1", "MoveDownSelected1"})
                EXPECT_FALSE(enabled(item)) << item;
            EXPECT_TRUE(enabled("Explore1"));
        },
        QDialog::Rejected);
    click("Favorite1", 0);
}

} // namespace
} // namespace nuvo::test
