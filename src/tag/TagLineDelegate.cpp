#include "tag/TagLineDelegate.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace nuvo {

namespace {

constexpr int kTabStopDialogUnits = 27;
constexpr int kValueStop = 2;

} // namespace

qreal TagLineDelegate::tabStopDistance(const QFont& font)
{
    // The average width of the Latin letters, rounded as dialog units are.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int averageWidth = (letters / 26 + 1) / 2;
    return kTabStopDialogUnits * averageWidth / 4.0;
}

qreal TagLineDelegate::valueOffset(const QString& line, const QFont& font)
{
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0)
        return -1;
    const qreal stop = tabStopDistance(font);
    const QFontMetricsF metrics(font);
    // At least a blank's width after the label, so a value never touches a long label.
    const qreal label = metrics.horizontalAdvance(line.left(tab)) + metrics.horizontalAdvance(u' ');
    return std::max(kValueStop * stop, std::ceil(label / stop) * stop);
}

namespace {

int textMargin(const QWidget* widget)
{
    const QStyle* style = widget ? widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
}

QString valueOf(const QString& line)
{
    // The label's tabs end where the value begins; a value may hold tabs of its own.
    qsizetype start = line.indexOf(u'\t');
    while (start < line.size() && line[start] == u'\t')
        ++start;
    return line.mid(start);
}

} // namespace

void TagLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // Background, selection and focus as the style draws them; the text is ours.
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const int margin = textMargin(widget);
    const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (item.state & QStyle::State_Active) ? QPalette::Active
                                                                             : QPalette::Inactive;
    const QPalette::ColorRole role = (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(group, role));
    const QRectF area(item.rect.adjusted(margin, 0, -margin, 0));
    QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
    layout.setWrapMode(QTextOption::NoWrap);
    const qreal value = valueOffset(text, item.font);
    if (value < 0) {
        painter->drawText(area, text, layout);
    } else {
        painter->drawText(area, text.left(text.indexOf(u'\t')), layout);
        painter->drawText(area.adjusted(value, 0, 0, 0), valueOf(text), layout);
    }
    painter->restore();
}

QSize TagLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // As wide as the line's text, so the view scrolls sideways only for a line wider than itself.
    const QString text = index.data(Qt::DisplayRole).toString();
    const QFontMetricsF metrics(option.font);
    const qreal value = valueOffset(text, option.font);
    const qreal width = value < 0 ? metrics.horizontalAdvance(text) : value + metrics.horizontalAdvance(valueOf(text));
    // Twelve pixels as designed, or the font's height where it needs more.
    constexpr int kLineHeight = 12;
    return {static_cast<int>(std::ceil(width)) + 2 * textMargin(option.widget),
            std::max(kLineHeight, option.fontMetrics.height())};
}

} // namespace nuvo
