// What the fuzz targets share: the input as Qt bytes, and a check that ends the run with a message
// when a reader breaks one of its promises, so that counts as a finding just as a crash does.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace nuvo::fuzz {

inline QByteArray inputBytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

inline void require(bool holds, const char* promise, const QString& detail = {})
{
    if (holds)
        return;
    std::fprintf(stderr, "Broken: %s\n%s\n", promise, qUtf8Printable(detail));
    std::abort();
}

inline QString quoted(const QStringList& lines)
{
    return u'"' + lines.join(QStringLiteral("\"\n\"")) + u'"';
}

} // namespace nuvo::fuzz
