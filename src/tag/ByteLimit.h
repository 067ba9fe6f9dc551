// A line edit's typing limit in bytes of UTF-8: an edit that would make the
// text longer than the field it is stored in is refused, so what is typed is
// what is written.
#pragma once

#include <QValidator>

class QLineEdit;

namespace nuvo {

class ByteLimit : public QValidator {
    Q_OBJECT
public:
    explicit ByteLimit(QObject* parent = nullptr) : QValidator(parent) {}

    // Sets the edit's limit, installing one on the edit at the first call.
    static void set(QLineEdit& edit, qsizetype bytes);

    State validate(QString& input, int& position) const override;

private:
    qsizetype bytes_ = 0;
};

} // namespace nuvo
