// The tag record's editable fields as the tag page addresses them: by line
// of the view, with the number of characters a user may type, read and
// written as UTF-8 that always fits its field.
#pragma once

#include "vbmp3.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace nuvo {

enum class TagField { Title, Artist, Album, Year, Genre, Comment };

// The view's lines 1 to 6 are the fields in this order; other lines are none.
std::optional<TagField> tagFieldOfLine(int line);

// What the user may type into a text field (the genre is chosen from a list):
// characters as the form allows them, and no more bytes of UTF-8 than the
// record's field holds before its terminating zero.
struct TypingLimit {
    int characters;
    qsizetype bytes;
};
TypingLimit typingLimit(TagField field);

// A text field of the record (not the genre) as text; bytes that are not UTF-8 show as replacements.
QString fieldText(const TagRecord& record, TagField field);
// Stores the text, cut on a character boundary so that it fits the field with its terminating zero.
void setFieldText(TagRecord& record, TagField field, const QString& text);

// A text field's bytes, up to its first zero; a field without one is taken whole.
QString textOfField(const char* field, std::size_t size);
// The artists one by one: the values the library lists behind the artist's
// terminating zero when the frame held several ("Alice/Bob"), else the text
// alone ("AC/DC"); none for an empty field.
QStringList artistValues(const TagRecord& record);
// Writes text into a field of size bytes as UTF-8 with a terminating zero, never splitting a character.
void writeTextField(char* field, std::size_t size, const QString& text);

// The genre list's items are the genre table, so a genre number outside it selects nothing (-1).
inline constexpr int kGenreCount = 256;
int genreIndexOf(int genre);

// The editor's condition on the file type: below 64 (tags writable for the
// kind of file) and not odd (the file itself writable). Negative types pass
// as the remainder takes the sign of the type.
bool tagsEditable(int fileType);

// A file without a tag shows empty fields and no genre; the genre name stays as the library left it.
void clearTagFields(TagRecord& record);

// The last value written to each field in this run, pasted by "Pst".
struct TagMemo {
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    int genre = -1;

    QString& text(TagField field);
    const QString& text(TagField field) const;
};

} // namespace nuvo
