// Writing tags: ID3v2.4 (UTF-8) through TagLib and ID3v1 (Latin-1) by hand,
// both from the same fields, into a replacement of the file.
#include "id3v1.h"
#include "media.h"
#include "mpeg_stream.h"
#include "probe.h"
#include "replacement_file.h"
#include "tags.h"

#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>
#include <unistd.h>

#include <memory>

namespace vbmp3::media {
namespace {

TagLib::String taglibText(const std::string& utf8) { return TagLib::String(utf8, TagLib::String::UTF8); }

void setTextFrame(TagLib::ID3v2::Tag& tag, const char* id, const std::string& value)
{
    tag.removeFrames(id);
    if (value.empty())
        return;
    auto frame = std::make_unique<TagLib::ID3v2::TextIdentificationFrame>(id, TagLib::String::UTF8);
    frame->setText(taglibText(value));
    tag.addFrame(frame.release());
}

// Replaces the description-less comment; described ones belong to others.
void setComment(TagLib::ID3v2::Tag& tag, const std::string& value)
{
    const TagLib::ID3v2::FrameList comments = tag.frameList("COMM");
    for (auto* frame : comments) {
        const auto* comment = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame);
        if (!comment || comment->description().isEmpty())
            tag.removeFrame(frame);
    }
    if (value.empty())
        return;
    auto frame = std::make_unique<TagLib::ID3v2::CommentsFrame>(TagLib::String::UTF8);
    frame->setLanguage("eng");
    frame->setText(taglibText(value));
    tag.addFrame(frame.release());
}

void applyToId3v2(TagLib::ID3v2::Tag& tag, const TagFields& fields)
{
    setTextFrame(tag, "TIT2", fields.title);
    setTextFrame(tag, "TPE1", fields.artist);
    setTextFrame(tag, "TALB", fields.album);
    tag.removeFrames("TYER");
    setTextFrame(tag, "TDRC", fields.year);
    setComment(tag, fields.comment);
    // A number, as ID3v2.4 allows: every reader knows the standard genres by
    // number, and the player's own spellings of them stay its own.
    setTextFrame(tag, "TCON", fields.genre >= 0 ? std::to_string(fields.genre) : std::string());
}

bool writeId3v2(const std::string& path, const TagFields& fields)
{
    TagLib::FileStream stream(path.c_str(), false);
    if (!stream.isOpen() || stream.readOnly())
        return false;
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid())
        return false;
    applyToId3v2(*file.ID3v2Tag(true), fields);
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v4,
                     TagLib::File::DoNotDuplicate);
}

// Overwrites the file's ID3v1 tag, or appends one; a track number already
// there is kept.
bool writeId3v1(int fd, const TagFields& fields)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return false;
    const auto blockSize = static_cast<off_t>(id3v1Bytes);
    Id3v1Block old{};
    std::optional<Id3v1Tag> existing;
    if (status.st_size >= blockSize &&
        ::pread(fd, old.data(), old.size(), status.st_size - blockSize) == blockSize)
        existing = parseId3v1(old);

    Id3v1Tag tag{fields.title, fields.artist, fields.album, fields.year, fields.comment,
                 fields.genre >= 0 ? fields.genre : 255, existing ? existing->track : 0};
    const Id3v1Block block = renderId3v1(tag);
    const off_t at = existing ? status.st_size - blockSize : status.st_size;
    return ::pwrite(fd, block.data(), block.size(), at) == blockSize;
}

std::optional<std::int64_t> audioFrames(const std::string& path, Kind expected)
{
    auto source = ByteSource::open(path);
    const auto found = source ? probe(*source) : std::nullopt;
    if (!found || found->kind != expected)
        return std::nullopt;
    const auto stream = scanMpeg(*source, found->mpegRange, ScanDepth::Whole);
    return stream ? std::optional(stream->frames) : std::nullopt;
}

} // namespace

bool writeTag(const std::string& path, const TagRecord& record)
{
    // Through a symbolic link the file it points to is what changes.
    const auto target = resolvedPath(path);
    if (!target)
        return false;
    auto original = ByteSource::open(*target);
    if (!original || !mayReplace(*target, original->status()))
        return false;
    const auto kind = probe(*original);
    if (!kind || kind->kind != Kind::Mpeg)
        return false;
    const auto framesBefore = audioFrames(*target, Kind::Mpeg);
    if (!framesBefore)
        return false;

    const TagFields fields = fieldsOfRecord(record);
    ReplacementFile replacement(*target, *original);
    if (!replacement.valid() || !writeId3v2(replacement.path(), fields) ||
        !writeId3v1(replacement.descriptor(), fields))
        return false;
    // TagLib does not report failed writes: the audio must have come through whole.
    if (audioFrames(replacement.path(), Kind::Mpeg) != framesBefore)
        return false;
    return replacement.commit();
}

} // namespace vbmp3::media
