#include "app/CheckListDelegate.h"

#include <QApplication>
#include <QListWidget>
#include <QStyle>

#include <algorithm>

namespace nuvo {

QSize CheckListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The style's own width (text, check mark and margins); the height without its margins.
    const QSize styled = QStyledItemDelegate::sizeHint(option, index);
    int height = option.fontMetrics.height();
    if (index.data(Qt::CheckStateRole).isValid()) {
        const QWidget* widget = option.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        height = std::max(height, style->pixelMetric(QStyle::PM_IndicatorHeight, &option, widget));
    }
    return {styled.width(), height};
}

void CheckListDelegate::install(QListWidget& list)
{
    list.setItemDelegate(new CheckListDelegate(&list));
}

} // namespace nuvo
