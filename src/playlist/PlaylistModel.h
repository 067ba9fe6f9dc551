// The playlist: the one copy of the paths the player works through, and the
// index of the entry that plays or stands by. The list view shows it as is.
#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace nuvo {

class PlaylistModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int count() const { return static_cast<int>(paths_.size()); }
    bool isEmpty() const { return paths_.isEmpty(); }
    int lastIndex() const { return count() - 1; }
    const QString& path(int row) const { return paths_.at(row); }
    const QStringList& paths() const { return paths_; }

    // Appends in one block, so even a huge list arrives with one view update.
    void append(const QStringList& paths);
    void replaceAll(const QStringList& paths);
    // A new path for one entry (its file was renamed): position, selection and current index stay.
    void replacePath(int row, const QString& path);
    // Moves one entry to its neighbour's place; the view's selection and
    // focus go with the entries they were on.
    void moveToNeighbour(int from, int to);

    // The entry that plays or stands by; 0 for an empty list. Moving it
    // repaints the old and the new entry.
    int currentIndex() const { return currentIndex_; }
    void setCurrentIndex(int row);
    bool isCurrent(int row) const { return row == currentIndex_; }
    // Repaints one entry (after a colour change, say).
    void repaint(int row);

private:
    QStringList paths_;
    int currentIndex_ = 0;
};

} // namespace nuvo
