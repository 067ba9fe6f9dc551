// Paints playlist entries: the current entry in the Played/Standby colour,
// selected entries inverted (window text colour behind window colour text).
#pragma once

#include <QColor>
#include <QStyledItemDelegate>

namespace nuvo {

class PlaylistModel;

class PlaylistDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    PlaylistDelegate(const PlaylistModel& model, QObject* parent);

    void setCurrentColor(const QColor& color) { currentColor_ = color; }
    QColor currentColor() const { return currentColor_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    struct Colors {
        QColor background;
        QColor text;
    };
    // The colours of one entry, from its selected state and whether it is current.
    Colors colorsFor(bool selected, bool current, const QPalette& palette) const;

private:
    const PlaylistModel& model_;
    QColor currentColor_;
};

inline constexpr int kPlaylistItemHeight = 12;

} // namespace nuvo
