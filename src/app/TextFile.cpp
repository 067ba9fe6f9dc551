#include "app/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <array>

namespace nuvo {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five bytes it leaves undefined keep
// their Latin-1 (C1 control) value, as Windows itself maps them.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte < 0xA0) ? QChar(kWindows1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

// Stateless: a sequence cut short by the end of the bytes is an error, not a rest kept for more
// bytes that never come, so a Windows-1252 line ending in "é" (a UTF-8 lead byte) is read whole.
QStringDecoder strictUtf8Decoder()
{
    return QStringDecoder(QStringDecoder::Utf8,
                          QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
}

// Calls take(begin, end) for each line of [0, size) of a sequence whose element at i is at(i).
template <typename At, typename Take>
void forEachLine(qsizetype size, At at, Take take)
{
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < size) {
        const auto c = at(i);
        if (c == '\n' || c == '\r') {
            take(start, i);
            i += (c == '\r' && i + 1 < size && at(i + 1) == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < size)
        take(start, size);
}

QByteArrayView withoutByteOrderMark(const QByteArray& data)
{
    QByteArrayView view(data);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    return view;
}

} // namespace

QString decodeTextLine(QByteArrayView bytes)
{
    QStringDecoder utf8 = strictUtf8Decoder();
    QString text = utf8(bytes);
    if (utf8.hasError())
        return decodeWindows1252(bytes);
    return text;
}

QStringList decodeTextLines(const QByteArray& data)
{
    const QByteArrayView bytes = withoutByteOrderMark(data);
    QStringList lines;

    // The usual case: the whole file is valid UTF-8 and is decoded in one pass.
    QStringDecoder utf8 = strictUtf8Decoder();
    const QString whole = utf8(bytes);
    if (!utf8.hasError()) {
        forEachLine(
            whole.size(), [&](qsizetype i) { return whole.at(i).unicode(); },
            [&](qsizetype begin, qsizetype end) { lines.append(whole.mid(begin, end - begin)); });
        return lines;
    }

    forEachLine(
        bytes.size(), [&](qsizetype i) { return bytes.at(i); },
        [&](qsizetype begin, qsizetype end) { lines.append(decodeTextLine(bytes.sliced(begin, end - begin))); });
    return lines;
}

QStringList readTextLines(const QString& path, bool* ok, QString* error)
{
    QFile file(path);
    QByteArray data;
    bool readFine = file.open(QIODevice::ReadOnly);
    if (readFine) {
        data = file.readAll();
        readFine = file.error() == QFileDevice::NoError;
    }
    if (ok)
        *ok = readFine;
    if (!readFine) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return {};
    }
    return decodeTextLines(data);
}

bool writeTextLines(const QString& path, const QStringList& lines, QString* error)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return replaceFileContents(path, bytes, error);
}

namespace {

// A write cut short (a full disk) returns what fit without an error; writing the rest again then
// fails with the system's reason, which is what the user should read.
bool writeAll(QSaveFile& file, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool replaceFileContents(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && writeAll(file, bytes) && file.commit();
    if (!written && error)
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    return written;
}

} // namespace nuvo
