#include "app/ElidingLabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace nuvo {

QString ElidingLabel::shownText() const
{
    const int room = contentsRect().width() - 2 * margin();
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, room);
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
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shownText(), foregroundRole());
}

} // namespace nuvo
