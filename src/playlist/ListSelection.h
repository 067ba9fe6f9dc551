// Reading and setting the playlist view's selection.
#pragma once

#include <vector>

class QListView;

namespace nuvo {

bool hasSelection(const QListView& view);
// The focused entry (the list's item index), else the first selected one, else -1.
int focusedIndex(const QListView& view);
// One flag per entry of a list of count entries: selected or not. Read from
// the selection's ranges, so a selection of every other entry of a long list
// costs no more than a block of the same size.
std::vector<bool> selectedRows(const QListView& view, int count);
// Only this entry selected, focused and scrolled into view.
void selectOnly(QListView& view, int row);

} // namespace nuvo
