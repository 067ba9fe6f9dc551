#include "playlist/FavouritesDialog.h"

#include "app/BusyCursor.h"
#include "app/Dialogs.h"
#include "app/WindowSteps.h"
#include "playlist/Duplicates.h"
#include "playlist/PathRules.h"
#include "ui_FavouritesDialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScreen>
#include <QSignalBlocker>
#include <QUrl>

namespace nuvo {

namespace {

QStringList localPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data)
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

TOKBottomDlg2::TOKBottomDlg2(FavouriteKind mode, const QStringList& entries, const WindowSteps& steps,
                             QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::OKBottomDlg2>()), mode_(mode), steps_(steps)
{
    ui_->setupUi(this);
    // A dialog is a window of its own and does not take the main window's font by itself.
    if (parent)
        setFont(parent->font());
    setFixedSize(size());

    const bool directories = mode == FavouriteKind::Directory;
    setWindowTitle(directories ? QStringLiteral("FavoriteDirectory") : QStringLiteral("FavoriteList"));
    ui_->Name1->setText(directories ? QStringLiteral("DirectoryName") : QStringLiteral("ListName"));
    ui_->Explore1->setText(directories ? QStringLiteral("SelectDirectory") : QStringLiteral("SelectList(s)"));
    ui_->ListBox1->addItems(entries);
    showCount();
    connectMenu();
    formShow();
}

TOKBottomDlg2::~TOKBottomDlg2() = default;

void TOKBottomDlg2::connectMenu()
{
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ui_->PopupMenu1->popup(mapToGlobal(at)); });
    const struct {
        QAction* item;
        void (TOKBottomDlg2::*handler)();
    } handlers[] = {
        {ui_->DeleteSelected1, &TOKBottomDlg2::deleteSelected1Click},
        {ui_->ClearAll1, &TOKBottomDlg2::clearAll1Click},
        {ui_->SweepInvalid1, &TOKBottomDlg2::sweepInvalid1Click},
        {ui_->RemoveDuplicate1, &TOKBottomDlg2::removeDuplicate1Click},
        {ui_->FullPath1, &TOKBottomDlg2::fullPath1Click},
        {ui_->Name1, &TOKBottomDlg2::name1Click},
        {ui_->MoveUpSelected1, &TOKBottomDlg2::moveUpSelected1Click},
        {ui_->MoveDownSelected1, &TOKBottomDlg2::moveDownSelected1Click},
        {ui_->Explore1, &TOKBottomDlg2::explore1Click},
    };
    for (const auto& h : handlers)
        connect(h.item, &QAction::triggered, this, h.handler);
    // A click or a key moves the selection and the focus; either refreshes the items.
    connect(ui_->ListBox1, &QListWidget::itemSelectionChanged, this, &TOKBottomDlg2::listBox1Click);
    connect(ui_->ListBox1, &QListWidget::currentRowChanged, this, &TOKBottomDlg2::listBox1Click);
}

void TOKBottomDlg2::formShow()
{
    setAcceptDrops(true);
    const int count = ui_->ListBox1->count();
    ui_->ClearAll1->setEnabled(count >= 1);
    ui_->SweepInvalid1->setEnabled(count >= 1);
    setSeveralEntriesItemsEnabled(count >= 2);
}

void TOKBottomDlg2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* shown = screen())
        move(shown->availableGeometry().center() - rect().center());
}

QStringList TOKBottomDlg2::entries() const
{
    QStringList texts;
    texts.reserve(ui_->ListBox1->count());
    for (int i = 0; i < ui_->ListBox1->count(); ++i)
        texts << ui_->ListBox1->item(i)->text();
    return texts;
}

void TOKBottomDlg2::replaceEntries(const QStringList& entries)
{
    const QSignalBlocker quiet(ui_->ListBox1);
    ui_->ListBox1->clear();
    ui_->ListBox1->addItems(entries);
}

void TOKBottomDlg2::appendEntries(const QStringList& entries)
{
    const QSignalBlocker quiet(ui_->ListBox1);
    ui_->ListBox1->addItems(entries);
}

void TOKBottomDlg2::showCount()
{
    const int count = ui_->ListBox1->count();
    ui_->Label1->setText(QString::number(count) + (count < 2 ? QStringLiteral(" Item") : QStringLiteral(" Items")));
}

void TOKBottomDlg2::setSeveralEntriesItemsEnabled(bool enabled)
{
    ui_->RemoveDuplicate1->setEnabled(enabled);
    ui_->Sort1->setEnabled(enabled);
    ui_->Sort1->menuAction()->setEnabled(enabled);
    ui_->FullPath1->setEnabled(enabled);
    ui_->Name1->setEnabled(enabled);
}

void TOKBottomDlg2::disableSelectionItems()
{
    ui_->DeleteSelected1->setEnabled(false);
    ui_->MoveUpSelected1->setEnabled(false);
    ui_->MoveDownSelected1->setEnabled(false);
}

void TOKBottomDlg2::deleteSelected1Click()
{
    const QList<QListWidgetItem*> selected = ui_->ListBox1->selectedItems();
    if (!selected.isEmpty()) {
        const QSignalBlocker quiet(ui_->ListBox1);
        qDeleteAll(selected);
    }
    disableSelectionItems();
    const int count = ui_->ListBox1->count();
    if (count <= 1)
        setSeveralEntriesItemsEnabled(false);
    if (count == 0) {
        ui_->ClearAll1->setEnabled(false);
        ui_->SweepInvalid1->setEnabled(false);
    }
    showCount();
}

void TOKBottomDlg2::clearAll1Click()
{
    replaceEntries({});
    showCount();
    disableSelectionItems();
    setSeveralEntriesItemsEnabled(false);
    ui_->ClearAll1->setEnabled(false);
    ui_->SweepInvalid1->setEnabled(false);
}

void TOKBottomDlg2::sweepInvalid1Click()
{
    {
        // Row by row, so the entries that stay keep their selection.
        const QSignalBlocker quiet(ui_->ListBox1);
        for (int i = ui_->ListBox1->count() - 1; i >= 0; --i) {
            if (!favouriteExists(mode_, ui_->ListBox1->item(i)->text()))
                delete ui_->ListBox1->takeItem(i);
        }
    }
    listBox1Click();
    const int count = ui_->ListBox1->count();
    if (count <= 1) {
        setSeveralEntriesItemsEnabled(false);
        ui_->MoveUpSelected1->setEnabled(false);
        ui_->MoveDownSelected1->setEnabled(false);
    }
    if (count == 0) {
        ui_->ClearAll1->setEnabled(false);
        ui_->SweepInvalid1->setEnabled(false);
    }
    showCount();
}

void TOKBottomDlg2::removeDuplicate1Click()
{
    const QStringList all = entries();
    QStringList kept;
    for (const int i : keptAfterRemovingDuplicates(all, DuplicateKey::FullPath))
        kept << all.at(i);
    replaceEntries(kept);
    disableSelectionItems();
    if (kept.size() < 2)
        setSeveralEntriesItemsEnabled(false);
    showCount();
}

void TOKBottomDlg2::fullPath1Click()
{
    replaceEntries(sortedByFullPath(entries()));
    disableSelectionItems();
    showCount();
}

void TOKBottomDlg2::name1Click()
{
    replaceEntries(sortedByName(mode_, entries()));
    disableSelectionItems();
    showCount();
}

void TOKBottomDlg2::moveUpSelected1Click()
{
    moveFocused(-1);
}

void TOKBottomDlg2::moveDownSelected1Click()
{
    moveFocused(1);
}

// Moves the focused entry one place, whatever else is selected; it stays
// focused and selected, so pressing again moves it on.
void TOKBottomDlg2::moveFocused(int step)
{
    QListWidget* list = ui_->ListBox1;
    const int from = list->currentRow();
    const int to = from + step;
    if (!list->selectionModel()->hasSelection() || from < 0 || to < 0 || to >= list->count())
        return;
    {
        const QSignalBlocker quiet(list);
        QListWidgetItem* item = list->takeItem(from);
        list->insertItem(to, item);
        list->setCurrentRow(to, QItemSelectionModel::Select);
    }
    if (step < 0) {
        ui_->MoveDownSelected1->setEnabled(true);
        if (to == 0)
            ui_->MoveUpSelected1->setEnabled(false);
    } else {
        ui_->MoveUpSelected1->setEnabled(true);
        if (to == list->count() - 1)
            ui_->MoveDownSelected1->setEnabled(false);
    }
    showCount();
}

void TOKBottomDlg2::explore1Click()
{
    QStringList chosen;
    if (mode_ == FavouriteKind::Directory) {
        const QString directory = dialogs().existingDirectory(this, QStringLiteral("SelectDirectory"), QString());
        if (!directory.isEmpty())
            chosen << directory;
    } else {
        FileDialogRequest request;
        request.caption = QStringLiteral("SelectList(s)");
        request.nameFilters = {listFileFilter()};
        chosen = dialogs().openFiles(this, request).files;
    }
    // The window closed for the session meanwhile: the editor goes with it.
    if (steps_.windowClosed()) {
        reject();
        return;
    }
    appendEntries(chosen);
    showCount();
    updateEditMenu();
}

void TOKBottomDlg2::listBox1Click()
{
    const QListWidget* list = ui_->ListBox1;
    const bool selected = list->selectionModel()->hasSelection();
    const int focused = list->currentRow();
    ui_->DeleteSelected1->setEnabled(selected);
    ui_->MoveUpSelected1->setEnabled(selected && focused > 0);
    ui_->MoveDownSelected1->setEnabled(selected && focused >= 0 && focused < list->count() - 1);
}

void TOKBottomDlg2::updateEditMenu()
{
    const QListWidget* list = ui_->ListBox1;
    const int count = list->count();
    if (count < 1)
        return;
    ui_->ClearAll1->setEnabled(true);
    ui_->SweepInvalid1->setEnabled(true);
    if (count < 2)
        return;
    setSeveralEntriesItemsEnabled(true);
    const QListWidgetItem* focused = list->currentItem();
    if (focused && focused->isSelected() && list->currentRow() < count - 1)
        ui_->MoveDownSelected1->setEnabled(true);
}

void TOKBottomDlg2::handleDropFiles(const QStringList& paths)
{
    activateWindow();
    raise();
    QStringList added;
    {
        // A dropped folder of list files is searched all the way down.
        const BusyCursor busy;
        for (const QString& path : paths)
            added << favouritesFromDrop(mode_, path);
    }
    appendEntries(added);
    showCount();
    updateEditMenu();
}

void TOKBottomDlg2::dragEnterEvent(QDragEnterEvent* event)
{
    if (!localPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TOKBottomDlg2::dropEvent(QDropEvent* event)
{
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    handleDropFiles(paths);
}

} // namespace nuvo
