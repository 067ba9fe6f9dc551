// Which commands can be used: the refreshes after additions, removals and
// selection changes, the navigation rule and the state at first show.
#include "app/MainWindow.h"

#include "playlist/PathRules.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

namespace nuvo {

namespace {

void setMenuEnabled(QMenu* menu, bool enabled)
{
    menu->setEnabled(enabled);
    menu->menuAction()->setEnabled(enabled);
}

} // namespace

void MainWindow::setListWideCommandsEnabled(bool enabled)
{
    ui_->Edit2->setEnabled(enabled);
    setMenuEnabled(ui_->SaveList1, enabled);
    ui_->SaveList->setEnabled(enabled);
    ui_->SaveListR->setEnabled(enabled);
    ui_->Clear->setEnabled(enabled);
    ui_->SweepIvld->setEnabled(enabled);
    ui_->Play->setEnabled(enabled);
}

void MainWindow::setSeveralEntriesCommandsEnabled(bool enabled)
{
    setMenuEnabled(ui_->Sort1, enabled);
    ui_->Sort->setEnabled(enabled);
    ui_->SortD->setEnabled(enabled);
    ui_->Shuffle->setEnabled(enabled);
    setMenuEnabled(ui_->RemoveDuplicate1, enabled);
    ui_->DuplicateP->setEnabled(enabled);
    ui_->DuplicateN->setEnabled(enabled);
}

void MainWindow::setListFileCommandsEnabled(bool enabled)
{
    setMenuEnabled(ui_->SaveList2, enabled);
    ui_->UpDateC->setEnabled(enabled);
    ui_->UpDateR->setEnabled(enabled && upperExtension(openedListPath_) == QLatin1String(".M3U"));
}

void MainWindow::applyNavigationRule()
{
    const int count = playlist_->count();
    const int current = playlist_->currentIndex();
    if (isOptionChecked(Option::All) && count >= 2) {
        ui_->Previous->setEnabled(true);
        ui_->Next->setEnabled(true);
        return;
    }
    ui_->Previous->setEnabled(current > 0);
    ui_->Next->setEnabled(current < count - 1);
}

void MainWindow::refreshAfterAdd(bool bound)
{
    if (playlist_->isEmpty())
        return;
    if (!bound)
        markListChanged();
    enableCommandsForEntries(NextAtEnd::Disable);
}

void MainWindow::refreshAfterRemove()
{
    if (playlist_->count() >= 2) {
        if (!isOptionChecked(Option::All))
            applyNavigationRule();
        return;
    }
    ui_->Previous->setEnabled(false);
    ui_->Next->setEnabled(false);
    setSeveralEntriesCommandsEnabled(false);
    if (playlist_->isEmpty()) {
        setListWideCommandsEnabled(false);
        ui_->Button1->setEnabled(false);
        ui_->PageControl1->setFocus();
    }
}

void MainWindow::refreshSelectionCommands()
{
    if (!hasSelection()) {
        ui_->Delete->setEnabled(false);
        ui_->ClearS->setEnabled(false);
        ui_->Up->setEnabled(false);
        ui_->Down->setEnabled(false);
        return;
    }
    const int focused = focusedIndex();
    ui_->Delete->setEnabled(true);
    ui_->ClearS->setEnabled(true);
    ui_->Up->setEnabled(focused > 0);
    ui_->Down->setEnabled(focused >= 0 && focused < playlist_->count() - 1);
}

void MainWindow::applyInitialAvailability()
{
    if (playlist_->isEmpty())
        return;
    if (playlist_->currentIndex() != 0)
        setFocusedIndex(playlist_->currentIndex());
    // The next pair is disabled by design, so the first show never disables it.
    enableCommandsForEntries(NextAtEnd::Keep);
}

void MainWindow::enableCommandsForEntries(NextAtEnd nextAtEnd)
{
    setListWideCommandsEnabled(true);
    ui_->Button1->setEnabled(!ui_->Edit2->text().isEmpty());
    if (playlist_->count() < 2)
        return;
    setSeveralEntriesCommandsEnabled(true);
    if (isOptionChecked(Option::All)) {
        ui_->Previous->setEnabled(true);
        ui_->Next->setEnabled(true);
        return;
    }
    if (playlist_->currentIndex() > 0)
        ui_->Previous->setEnabled(true);
    const bool nextFollows = playlist_->currentIndex() < playlist_->lastIndex();
    if (nextFollows || nextAtEnd == NextAtEnd::Disable)
        ui_->Next->setEnabled(nextFollows);
}

} // namespace nuvo
