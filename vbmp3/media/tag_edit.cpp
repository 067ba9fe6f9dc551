#include "tag_edit.h"

#include "text.h"

#include <algorithm>
#include <array>

namespace vbmp3::media {
namespace {

enum Encoding : std::uint8_t { latin1 = 0, utf16 = 1, utf16BigEndian = 2, utf8 = 3 };

// Frame ids of the record's fields in each version; the year may sit in
// either of two frames (2.3 tags written as 2.4 and the other way round).
struct FrameIds {
    const char* title;
    const char* artist;
    const char* album;
    std::array<const char*, 2> year;
    const char* comment;
    const char* genre;
};

FrameIds idsOf(int version)
{
    if (version == 2)
        return {"TT2", "TP1", "TAL", {"TYE", nullptr}, "COM", "TCO"};
    if (version == 3)
        return {"TIT2", "TPE1", "TALB", {"TYER", "TDRC"}, "COMM", "TCON"};
    return {"TIT2", "TPE1", "TALB", {"TDRC", "TYER"}, "COMM", "TCON"};
}

bool encodingExists(int version, int encoding)
{
    return encoding == latin1 || encoding == utf16 || (version == 4 && encoding <= utf8);
}

// The encoding a frame gets for text: its own where that holds the text.
Encoding encodingFor(int version, std::optional<int> current, const std::string& text)
{
    const bool fitsLatin1 = utf8AsLatin1(text).has_value();
    if (current && encodingExists(version, *current) && (*current != latin1 || fitsLatin1))
        return static_cast<Encoding>(*current);
    if (version == 4)
        return utf8;
    return fitsLatin1 ? latin1 : utf16;
}

std::optional<int> encodingOf(const Id3v2Frame& frame, int version)
{
    if (!frame.plain(version) || frame.payload.empty())
        return std::nullopt;
    return frame.payload[0];
}

void appendText(Bytes& out, Encoding encoding, const std::string& text)
{
    if (encoding == latin1) {
        const std::string bytes = utf8AsLatin1(text).value_or(std::string());
        out.insert(out.end(), bytes.begin(), bytes.end());
        return;
    }
    if (encoding == utf8) {
        out.insert(out.end(), text.begin(), text.end());
        return;
    }
    const bool littleEndian = encoding == utf16;
    if (littleEndian)
        out.insert(out.end(), {0xFF, 0xFE});
    for (const char16_t unit : utf8ToUtf16(text)) {
        const auto high = static_cast<std::uint8_t>(unit >> 8);
        const auto low = static_cast<std::uint8_t>(unit & 0xFF);
        out.insert(out.end(), littleEndian ? std::initializer_list<std::uint8_t>{low, high}
                                           : std::initializer_list<std::uint8_t>{high, low});
    }
}

// A zero-terminated string; in UTF-16 even an empty one has its byte-order
// mark, which readers need to take it for UTF-16 at all.
void appendTerminatedText(Bytes& out, Encoding encoding, const std::string& text)
{
    appendText(out, encoding, text);
    out.push_back(0);
    if (encoding == utf16 || encoding == utf16BigEndian)
        out.push_back(0);
}

Bytes textContent(Encoding encoding, const std::string& text)
{
    Bytes content{encoding};
    appendText(content, encoding, text);
    return content;
}

// Replaces the text of the first frame with this id, or adds the frame;
// an empty text removes every frame with the id.
void setTextFrame(Id3v2Tag& tag, const std::string& id, const std::string& text)
{
    if (text.empty()) {
        tag.remove(id);
        return;
    }
    Id3v2Frame* frame = tag.find(id);
    if (!frame) {
        tag.frames.push_back(Id3v2Frame{id, 0, 0, {}});
        frame = &tag.frames.back();
    }
    tag.setContent(*frame, textContent(encodingFor(tag.version, encodingOf(*frame, tag.version), text), text));
}

void setYear(Id3v2Tag& tag, const FrameIds& ids, const std::string& year)
{
    bool present = false;
    for (const char* id : ids.year) {
        if (id && tag.find(id)) {
            present = true;
            setTextFrame(tag, id, year);
        }
    }
    if (!present)
        setTextFrame(tag, ids.year[0], year);
}

// Whether a comment frame has no description: that is the comment the
// record shows (described ones hold other programs' data).
bool isPlainComment(const Id3v2Frame& frame, int version)
{
    const auto encoding = encodingOf(frame, version);
    const Bytes& p = frame.payload;
    if (!encoding || p.size() < 5)
        return false;
    std::size_t at = 4;
    if (*encoding == utf16 && p.size() >= at + 2 && ((p[at] == 0xFF && p[at + 1] == 0xFE) || (p[at] == 0xFE && p[at + 1] == 0xFF)))
        at += 2;
    const bool wide = *encoding == utf16 || *encoding == utf16BigEndian;
    return p.size() >= at + (wide ? 2 : 1) && p[at] == 0 && (!wide || p[at + 1] == 0);
}

void setComment(Id3v2Tag& tag, const std::string& id, const std::string& text)
{
    auto it = std::find_if(tag.frames.begin(), tag.frames.end(),
                           [&](const Id3v2Frame& f) { return f.id == id && isPlainComment(f, tag.version); });
    if (text.empty()) {
        if (it != tag.frames.end())
            tag.frames.erase(it);
        return;
    }
    std::string language = "eng";
    std::optional<int> current;
    if (it == tag.frames.end()) {
        tag.frames.push_back(Id3v2Frame{id, 0, 0, {}});
        it = tag.frames.end() - 1;
    } else {
        language.assign(it->payload.begin() + 1, it->payload.begin() + 4);
        current = it->payload[0];
    }
    const Encoding encoding = encodingFor(tag.version, current, text);
    Bytes content;
    content.reserve(6 + text.size() * 2);
    content.push_back(encoding);
    for (const char c : language)
        content.push_back(static_cast<std::uint8_t>(c));
    appendTerminatedText(content, encoding, std::string()); // no description
    appendText(content, encoding, text);
    tag.setContent(*it, std::move(content));
}

void setGenre(Id3v2Tag& tag, const std::string& id, int genre)
{
    // By number: every reader knows the table's genres by number, and the
    // player's own spellings of them stay its own. 2.4 writes the bare
    // number, the versions before it "(17)".
    const std::string number = std::to_string(genre);
    setTextFrame(tag, id, genre < 0 ? std::string() : tag.version == 4 ? number : "(" + number + ")");
}

std::string recordText(const char* field, std::size_t size)
{
    return sanitizeUtf8(fieldText(field, size));
}

template <std::size_t N>
std::optional<std::string> changedText(const char (&wanted)[N], const char (&current)[N])
{
    std::string text = recordText(wanted, N);
    if (text == fieldText(current, N))
        return std::nullopt;
    return text;
}

} // namespace

bool TagChanges::empty() const
{
    return !title && !artist && !album && !year && !comment && !genre;
}

TagChanges changesBetween(const TagRecord& wanted, const TagRecord& current)
{
    TagChanges changes;
    changes.title = changedText(wanted.title, current.title);
    changes.artist = changedText(wanted.artist, current.artist);
    changes.album = changedText(wanted.album, current.album);
    changes.year = changedText(wanted.year, current.year);
    changes.comment = changedText(wanted.comment, current.comment);
    const int genre = wanted.genre >= 0 && wanted.genre <= 255 ? wanted.genre : -1;
    if (genre != current.genre)
        changes.genre = genre;
    return changes;
}

TagFields withChanges(TagFields fields, const TagChanges& changes)
{
    fields.title = changes.title.value_or(fields.title);
    fields.artist = changes.artist.value_or(fields.artist);
    fields.album = changes.album.value_or(fields.album);
    fields.year = changes.year.value_or(fields.year);
    fields.comment = changes.comment.value_or(fields.comment);
    if (changes.genre) {
        fields.genre = *changes.genre;
        fields.genreText.clear();
    }
    return fields;
}

void applyChanges(Id3v2Tag& tag, const TagChanges& changes)
{
    const FrameIds ids = idsOf(tag.version);
    if (changes.title)
        setTextFrame(tag, ids.title, *changes.title);
    if (changes.artist)
        setTextFrame(tag, ids.artist, *changes.artist);
    if (changes.album)
        setTextFrame(tag, ids.album, *changes.album);
    if (changes.year)
        setYear(tag, ids, *changes.year);
    if (changes.comment)
        setComment(tag, ids.comment, *changes.comment);
    if (changes.genre)
        setGenre(tag, ids.genre, *changes.genre);
}

Id3v2Tag newId3v2Tag(const TagFields& fields, int track)
{
    Id3v2Tag tag;
    TagChanges all;
    all.title = fields.title;
    all.artist = fields.artist;
    all.album = fields.album;
    all.year = fields.year;
    all.comment = fields.comment;
    all.genre = fields.genre;
    applyChanges(tag, all);
    if (track > 0)
        setTextFrame(tag, "TRCK", std::to_string(track));
    return tag;
}

void applyChanges(Id3v1Block& block, const TagChanges& changes)
{
    if (changes.title)
        setId3v1Text(block, Id3v1Field::Title, *changes.title);
    if (changes.artist)
        setId3v1Text(block, Id3v1Field::Artist, *changes.artist);
    if (changes.album)
        setId3v1Text(block, Id3v1Field::Album, *changes.album);
    if (changes.year)
        setId3v1Text(block, Id3v1Field::Year, *changes.year);
    if (changes.comment)
        setId3v1Text(block, Id3v1Field::Comment, *changes.comment);
    if (changes.genre)
        setId3v1Genre(block, *changes.genre);
}

} // namespace vbmp3::media
