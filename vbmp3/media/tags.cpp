#include "tags.h"

#include "genres.h"
#include "id3v1.h"
#include "text.h"

#include <taglib/commentsframe.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/tdebuglistener.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>
#include <taglib/wavfile.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <vector>

namespace vbmp3::media {
namespace {

std::string utf8(const TagLib::String& text) { return text.to8Bit(true); }

// The values of the first frame with this id; a text frame may hold several
// ("Alice", "Bob", "Carol").
std::vector<std::string> frameValues(const TagLib::ID3v2::Tag& tag, const char* id)
{
    const auto& frames = tag.frameList(id);
    if (frames.isEmpty())
        return {};
    const auto* frame = frames.front();
    const auto* text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(frame);
    std::vector<std::string> values;
    for (const auto& value : text ? text->fieldList() : TagLib::StringList(frame->toString()))
        values.push_back(utf8(value));
    return values;
}

// Several values shown as one text the way ID3v2.3 writes them: "Alice/Bob".
std::string joined(const std::vector<std::string>& values)
{
    std::string text;
    for (const auto& value : values) {
        if (!text.empty() && !value.empty())
            text += '/';
        text += value;
    }
    return text;
}

std::string frameText(const TagLib::ID3v2::Tag& tag, const char* id)
{
    return joined(frameValues(tag, id));
}

// The comment is the COMM frame without a description; other programs keep
// private data in described ones ("iTunNORM", ...).
std::string id3v2Comment(const TagLib::ID3v2::Tag& tag)
{
    for (const auto* frame : tag.frameList("COMM")) {
        const auto* comment = dynamic_cast<const TagLib::ID3v2::CommentsFrame*>(frame);
        if (comment && comment->description().isEmpty())
            return utf8(comment->text());
    }
    return {};
}

// The number is the first value's; the text shows every value, each number
// as the table's name and each name as the file spells it.
void setGenreFromValues(TagFields& fields, const std::vector<std::string>& values)
{
    fields.genre = values.empty() ? -1 : genreFromText(values.front());
    std::vector<std::string> labels;
    for (const auto& value : values)
        labels.emplace_back(genreLabel(value));
    const std::string text = joined(labels);
    fields.genreText = text == genreName(fields.genre) ? std::string() : text;
}

TagFields fromId3v2(const TagLib::ID3v2::Tag& tag)
{
    TagFields fields;
    fields.title = frameText(tag, "TIT2");
    for (auto& value : frameValues(tag, "TPE1"))
        if (!value.empty())
            fields.artists.push_back(std::move(value));
    fields.artist = joined(fields.artists);
    fields.album = frameText(tag, "TALB");
    fields.year = frameText(tag, "TDRC");
    if (fields.year.empty())
        fields.year = frameText(tag, "TYER");
    fields.comment = id3v2Comment(tag);
    setGenreFromValues(fields, frameValues(tag, "TCON"));
    return fields;
}

TagFields fromId3v1(const Id3v1Tag& tag)
{
    TagFields fields{tag.title, tag.artist, {}, tag.album, tag.year, tag.comment, -1, {}};
    // 255 is "none" for every ID3v1 reader.
    fields.genre = tag.genre == 255 ? -1 : tag.genre;
    return fields;
}

TagFields fromInfo(const TagLib::RIFF::Info::Tag& tag)
{
    TagFields fields;
    fields.title = utf8(tag.title());
    fields.artist = utf8(tag.artist());
    fields.album = utf8(tag.album());
    fields.year = utf8(tag.fieldText("ICRD"));
    fields.comment = utf8(tag.comment());
    setGenreFromValues(fields, {utf8(tag.genre())});
    return fields;
}

// Field by field, what the preferred tag has, else what the other has.
TagFields preferring(TagFields preferred, const TagFields& other)
{
    const auto fill = [](std::string& field, const std::string& fallback) {
        if (field.empty())
            field = fallback;
    };
    fill(preferred.title, other.title);
    if (preferred.artist.empty()) {
        preferred.artist = other.artist;
        preferred.artists = other.artists;
    }
    fill(preferred.album, other.album);
    fill(preferred.year, other.year);
    fill(preferred.comment, other.comment);
    if (preferred.genre < 0 && preferred.genreText.empty()) {
        preferred.genre = other.genre;
        preferred.genreText = other.genreText;
    }
    return preferred;
}

std::optional<Id3v1Tag> readId3v1(const ByteSource& source, const ByteRange& range)
{
    if (range.size < static_cast<std::int64_t>(id3v1Bytes))
        return std::nullopt;
    Id3v1Block block{};
    if (source.read(range.offset + range.size - static_cast<std::int64_t>(id3v1Bytes), block) !=
        block.size())
        return std::nullopt;
    return parseId3v1(block);
}

TagFields readMpegTags(ByteSource& source)
{
    TagFields fields;
    if (const auto stream = openTagLibStream(source)) {
        TagLib::MPEG::File file(stream.get(), TagLib::ID3v2::FrameFactory::instance(), false);
        if (file.isValid() && file.hasID3v2Tag())
            fields = fromId3v2(*file.ID3v2Tag());
    }
    if (const auto v1 = readId3v1(source, ByteRange{0, source.size()}))
        fields = preferring(std::move(fields), fromId3v1(*v1));
    return fields;
}

TagFields readWavTags(const ByteSource& source)
{
    const auto stream = openTagLibStream(source);
    if (!stream)
        return {};
    TagLib::RIFF::WAV::File file(stream.get(), false);
    if (!file.isValid())
        return {};
    TagFields fields;
    if (file.hasID3v2Tag())
        fields = fromId3v2(*file.ID3v2Tag());
    if (file.hasInfoTag())
        fields = preferring(std::move(fields), fromInfo(*file.InfoTag()));
    return fields;
}

// The values one by one behind the text's terminating zero, each
// zero-terminated and ended by an empty one, so a caller can tell several
// artists from one whose name has a "/"; left out when they do not all fit.
void listAfterText(char* field, std::size_t size, const std::string& text, const std::vector<std::string>& values)
{
    std::size_t needed = text.size() + 2;
    for (const auto& value : values)
        needed += value.size() + 1;
    if (values.size() < 2 || needed > size)
        return;
    char* at = field + text.size() + 1;
    for (const auto& value : values) {
        std::memcpy(at, value.data(), value.size());
        at += value.size() + 1;
    }
}

class SilentListener : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

} // namespace

bool TagFields::empty() const
{
    return title.empty() && artist.empty() && album.empty() && year.empty() && comment.empty() &&
           genre < 0 && genreText.empty();
}

void silenceTagLib()
{
    static SilentListener listener;
    static std::once_flag once;
    std::call_once(once, [] { TagLib::setDebugListener(&listener); });
}

std::unique_ptr<TagLib::FileStream> openTagLibStream(const ByteSource& source)
{
    silenceTagLib();
    // TagLib closes the descriptor it is given, so it gets a copy; and it
    // reads some formats from the current offset on, which others moved.
    const int copy = ::dup(source.descriptor());
    if (copy < 0)
        return nullptr;
    if (::lseek(copy, 0, SEEK_SET) != 0) {
        ::close(copy);
        return nullptr;
    }
    auto stream = std::make_unique<TagLib::FileStream>(copy, true);
    if (!stream->isOpen()) {
        ::close(copy);
        return nullptr;
    }
    return stream;
}

TagFields readTags(ByteSource& source, const Probe* probe)
{
    if (probe && probe->kind == Kind::Wav)
        return readWavTags(source);
    // Tags inside the data chunk of a RIFF file are not looked for.
    if (probe && probe->kind == Kind::RiffMpeg)
        return {};
    return readMpegTags(source);
}

void fillRecord(const TagFields& fields, TagRecord& record)
{
    record = TagRecord{};
    copyField(record.title, sizeof record.title, fields.title);
    copyField(record.artist, sizeof record.artist, fields.artist);
    listAfterText(record.artist, sizeof record.artist, fields.artist, fields.artists);
    copyField(record.album, sizeof record.album, fields.album);
    copyField(record.year, sizeof record.year, fields.year);
    copyField(record.comment, sizeof record.comment, fields.comment);
    record.genre = fields.genre;
    copyField(record.genreName, sizeof record.genreName,
              fields.genreText.empty() ? genreName(fields.genre) : std::string_view(fields.genreText));
}

TagFields fieldsOfRecord(const TagRecord& record)
{
    const auto text = [](const char* field, std::size_t size) {
        return sanitizeUtf8(fieldText(field, size));
    };
    TagFields fields;
    fields.title = text(record.title, sizeof record.title);
    fields.artist = text(record.artist, sizeof record.artist);
    fields.album = text(record.album, sizeof record.album);
    fields.year = text(record.year, sizeof record.year);
    fields.comment = text(record.comment, sizeof record.comment);
    fields.genre = record.genre >= 0 && record.genre <= 255 ? record.genre : -1;
    return fields;
}

} // namespace vbmp3::media
