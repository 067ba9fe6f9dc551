#include "tag/TagFields.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace nuvo {

namespace {

// The bytes of a text field, for a record that may be const; none for the genre.
template <class Record>
auto textField(Record& record, TagField field)
{
    using Char = std::remove_reference_t<decltype(record.title[0])>;
    struct Bytes {
        Char* data;
        std::size_t size;
    };
    switch (field) {
    case TagField::Title:
        return Bytes{record.title, sizeof record.title};
    case TagField::Artist:
        return Bytes{record.artist, sizeof record.artist};
    case TagField::Album:
        return Bytes{record.album, sizeof record.album};
    case TagField::Year:
        return Bytes{record.year, sizeof record.year};
    case TagField::Comment:
        return Bytes{record.comment, sizeof record.comment};
    case TagField::Genre:
        break;
    }
    return Bytes{nullptr, 0};
}

template <class Memo>
auto& memoText(Memo& memo, TagField field)
{
    switch (field) {
    case TagField::Title:
        return memo.title;
    case TagField::Artist:
        return memo.artist;
    case TagField::Album:
        return memo.album;
    case TagField::Year:
        return memo.year;
    case TagField::Comment:
    case TagField::Genre: // not a text; callers ask for text fields only
        break;
    }
    return memo.comment;
}

bool isContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::optional<TagField> tagFieldOfLine(int line)
{
    static constexpr TagField byLine[] = {TagField::Title, TagField::Artist, TagField::Album,
                                          TagField::Year,  TagField::Genre,  TagField::Comment};
    if (line < 1 || line > 6)
        return std::nullopt;
    return byLine[line - 1];
}

TypingLimit typingLimit(TagField field)
{
    const TagRecord record{};
    const auto bytes = textField(record, field);
    return {field == TagField::Year ? 4 : 30, bytes.size > 0 ? static_cast<qsizetype>(bytes.size - 1) : 0};
}

QString textOfField(const char* field, std::size_t size)
{
    return QString::fromUtf8(field, static_cast<qsizetype>(strnlen(field, size)));
}

QStringList artistValues(const TagRecord& record)
{
    constexpr std::size_t size = sizeof record.artist;
    const QString text = textOfField(record.artist, size);
    if (text.isEmpty())
        return {};
    QStringList values;
    std::size_t at = strnlen(record.artist, size) + 1;
    while (at < size && record.artist[at] != '\0') {
        const std::size_t length = strnlen(record.artist + at, size - at);
        values.append(textOfField(record.artist + at, length));
        at += length + 1;
    }
    // A list not ended inside the field, or one that is not this text's
    // (the bytes of an older value), is not trusted.
    if (at >= size || values.size() < 2 || values.join(QLatin1Char('/')) != text)
        return {text};
    return values;
}

void writeTextField(char* field, std::size_t size, const QString& text)
{
    if (size == 0)
        return;
    const QByteArray utf8 = text.toUtf8();
    std::size_t length = std::min(static_cast<std::size_t>(utf8.size()), size - 1);
    // Back up to the first byte of a character the cut would split.
    if (length < static_cast<std::size_t>(utf8.size()))
        while (length > 0 && isContinuationByte(utf8[static_cast<qsizetype>(length)]))
            --length;
    std::memset(field, 0, size);
    std::memcpy(field, utf8.constData(), length);
}

QString fieldText(const TagRecord& record, TagField field)
{
    const auto bytes = textField(record, field);
    return bytes.data ? textOfField(bytes.data, bytes.size) : QString();
}

void setFieldText(TagRecord& record, TagField field, const QString& text)
{
    const auto bytes = textField(record, field);
    if (bytes.data)
        writeTextField(bytes.data, bytes.size, text);
}

int genreIndexOf(int genre)
{
    return genre >= 0 && genre < kGenreCount ? genre : -1;
}

bool tagsEditable(int fileType)
{
    return fileType < 64 && fileType % 2 != 1;
}

void clearTagFields(TagRecord& record)
{
    record.title[0] = '\0';
    record.artist[0] = '\0';
    record.album[0] = '\0';
    record.year[0] = '\0';
    record.comment[0] = '\0';
    record.genre = -1;
}

QString& TagMemo::text(TagField field)
{
    return memoText(*this, field);
}

const QString& TagMemo::text(TagField field) const
{
    return memoText(*this, field);
}

} // namespace nuvo
