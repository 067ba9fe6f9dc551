#include "playlist/ListEditing.h"

#include "app/Availability.h"
#include "app/Options.h"
#include "app/PlayerState.h"
#include "app/WindowSteps.h"
#include "playlist/ListSelection.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QFileInfo>

namespace nuvo {

namespace {

// The wait cursor while a command asks the file system about every entry.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

} // namespace

ListEditing::ListEditing(const AreaContext& context, QObject* parent) : QObject(parent), context_(context)
{
    Ui::Form1& ui = context_.ui;
    connect(ui.Delete, &QAction::triggered, this, &ListEditing::deleteExecute);
    connect(ui.Clear, &QAction::triggered, this, &ListEditing::clearExecute);
    connect(ui.ClearS, &QAction::triggered, this, &ListEditing::clearSExecute);
    connect(ui.SweepIvld, &QAction::triggered, this, &ListEditing::sweepIvldExecute);
    connect(ui.DuplicateP, &QAction::triggered, this, &ListEditing::duplicatePExecute);
    connect(ui.DuplicateN, &QAction::triggered, this, &ListEditing::duplicateNExecute);
    connect(ui.Sort, &QAction::triggered, this, &ListEditing::sortExecute);
    connect(ui.SortD, &QAction::triggered, this, &ListEditing::sortDExecute);
    connect(ui.Shuffle, &QAction::triggered, this, &ListEditing::shuffleExecute);
    connect(ui.Up, &QAction::triggered, this, &ListEditing::upExecute);
    connect(ui.Down, &QAction::triggered, this, &ListEditing::downExecute);
}

void ListEditing::deleteExecute()
{
    PlaylistModel& playlist = context_.playlist;
    if (!hasSelection(*context_.ui.ListBox1))
        return;
    const std::vector<bool> selected = selectedRows(*context_.ui.ListBox1, playlist.count());
    const int current = playlist.currentIndex();
    QStringList kept;
    kept.reserve(playlist.count());
    int removedBeforeCurrent = 0;
    for (int i = 0; i < playlist.count(); ++i) {
        if (!selected[static_cast<std::size_t>(i)])
            kept.append(playlist.path(i));
        else if (i < current)
            ++removedBeforeCurrent;
    }

    const bool currentRemoved = current >= 0 && current < playlist.count() && selected[static_cast<std::size_t>(current)];
    if (currentRemoved) {
        // Without an open track the position label keeps its text.
        if (!refillWithoutCurrent(kept))
            context_.steps.showCount();
    } else {
        refill(kept, current - removedBeforeCurrent);
        if (trackOpen())
            showPosition();
        context_.steps.showCount();
    }
    context_.steps.refreshAfterRemove();
    refreshSelectionOffFileList();
    refreshTagViewOnTagPage(context_.ui, context_.steps);
    context_.steps.markListChanged();
}

void ListEditing::clearExecute()
{
    if (context_.playlist.isEmpty())
        return;
    refillWithoutCurrent({});
    if (context_.ui.PageControl1->currentIndex() == kTagEditPage)
        context_.steps.showTagInfo();
    context_.steps.showCount();
    // With the list empty these leave off every command that needs entries.
    context_.steps.refreshSelectionCommands();
    context_.steps.refreshAfterRemove();
    context_.steps.unbindListFile();
    context_.ui.PageControl1->setFocus();
}

void ListEditing::clearSExecute()
{
    QListView& view = *context_.ui.ListBox1;
    if (!hasSelection(view))
        return;
    view.clearSelection();
    context_.steps.focusEntry(context_.playlist.currentIndex());
    refreshSelectionOffFileList();
}

void ListEditing::sweepIvldExecute()
{
    PlaylistModel& playlist = context_.playlist;
    if (playlist.isEmpty())
        return;
    const int oldCount = playlist.count();
    context_.ui.ListBox1->clearSelection();

    const int current = playlist.currentIndex();
    QStringList kept;
    kept.reserve(oldCount);
    int removedBeforeCurrent = 0;
    bool currentRemoved = false;
    {
        const BusyCursor busy;
        for (int i = 0; i < oldCount; ++i) {
            const QString& path = playlist.path(i);
            if (fileExists(path))
                kept.append(path);
            else if (i < current)
                ++removedBeforeCurrent;
            else if (i == current)
                currentRemoved = true;
        }
    }

    if (kept.size() < oldCount) {
        // The open track plays on even when its entry went: the position
        // then names the first entry and the label reads "0".
        const int newCurrent = currentRemoved ? 0 : current - removedBeforeCurrent;
        refill(kept, newCurrent);
        if (currentRemoved)
            context_.ui.Label2->setText(QStringLiteral("0"));
        else if (removedBeforeCurrent > 0)
            context_.ui.Label2->setText(QString::number(newCurrent + 1));
        context_.steps.showCount();
    } else {
        context_.steps.focusEntry(current);
    }
    finishRemoval(oldCount);
}

void ListEditing::duplicatePExecute()
{
    removeDuplicates(DuplicateKey::FullPath);
}

void ListEditing::duplicateNExecute()
{
    removeDuplicates(DuplicateKey::FileName);
}

void ListEditing::removeDuplicates(DuplicateKey key)
{
    PlaylistModel& playlist = context_.playlist;
    if (playlist.count() < 2)
        return;
    const int oldCount = playlist.count();
    const QString currentPath = playlist.path(playlist.currentIndex());
    const QStringList kept = entriesAt(keptAfterRemovingDuplicates(playlist.paths(), key));

    // The same text only: on Linux "/A.mp3" and "/a.mp3" are two files.
    const int newCurrent = static_cast<int>(kept.indexOf(currentPath));
    if (newCurrent < 0) {
        if (!refillWithoutCurrent(kept)) {
            context_.ui.Label2->setText(QStringLiteral("0"));
            context_.steps.showCount();
        }
    } else {
        refill(kept, newCurrent);
        showPosition();
        context_.steps.showCount();
    }
    finishRemoval(oldCount);
}

void ListEditing::sortExecute()
{
    sortList(SortOrder::Ascending);
}

void ListEditing::sortDExecute()
{
    sortList(SortOrder::Descending);
}

void ListEditing::sortList(SortOrder order)
{
    PlaylistModel& playlist = context_.playlist;
    if (playlist.count() < 2)
        return;
    const QString currentPath = playlist.path(playlist.currentIndex());
    const QStringList sorted = sortedEntries(playlist.paths(), order, QLocale());
    if (sorted != playlist.paths())
        context_.steps.markListChanged();
    // The same text only, as after removing duplicates.
    refill(sorted, static_cast<int>(sorted.indexOf(currentPath)));
    showPosition();
    context_.steps.refreshAfterRemove();
    refreshSelectionOffFileList();
}

void ListEditing::shuffleExecute()
{
    PlaylistModel& playlist = context_.playlist;
    if (playlist.count() < 2)
        return;
    const QStringList shuffled = entriesAt(shuffledOrder(playlist.count(), playlist.currentIndex(), context_.random));
    if (shuffled != playlist.paths())
        context_.steps.markListChanged();
    // The current entry went first, so playback goes on undisturbed.
    refill(shuffled, 0);
    showPosition();
    context_.steps.refreshAfterRemove();
    refreshSelectionOffFileList();
}

void ListEditing::upExecute()
{
    moveFocusedEntry(-1);
}

void ListEditing::downExecute()
{
    moveFocusedEntry(+1);
}

// The focused entry moves one place, whatever else is selected; the current
// entry follows it, or steps aside when it is the neighbour passed.
void ListEditing::moveFocusedEntry(int step)
{
    PlaylistModel& playlist = context_.playlist;
    QListView& view = *context_.ui.ListBox1;
    if (!hasSelection(view))
        return;
    const int from = focusedIndex(view);
    const int to = from + step;
    if (from < 0 || to < 0 || to >= playlist.count())
        return;

    const int current = playlist.currentIndex();
    int newCurrent = current;
    if (from == current)
        newCurrent = to;
    else if (to == current)
        newCurrent = current - step;
    followCurrentWithNavigation(current, newCurrent);

    playlist.moveToNeighbour(from, to);
    playlist.setCurrentIndex(newCurrent);
    // Selected at its new place and focused, so the next press moves it on.
    view.selectionModel()->setCurrentIndex(playlist.index(to), QItemSelectionModel::Select);
    view.scrollTo(playlist.index(to));
    if (trackOpen())
        showPosition();
    refreshSelectionOffFileList();
    context_.steps.markListChanged();
}

void ListEditing::followCurrentWithNavigation(int oldCurrent, int newCurrent)
{
    if (newCurrent == oldCurrent || isOptionChecked(context_.ui, Option::All))
        return;
    Availability& availability = context_.availability;
    if (newCurrent < oldCurrent) {
        if (newCurrent == 0)
            availability.enablePrevious(false);
        availability.enableNext(true);
    } else {
        availability.enablePrevious(true);
        if (newCurrent == context_.playlist.lastIndex())
            availability.enableNext(false);
    }
}

void ListEditing::refill(const QStringList& entries, int current)
{
    context_.playlist.replaceAll(entries);
    context_.playlist.setCurrentIndex(current);
    context_.steps.focusEntry(current);
}

bool ListEditing::refillWithoutCurrent(const QStringList& entries)
{
    const bool wasOpen = trackOpen();
    if (wasOpen)
        context_.steps.releaseCurrentTrack();
    refill(entries, 0);
    if (wasOpen)
        context_.steps.resetClosedDisplay();
    return wasOpen;
}

QStringList ListEditing::entriesAt(const std::vector<int>& rows) const
{
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(rows.size()));
    for (int row : rows)
        entries.append(context_.playlist.path(row));
    return entries;
}

// The closing steps of a command that may have removed entries.
void ListEditing::finishRemoval(int oldCount)
{
    refreshSelectionOffFileList();
    context_.steps.refreshAfterRemove();
    if (context_.playlist.count() < oldCount)
        context_.steps.markListChanged();
    refreshTagViewOnTagPage(context_.ui, context_.steps);
}

void ListEditing::showPosition()
{
    context_.ui.Label2->setText(trackOpen() ? QString::number(context_.playlist.currentIndex() + 1)
                                            : QStringLiteral("0"));
}

void ListEditing::refreshSelectionOffFileList()
{
    // On the list's own page the view's repaint does it.
    if (context_.ui.PageControl1->currentIndex() != kFileListPage)
        context_.steps.refreshSelectionCommands();
}

bool ListEditing::trackOpen() const
{
    return context_.state.playback.trackOpen();
}

} // namespace nuvo
