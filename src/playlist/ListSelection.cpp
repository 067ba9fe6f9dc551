#include "playlist/ListSelection.h"

#include <QItemSelectionModel>
#include <QListView>

namespace nuvo {

bool hasSelection(const QListView& view)
{
    return view.selectionModel()->hasSelection();
}

int focusedIndex(const QListView& view)
{
    const QItemSelectionModel* selection = view.selectionModel();
    const QModelIndex focused = selection->currentIndex();
    if (focused.isValid())
        return focused.row();
    const QModelIndexList selected = selection->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

} // namespace nuvo
