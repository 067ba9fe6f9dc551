#include "playlist/PlaylistModel.h"

namespace nuvo {

int PlaylistModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant PlaylistModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return paths_.at(index.row());
    return {};
}

void PlaylistModel::append(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    beginInsertRows(QModelIndex(), count(), count() + static_cast<int>(paths.size()) - 1);
    paths_ += paths;
    endInsertRows();
}

void PlaylistModel::replaceAll(const QStringList& paths)
{
    beginResetModel();
    paths_ = paths;
    endResetModel();
}

void PlaylistModel::replacePath(int row, const QString& path)
{
    paths_[row] = path;
    const QModelIndex at = index(row);
    emit dataChanged(at, at, {Qt::DisplayRole, Qt::ToolTipRole});
}

void PlaylistModel::moveToNeighbour(int from, int to)
{
    if (from < 0 || to < 0 || from >= count() || to >= count() || (to != from - 1 && to != from + 1))
        return;
    // The row goes before destination: past its neighbour when moving down.
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    paths_.move(from, to);
    endMoveRows();
}

void PlaylistModel::setCurrentIndex(int row)
{
    if (row == currentIndex_)
        return;
    const int old = currentIndex_;
    currentIndex_ = row;
    repaint(old);
    repaint(row);
}

void PlaylistModel::repaint(int row)
{
    if (row < 0 || row >= count())
        return;
    const QModelIndex at = index(row);
    emit dataChanged(at, at, {Qt::ForegroundRole, Qt::BackgroundRole});
}

} // namespace nuvo
