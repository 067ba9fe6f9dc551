// A spin box whose edit takes the digits 0 to 9 only, whether typed, pasted
// or dropped: no sign, no group separator, no blank.
#pragma once

#include <QSpinBox>

class QLineEdit;

namespace nuvo {

class DigitSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit DigitSpinBox(QWidget* parent = nullptr);

    // Gives the edit its own name and the most characters it takes.
    void setEdit(const QString& name, int maxLength);
    QLineEdit* edit() const { return lineEdit(); }

protected:
    QValidator::State validate(QString& text, int& pos) const override;
};

} // namespace nuvo
