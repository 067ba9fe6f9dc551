// decodeTextLines, the reader under every text file the player keeps or opens, against a plain
// second reading of the same bytes: a line is UTF-8 when every byte of it is, else Windows-1252,
// and no byte is lost. Its lines written back as the player writes them read back the same.
#include "FuzzCheck.h"
#include "StrictUtf8.h"

#include "app/TextFile.h"

namespace {

QString windows1252(QByteArrayView bytes)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QString text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte >= 0x80 && byte < 0xA0 ? QChar(high[byte - 0x80]) : QChar(byte);
    }
    return text;
}

// Code point by code point: QString::fromUcs4 would drop a U+FEFF at the start of each line.
QString utf16(const std::u32string& text)
{
    QString result;
    for (const char32_t code : text) {
        if (QChar::requiresSurrogates(code)) {
            result += QChar(QChar::highSurrogate(code));
            result += QChar(QChar::lowSurrogate(code));
        } else {
            result += QChar(code);
        }
    }
    return result;
}

QStringList expectedLines(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringList lines;
    qsizetype start = 0;
    const auto take = [&](qsizetype end) {
        const QByteArrayView line = bytes.sliced(start, end - start);
        const auto utf8 = nuvo::fuzz::strictUtf8(std::string_view(line.data(), line.size()));
        lines << (utf8 ? utf16(*utf8) : windows1252(line));
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        take(i);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        take(bytes.size());
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace nuvo;
    const QByteArray bytes = fuzz::inputBytes(data, size);
    const QStringList lines = decodeTextLines(bytes);
    const QStringList expected = expectedLines(bytes);
    fuzz::require(lines == expected, "each line is read as UTF-8 or else as Windows-1252, whole",
                  fuzz::quoted(lines) + QStringLiteral("\ninstead of\n") + fuzz::quoted(expected));

    // As writeTextLines writes them. A first line that starts with U+FEFF is the one exception: its
    // UTF-8 is a byte-order mark, which every reader drops.
    if (!lines.isEmpty() && lines.front().startsWith(QChar(0xFEFF)))
        return 0;
    QByteArray written;
    for (const QString& line : lines)
        written += line.toUtf8() + "\r\n";
    fuzz::require(decodeTextLines(written) == lines, "written lines read back the same");
    return 0;
}
