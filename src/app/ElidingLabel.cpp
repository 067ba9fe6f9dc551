#include "app/ElidingLabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace nuvo {

int ElidingLabel::effectiveIndent() const
{
    // As a framed label indents its text: half an "x", unless an indent is set.
    if (indent() >= 0)
        return indent();
    return frameWidth() > 0 ? fontMetrics().horizontalAdvance(u'x') / 2 : 0;
}

QRect ElidingLabel::textArea() const
{
    QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    if (align & Qt::AlignLeft)
        area.setLeft(area.left() + effectiveIndent());
    if (align & Qt::AlignRight)
        area.setRight(area.right() - effectiveIndent());
    return area;
}

QString ElidingLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, textArea().width());
}

QSize ElidingLabel::minimumSizeHint() const
{
    // Any width will do: the text gives way.
    return {minimumWidth(), QLabel::minimumSizeHint().height()};
}

bool ElidingLabel::event(QEvent* event)
{
    // The tool tip is for a text that is not shown whole.
    if (event->type() == QEvent::ToolTip && shownText() == text()) {
        event->ignore();
        return true;
    }
    return QLabel::event(event);
}

void ElidingLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textArea(), QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shownText(), foregroundRole());
}

} // namespace nuvo
