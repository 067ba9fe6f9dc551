// Rows of a check list as small as what they hold: a line of text, and a
// check mark where the row can be checked. So the eighteen lines of the
// option and engine lists fit the designed window without scrolling.
#pragma once

#include <QStyledItemDelegate>

class QListWidget;

namespace nuvo {

class CheckListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Gives the list this delegate, owned by the list (whose rows must not be uniform).
    static void install(QListWidget& list);
};

} // namespace nuvo
