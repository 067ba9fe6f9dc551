// The playlist's shared steps: counters, the list file binding, the list
// view's selection, and the playlist's share of start-up.
#include "app/MainWindow.h"

#include "app/ProgramFiles.h"
#include "app/TextFile.h"
#include "playlist/DirectoryScan.h"
#include "playlist/ListFileReader.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QFileInfo>

namespace nuvo {

void MainWindow::showCount()
{
    ui_->Label3->setText(QStringLiteral("/%1").arg(playlist_->count()));
}

void MainWindow::markListChanged()
{
    if (!listOpened_ || listChanged_)
        return;
    setListFileCommandsEnabled(true);
    listChanged_ = true;
}

void MainWindow::bindListFile(const QString& path)
{
    openedListPath_ = path;
    setStatusText(3, QStringLiteral(" ") + fileNamePart(path));
    listOpened_ = true;
}

void MainWindow::loadSavedPlaylist()
{
    const QString path = programFile(kPlaylistFile);
    // The file is the playlist as it was left: every line is an entry again.
    if (QFileInfo::exists(path))
        playlist_->replaceAll(readTextLines(path));
}

void MainWindow::takeCommandLine()
{
    const QStringList& arguments = context_.arguments;
    if (arguments.isEmpty())
        return;
    bool bound = false;
    const int saved = playlist_->currentIndex();
    playlist_->setCurrentIndex(playlist_->count());

    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        QString trimmed = argument;
        if (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
            trimmed.chop(1);
        const QString path = resolveLongPath(trimmed, context_.currentDirectory);
        const QFileInfo info(path);
        if (info.isDir() || !info.exists()) {
            // A name that is nothing on disk scans as an empty folder: it adds nothing.
            playlist_->append(scanDirectory(path));
        } else if (isTrackPath(path)) {
            playlist_->append({path});
        } else if (isListPath(path)) {
            if (arguments.size() == 1 && playlist_->isEmpty() && !listOpened_) {
                bindListFile(path);
                bound = true;
            }
            playlist_->append(readListFile(path));
        }
    }

    if (playlist_->currentIndex() < playlist_->count()) {
        sendVolume();
        startWithFallThrough(Direction::Automatic);
        // A list bound in the last run no longer matches its file.
        if (!bound)
            markListChanged();
    } else {
        playlist_->setCurrentIndex(saved);
    }
}

bool MainWindow::hasSelection() const
{
    return ui_->ListBox1->selectionModel()->hasSelection();
}

int MainWindow::focusedIndex() const
{
    const QModelIndex focused = ui_->ListBox1->selectionModel()->currentIndex();
    if (focused.isValid())
        return focused.row();
    const QModelIndexList selected = ui_->ListBox1->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void MainWindow::setFocusedIndex(int index)
{
    const QModelIndex at = playlist_->index(index);
    if (!at.isValid())
        return;
    // Focus and scroll only: the selection stays as the user left it.
    ui_->ListBox1->selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    ui_->ListBox1->scrollTo(at);
}

} // namespace nuvo
