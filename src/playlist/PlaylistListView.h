// The playlist's list view. It has no type-ahead: letters typed in the list
// must not move its focus (the window's letter keys are commands). A double
// click below the entries counts as much as one on an entry.
#pragma once

#include <QListView>
#include <QMouseEvent>

namespace nuvo {

class PlaylistListView : public QListView {
    Q_OBJECT
public:
    using QListView::QListView;

    void keyboardSearch(const QString&) override {}

signals:
    void emptyAreaDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

inline void PlaylistListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && !indexAt(event->position().toPoint()).isValid())
        emit emptyAreaDoubleClicked();
}

} // namespace nuvo
