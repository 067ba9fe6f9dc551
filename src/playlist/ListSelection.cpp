#include "playlist/ListSelection.h"

#include <QItemSelectionModel>
#include <QListView>

#include <algorithm>

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
    // The first selected row from the ranges: asking for the selected rows
    // themselves takes quadratic time on a scattered selection.
    int first = -1;
    for (const QItemSelectionRange& range : selection->selection()) {
        if (first < 0 || range.top() < first)
            first = range.top();
    }
    return first;
}

std::vector<bool> selectedRows(const QListView& view, int count)
{
    std::vector<bool> rows(static_cast<std::size_t>(std::max(count, 0)));
    for (const QItemSelectionRange& range : view.selectionModel()->selection()) {
        const int last = std::min(range.bottom(), count - 1);
        for (int row = std::max(range.top(), 0); row <= last; ++row)
            rows[static_cast<std::size_t>(row)] = true;
    }
    return rows;
}

void selectOnly(QListView& view, int row)
{
    const QModelIndex at = view.model()->index(row, 0);
    if (!at.isValid())
        return;
    view.selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    view.scrollTo(at);
}

} // namespace nuvo
