// Paints the tag view's lines: the text after a label's tabs begins at a tab
// stop of a grid of 27 dialog units of the view's font, the same one for
// every line (the second), so the values stand in one column whatever the
// font's letter widths; a label wider than that moves its value to the next
// stop after it.
#pragma once

#include <QStyledItemDelegate>

namespace nuvo {

class TagLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // 27 dialog units: a dialog unit is a quarter of the font's average character width.
    static qreal tabStopDistance(const QFont& font);
    // Where the text after the tabs of a line begins; -1 for a line without a tab.
    static qreal valueOffset(const QString& line, const QFont& font);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace nuvo
