#include "playback/DigitSpinBox.h"

#include <QLineEdit>

#include <algorithm>

namespace nuvo {

DigitSpinBox::DigitSpinBox(QWidget* parent) : QSpinBox(parent)
{
    setGroupSeparatorShown(false);
    setWrapping(false);
}

void DigitSpinBox::setEdit(const QString& name, int maxLength)
{
    lineEdit()->setObjectName(name);
    lineEdit()->setMaxLength(maxLength);
}

QValidator::State DigitSpinBox::validate(QString& text, int& pos) const
{
    const bool digitsOnly = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return digitsOnly ? QSpinBox::validate(text, pos) : QValidator::Invalid;
}

} // namespace nuvo
