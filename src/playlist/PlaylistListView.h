// The playlist's list view. It has no type-ahead: letters typed in the list
// must not move its focus (the window's letter keys are commands).
#pragma once

#include <QListView>

namespace nuvo {

class PlaylistListView : public QListView {
    Q_OBJECT
public:
    using QListView::QListView;

    void keyboardSearch(const QString&) override {}
};

} // namespace nuvo
