// The TagEdit page with the fake decoder: the view of the chosen file, the
// editing of one field per press, "Pst", the refusal of a write from a view
// that no longer matches the play state, and the renaming of a file.
#include "WindowTest.h"

#include "tag/TagLineDelegate.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include <cstring>

namespace nuvo::test {
namespace {

FakeTrack taggedTrack(const char* title, const char* year = "2001", int genre = 17)
{
    FakeTrack track{title, 180, 16 + 2, 128};
    std::strcpy(track.tag.title, title);
    std::strcpy(track.tag.artist, "Nuvo Tests");
    std::strcpy(track.tag.year, year);
    track.tag.genre = genre;
    std::strcpy(track.tag.genreName, "Rock");
    track.mpeg.version = 1;
    track.mpeg.layer = 3;
    track.mpeg.mode = 3;
    track.mpeg.sampleRate = 44100;
    track.mpeg.fileSize = 1000;
    track.mpeg.frames = 38;
    track.mpeg.seconds = 180;
    return track;
}

class TagPageTest : public WindowTest {
protected:
    // a and c carry tags, b has none; the list was restored from the last run.
    void startWithThreeTracks()
    {
        a_ = addTrack("music/a.mp3", taggedTrack("Alpha"));
        FakeTrack plain = taggedTrack("Stale bytes");
        plain.fileType = 2;
        b_ = addTrack("music/b.mp3", plain);
        c_ = addTrack("music/c.mp3", taggedTrack("Gamma", "1980", 8));
        writePlaylist({a_, b_, c_});
        start();
    }

    template <class Widget>
    Widget* part(const char* name) const
    {
        // Inside the page: the engine's dialogs have widgets of the same names.
        auto* found = window_->findChild<QWidget*>("TabSheet2")->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QListWidget* view() const { return part<QListWidget>("ListBox2"); }
    QLineEdit* edit1() const { return part<QLineEdit>("Edit1"); }
    QComboBox* genres() const { return part<QComboBox>("ComboBox1"); }
    QPushButton* editButton() const { return part<QPushButton>("Button2"); }
    QPushButton* pasteButton() const { return part<QPushButton>("Button5"); }
    QTabWidget* pages() const { return window_->findChild<QTabWidget*>("PageControl1"); }

    void showTagPage() { pages()->setCurrentIndex(1); }
    // The user leaves for the list, picks an entry (or none) and comes back.
    void returnWithSelection(int row)
    {
        pages()->setCurrentIndex(0);
        if (row >= 0)
            selectRow(row);
        showTagPage();
    }
    void expectWrite(std::size_t number, const QString& path, int openedFile) const
    {
        ASSERT_EQ(fake_->tagWrites.size(), number + 1);
        EXPECT_EQ(fake_->tagWrites[number].path, path.toStdString());
        EXPECT_EQ(fake_->tagWrites[number].openedFile, openedFile);
        EXPECT_EQ(fake_->tagWrites[number].mode, 1);
    }
    QString line(int index) const { return index < view()->count() ? view()->item(index)->text() : "<none>"; }
    // The user picks a line of the view (Enter on it) ...
    void indicate(int line)
    {
        view()->setCurrentRow(line);
        QTest::keyClick(view(), Qt::Key_Return);
    }
    // ... types into Edit1 and presses "Edit".
    void writeField(int line, const QString& text)
    {
        indicate(line);
        edit1()->setText(text);
        editButton()->click();
    }
    int tagWrites() const { return static_cast<int>(fake_->tagWrites.size()); }

    QString a_, b_, c_;
};

TEST_F(TagPageTest, TheViewShowsTheFileThePlayStateAndTheSelectionChoose)
{
    startWithThreeTracks();
    showTagPage();
    ASSERT_EQ(view()->count(), 16);
    EXPECT_EQ(line(1), "<Title>\t\tAlpha") << "nothing open, nothing selected: the current entry";
    EXPECT_EQ(line(14), "<Mode>\t\tMonaural");
    EXPECT_EQ(line(15), "<FileName>\ta.mp3");
    EXPECT_FALSE(edit1()->isEnabled());
    EXPECT_FALSE(pasteButton()->isEnabled());

    pages()->setCurrentIndex(0);
    EXPECT_EQ(view()->count(), 0) << "leaving the page clears it";
    selectRow(1);
    showTagPage();
    EXPECT_EQ(line(1), "<Title>") << "the selected entry, without a tag: bare labels";
    EXPECT_EQ(line(15), "<FileName>\tb.mp3");

    selectRow(2);
    action("Play")->trigger();
    returnWithSelection(0);
    EXPECT_EQ(line(1), "<Title>\t\tGamma") << "playing: the open track, whatever is selected";
    EXPECT_EQ(fake_->calls.back(), "getMpegInfo");
    action("Stop")->trigger();
    returnWithSelection(-1);
    EXPECT_EQ(line(1), "<Title>\t\tAlpha") << "stopped: another selected entry";

    fake_->tracks.erase(a_.toStdString()); // the library cannot read it now
    returnWithSelection(-1);
    EXPECT_EQ(view()->count(), 0);
}

TEST_F(TagPageTest, GenreBoxHoldsTheWholeTable)
{
    startWithThreeTracks();
    ASSERT_EQ(genres()->count(), 256);
    EXPECT_EQ(genres()->itemText(14), "R&B");
    EXPECT_EQ(genres()->itemText(78), "Rock & Roll");
    EXPECT_EQ(genres()->itemText(147), "Synthpop");
    EXPECT_EQ(genres()->itemText(148), "");
    EXPECT_EQ(genres()->itemText(251), "Seiyu(J)");
    EXPECT_EQ(genres()->itemText(255), "Anime(J)");
}

TEST_F(TagPageTest, ValuesStandInOneColumnAtATabStop)
{
    startWithThreeTracks();
    showTagPage();
    const QFont font = view()->font();
    const QFontMetrics metrics(font);
    const qreal stop = TagLineDelegate::tabStopDistance(font);
    for (int i : {1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14, 15}) {
        const QString text = line(i);
        EXPECT_DOUBLE_EQ(TagLineDelegate::valueOffset(text, font), 2 * stop) << text.toStdString();
        EXPECT_LT(metrics.horizontalAdvance(text.left(text.indexOf(u'\t'))), 2 * stop) << "the label ends before";
    }
    // A label past the column moves its value to a later stop, never onto the label.
    const QString wide(40, u'W');
    EXPECT_GE(TagLineDelegate::valueOffset(wide + "\tv", font), metrics.horizontalAdvance(wide + ' '));
}

TEST_F(TagPageTest, EditIsEnabledOnlyForAChangedValue)
{
    startWithThreeTracks();
    showTagPage();
    QTest::mouseClick(view()->viewport(), Qt::RightButton, {}, view()->visualItemRect(view()->item(1)).center());
    EXPECT_FALSE(edit1()->isEnabled()) << "only the left button picks a line";
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, view()->visualItemRect(view()->item(1)).center());
    EXPECT_TRUE(edit1()->isEnabled());
    EXPECT_EQ(edit1()->text(), "Alpha");
    EXPECT_EQ(edit1()->maxLength(), 30);
    EXPECT_FALSE(editButton()->isEnabled());
    EXPECT_FALSE(pasteButton()->isEnabled()) << "nothing written yet";
    edit1()->setText("Alphb");
    EXPECT_TRUE(editButton()->isEnabled());
    edit1()->setText("Alpha");
    EXPECT_FALSE(editButton()->isEnabled());

    indicate(4);
    EXPECT_EQ(edit1()->maxLength(), 4);
    indicate(5);
    EXPECT_FALSE(edit1()->isEnabled());
    EXPECT_TRUE(genres()->isEnabled());
    EXPECT_EQ(genres()->currentIndex(), 17);
    genres()->setCurrentIndex(3);
    EXPECT_TRUE(editButton()->isEnabled());
    genres()->setCurrentIndex(17);
    EXPECT_FALSE(editButton()->isEnabled());

    indicate(9); // not a field
    EXPECT_FALSE(edit1()->isEnabled());
    EXPECT_FALSE(genres()->isEnabled());
    EXPECT_EQ(genres()->currentIndex(), -1);
}

TEST_F(TagPageTest, AStoredValueLongerThanTheTypingLimitIsShownWhole)
{
    const QString title = "A title of forty characters, and longer";
    FakeTrack track = taggedTrack(title.toUtf8().constData());
    const QString path = addTrack("long.mp3", track);
    writePlaylist({path});
    start();
    showTagPage();
    indicate(1);
    EXPECT_EQ(edit1()->text(), title);
    EXPECT_FALSE(editButton()->isEnabled());

    indicate(2); // an empty field takes 30 typed characters, no more
    edit1()->clear();
    QTest::keyClicks(edit1(), QString(35, u'x'));
    EXPECT_EQ(edit1()->text(), QString(30, u'x'));
}

TEST_F(TagPageTest, TypingStopsAtWhatTheFieldHoldsSoNothingIsCutOnWriting)
{
    const struct {
        int line;
        QString typed;
        QString kept;
    } cases[] = {
        {4, "1998x", "1998"},
        {4, QString::fromUtf8("１９９８"), QString::fromUtf8("１")},   // three bytes each in four
        {1, QString(35, QChar(0xe9)), QString(30, QChar(0xe9))},        // thirty letters, whatever their bytes
        {6, QString::fromUtf8("ü") + QString(40, u'c'), QString::fromUtf8("ü") + QString(29, u'c')},
    };
    startWithThreeTracks();
    showTagPage();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        indicate(c.line);
        edit1()->selectAll();
        // Character by character, as a keyboard with these letters types them.
        for (const QChar letter : c.typed) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(letter));
            QApplication::sendEvent(edit1(), &press);
        }
        EXPECT_EQ(edit1()->text(), c.kept);
        editButton()->click();
        const TagRecord& written = fake_->tagWrites.back().tag;
        const char* field = c.line == 4 ? written.year : c.line == 1 ? written.title : written.comment;
        EXPECT_EQ(QString::fromUtf8(field), c.kept) << "written whole";
    }
}

TEST_F(TagPageTest, WriteTargetsAndFlagsInEachPlayState)
{
    startWithThreeTracks();
    showTagPage();

    // Nothing open, an entry selected: that entry, flag 0.
    returnWithSelection(1);
    writeField(1, "Beta");
    expectWrite(0, b_, 0);
    EXPECT_STREQ(fake_->tagWrites[0].tag.title, "Beta");
    EXPECT_STREQ(fake_->tagWrites[0].tag.artist, "") << "an untagged file's other fields start empty";
    EXPECT_EQ(line(1), "<Title>\t\tBeta") << "the view reads the file again";

    // Playing: the open track, flag 1, and the caption follows the new title.
    selectRow(0);
    action("Play")->trigger();
    selectRow(2);
    writeField(1, "Alpha Prime");
    expectWrite(1, a_, 1);
    EXPECT_EQ(window_->windowTitle(), "Alpha Prime");
    EXPECT_EQ(window_->applicationTitle(), "Alpha Prime");

    // Stopped, another entry selected: that entry, flag 0, the caption stays.
    action("Stop")->trigger();
    returnWithSelection(-1);
    writeField(1, "Gamma Prime");
    expectWrite(2, c_, 0);
    EXPECT_EQ(window_->windowTitle(), "Alpha Prime");

    // Stopped, the open entry itself selected: the view read it as the open
    // track, and the write tells the library so.
    returnWithSelection(0);
    writeField(1, "Alpha Again");
    expectWrite(3, a_, 1);
    EXPECT_EQ(window_->windowTitle(), "Alpha Again");
}

TEST_F(TagPageTest, AWriteToTheOpenTrackReadsItsTypeAgainForTheCaption)
{
    startWithThreeTracks();
    showTagPage();
    action("Play")->trigger();
    writeField(1, "");
    expectWrite(0, a_, 1);
    EXPECT_EQ(window_->windowTitle(), "a.mp3") << "an empty title gives the file name";

    selectRow(1);
    action("Play")->trigger(); // b, without a tag: the caption is its file name
    EXPECT_EQ(window_->playState(), 2);
    writeField(1, "Beta");
    expectWrite(1, b_, 1);
    EXPECT_EQ(window_->playState(), 18) << "the file has a tag now";
    EXPECT_EQ(window_->windowTitle(), "Beta");
}

TEST_F(TagPageTest, PasteGivesTheValueLastWrittenToTheField)
{
    startWithThreeTracks();
    showTagPage();
    indicate(5);
    EXPECT_FALSE(pasteButton()->isEnabled()) << "no genre written yet";
    writeField(4, "1999"); // to a
    EXPECT_EQ(line(4), "<Year>\t\t1999");
    indicate(5);
    EXPECT_FALSE(pasteButton()->isEnabled());

    returnWithSelection(2);
    indicate(4);
    EXPECT_EQ(edit1()->text(), "1980");
    ASSERT_TRUE(pasteButton()->isEnabled());
    pasteButton()->click();
    EXPECT_EQ(edit1()->text(), "1999");
    EXPECT_TRUE(editButton()->isEnabled());
    editButton()->click();
    expectWrite(1, c_, 0);
    EXPECT_STREQ(fake_->tagWrites[1].tag.year, "1999");
    EXPECT_STREQ(fake_->tagWrites[1].tag.title, "Gamma") << "the other fields as read";

    indicate(5);
    genres()->setCurrentIndex(14);
    editButton()->click();
    returnWithSelection(0);
    indicate(5);
    ASSERT_TRUE(pasteButton()->isEnabled());
    pasteButton()->click();
    EXPECT_EQ(genres()->currentIndex(), 14);
    EXPECT_TRUE(editButton()->isEnabled());
}

TEST_F(TagPageTest, AWriteFromAViewThePlayStateHasLeftWritesNothing)
{
    startWithThreeTracks();
    showTagPage();
    selectRow(0);
    action("Play")->trigger(); // the view shows a, read as the open track
    indicate(1);
    edit1()->setText("Meant for a");
    // A click in the list and a toolbar Stop, with no refresh of the view:
    // the entry now chosen is c, read from its file.
    selectRow(2);
    action("Stop")->trigger();
    editButton()->click();
    EXPECT_EQ(tagWrites(), 0);
    EXPECT_EQ(line(1), "<Title>\t\tGamma") << "the press brought the view up to date";
    EXPECT_FALSE(edit1()->isEnabled());
}

TEST_F(TagPageTest, AFailedWriteIsSaid)
{
    startWithThreeTracks();
    showTagPage();
    fake_->tagWritesFail = true;
    writeField(1, "Never");
    EXPECT_EQ(dialogs_.errors(), QStringList({"The tag could not be written to \"a.mp3\"."}));
    EXPECT_EQ(line(1), "<Title>\t\tAlpha");
    indicate(1);
    EXPECT_FALSE(pasteButton()->isEnabled()) << "a value that was not written is not remembered";
}

TEST_F(TagPageTest, RenamingKeepsDirectoryAndExtensionAndTheEntryInPlace)
{
    a_ = addTrack("music/a.mp3", taggedTrack("Alpha"));
    const QString upper = addTrack("music/Loud.MP3", taggedTrack("Loud"));
    writePlaylist({a_, a_, upper});
    start();
    returnWithSelection(2);
    indicate(15);
    ASSERT_TRUE(edit1()->isEnabled());
    EXPECT_EQ(edit1()->text(), "Loud");
    EXPECT_EQ(edit1()->maxLength(), 251);
    EXPECT_FALSE(editButton()->isEnabled());
    EXPECT_FALSE(pasteButton()->isEnabled());
    edit1()->setText("Lo:ud");
    EXPECT_TRUE(editButton()->isEnabled());
    editButton()->click();

    const QString renamed = homePath("music/Loud.MP3");
    EXPECT_TRUE(QFileInfo::exists(renamed)) << "the colon went: the same name, nothing renamed";
    indicate(15);
    edit1()->setText("Qu:iet");
    editButton()->click();
    const QString quiet = homePath("music/Quiet.MP3");
    EXPECT_TRUE(QFileInfo::exists(quiet));
    EXPECT_FALSE(QFileInfo::exists(renamed));
    QListView* list = playlistView();
    EXPECT_EQ(list->model()->index(2, 0).data().toString(), quiet);
    EXPECT_TRUE(list->selectionModel()->isRowSelected(2, {})) << "still selected";
    EXPECT_EQ(list->selectionModel()->currentIndex().row(), 2);
    EXPECT_EQ(window_->currentIndex(), 0);
    fake_->tracks[quiet.toStdString()] = taggedTrack("Loud");
    returnWithSelection(-1);
    EXPECT_EQ(line(15), "<FileName>\tQuiet.MP3");
}

TEST_F(TagPageTest, TheOpenTracksFileIsNeverRenamed)
{
    startWithThreeTracks();
    showTagPage();
    action("Play")->trigger();
    indicate(15);
    EXPECT_FALSE(edit1()->isEnabled()) << "playing";

    action("Stop")->trigger();
    returnWithSelection(-1);
    indicate(15);
    EXPECT_FALSE(edit1()->isEnabled()) << "stopped, its own line";

    returnWithSelection(1);
    indicate(15);
    ASSERT_TRUE(edit1()->isEnabled()) << "stopped, another entry";
    edit1()->setText("renamed");
    // Before "Edit", with no refresh of the view: a click on the open entry and Play.
    selectRow(0);
    action("Play")->trigger();
    ASSERT_TRUE(editButton()->isEnabled());
    editButton()->click();
    EXPECT_TRUE(QFileInfo::exists(b_));
    EXPECT_FALSE(QFileInfo::exists(homePath("music/renamed.mp3")));
}

} // namespace
} // namespace nuvo::test
