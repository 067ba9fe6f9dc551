// Reading the playlist view's selection.
#pragma once

class QListView;

namespace nuvo {

bool hasSelection(const QListView& view);
// The focused entry (the list's item index), else the first selected one, else -1.
int focusedIndex(const QListView& view);

} // namespace nuvo
