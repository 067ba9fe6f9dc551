// A status panel whose text, where the panel is too narrow for it, is shown
// with its middle left out; its tool tip then tells the whole. text() stays
// the whole text.
#pragma once

#include <QLabel>

namespace nuvo {

class ElidingLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The text as the panel shows it now.
    QString shownText() const;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int effectiveIndent() const;
    QRect textArea() const;
};

} // namespace nuvo
