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
    // currentColor is the Played/Standby colour as the option page keeps it.
    PlaylistDelegate(const PlaylistModel& model, const QColor& currentColor, QObject* parent);

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
    const QColor& currentColor_;
};

inline constexpr int kPlaylistItemHeight = 12;

} // namespace nuvo
