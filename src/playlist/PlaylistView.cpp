#include "playlist/PlaylistView.h"

#include "app/PlayerState.h"
#include "app/Settings.h"
#include "app/TextFile.h"
#include "app/WindowSteps.h"
#include "playlist/PlaylistDelegate.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QFileInfo>

namespace nuvo {

PlaylistView::PlaylistView(const AreaContext& context, QObject* parent) : QObject(parent), context_(context)
{
    QListView* view = context_.ui.ListBox1;
    delegate_ = new PlaylistDelegate(context_.playlist, context_.state.options.colours.played, this);
    view->setModel(&context_.playlist);
    view->setItemDelegate(delegate_);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
        context_.ui.PopupMenu2->popup(view->viewport()->mapToGlobal(at));
    });

    // The selection commands follow every change of the list and its selection,
    // a move of the focused entry included.
    const auto refresh = [this] { context_.steps.refreshSelectionCommands(); };
    QItemSelectionModel* selection = view->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this, refresh);
    connect(selection, &QItemSelectionModel::currentChanged, this, refresh);
    connect(&context_.playlist, &QAbstractItemModel::rowsInserted, this, refresh);
    connect(&context_.playlist, &QAbstractItemModel::rowsRemoved, this, refresh);
    connect(&context_.playlist, &QAbstractItemModel::rowsMoved, this, refresh);
    connect(&context_.playlist, &QAbstractItemModel::layoutChanged, this, refresh);
    connect(&context_.playlist, &QAbstractItemModel::modelReset, this, refresh);
}

void PlaylistView::restoreSavedList(const QString& path)
{
    if (QFileInfo::exists(path))
        context_.playlist.replaceAll(readTextLines(path));
}

void PlaylistView::restore(const Settings& s)
{
    // A stored position outside the restored list would name no entry.
    const int count = context_.playlist.count();
    context_.playlist.setCurrentIndex(s.ready >= 0 && s.ready < count ? s.ready : 0);
}

void PlaylistView::collect(Settings& s) const
{
    s.ready = context_.playlist.currentIndex();
}

void PlaylistView::showCount()
{
    context_.ui.Label3->setText(QStringLiteral("/%1").arg(context_.playlist.count()));
}

void PlaylistView::focusEntry(int index)
{
    const QModelIndex at = context_.playlist.index(index);
    if (!at.isValid())
        return;
    // Focus and scroll only: the selection stays as the user left it.
    context_.ui.ListBox1->selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    context_.ui.ListBox1->scrollTo(at);
}

} // namespace nuvo
