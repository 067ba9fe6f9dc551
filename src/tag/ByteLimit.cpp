#include "tag/ByteLimit.h"

#include <QLineEdit>

namespace nuvo {

void ByteLimit::set(QLineEdit& edit, qsizetype bytes)
{
    auto* limit = edit.findChild<ByteLimit*>(QString(), Qt::FindDirectChildrenOnly);
    if (!limit) {
        limit = new ByteLimit(&edit);
        edit.setValidator(limit);
    }
    limit->bytes_ = bytes;
}

QValidator::State ByteLimit::validate(QString& input, int& /*position*/) const
{
    return input.toUtf8().size() <= bytes_ ? Acceptable : Invalid;
}

} // namespace nuvo
