#include "playlist/PlaylistDelegate.h"

#include "playlist/PlaylistModel.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace nuvo {

PlaylistDelegate::PlaylistDelegate(const PlaylistModel& model, const QColor& currentColor, QObject* parent)
    : QStyledItemDelegate(parent), model_(model), currentColor_(currentColor)
{
}

PlaylistDelegate::Colors PlaylistDelegate::colorsFor(bool selected, bool current,
                                                     const QPalette& palette) const
{
    const QColor window = palette.color(QPalette::Base);
    const QColor windowText = palette.color(QPalette::Text);
    if (selected)
        return {current ? currentColor_ : windowText, window};
    return {window, current ? currentColor_ : windowText};
}

void PlaylistDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const Colors colors = colorsFor(selected, model_.isCurrent(index.row()), option.palette);

    painter->save();
    painter->fillRect(option.rect, colors.background);
    painter->setClipRect(option.rect);
    painter->setPen(colors.text);
    painter->setFont(option.font);
    const QRect textRect = option.rect.adjusted(2, 0, 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      model_.path(index.row()));
    painter->restore();

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor = colors.background;
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

QSize PlaylistDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    // Twelve pixels as designed, or the font's height where it needs more.
    return {option.rect.width(), std::max(kPlaylistItemHeight, option.fontMetrics.height())};
}

} // namespace nuvo
