// Writing tags: the fields the caller changed, into the file's own ID3v2 tag
// (in its version) and ID3v1 tag, in a replacement of the file. A file
// without a tag gets ID3v2.4 and ID3v1.
#include "id3v1.h"
#include "id3v2_tag.h"
#include "media.h"
#include "mpeg_stream.h"
#include "probe.h"
#include "replacement_file.h"
#include "tag_edit.h"
#include "tags.h"

#include <cstring>

namespace vbmp3::media {
namespace {

std::optional<std::int64_t> audioFrames(ByteSource& source, Kind expected)
{
    const auto found = probe(source);
    if (!found || found->kind != expected)
        return std::nullopt;
    const auto stream = scanMpeg(source, found->mpegRange, ScanDepth::Whole);
    return stream ? std::optional(stream->frames) : std::nullopt;
}

std::optional<std::int64_t> audioFrames(const std::string& path, Kind expected)
{
    auto source = ByteSource::open(path);
    return source ? audioFrames(*source, expected) : std::nullopt;
}

Bytes readRange(const ByteSource& source, std::int64_t offset, std::int64_t size)
{
    Bytes bytes(static_cast<std::size_t>(size));
    bytes.resize(source.read(offset, bytes));
    return bytes;
}

// The new ID3v2 tag: the file's own with the changes, or a new one. Nothing
// when the file's tag cannot be read whole (it is then left alone).
std::optional<Bytes> changedId3v2(const ByteSource& source, std::int64_t oldSize, const TagFields& current,
                                  const TagChanges& changes)
{
    if (oldSize == 0)
        return renderId3v2(newId3v2Tag(withChanges(current, changes)), 0);
    auto tag = parseId3v2(readRange(source, 0, oldSize));
    if (!tag)
        return std::nullopt;
    applyChanges(*tag, changes);
    // The old size, when the frames fit, keeps the audio where it was.
    return renderId3v2(*tag, oldSize);
}

Id3v1Block changedId3v1(const std::optional<Id3v1Block>& old, const TagFields& current, const TagChanges& changes)
{
    if (!old) {
        const TagFields fields = withChanges(current, changes);
        return renderId3v1(Id3v1Tag{fields.title, fields.artist, fields.album, fields.year, fields.comment,
                                    fields.genre >= 0 ? fields.genre : 255, 0});
    }
    Id3v1Block block = *old;
    applyChanges(block, changes);
    return block;
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
    const auto found = probe(*original);
    if (!found || found->kind != Kind::Mpeg)
        return false;

    const TagFields current = readTags(*original, &*found);
    TagRecord currentRecord{};
    fillRecord(current, currentRecord);
    const TagChanges changes = changesBetween(record, currentRecord);
    if (changes.empty())
        return true;
    const auto framesBefore = audioFrames(*original, Kind::Mpeg);
    if (!framesBefore)
        return false;

    const std::uint8_t* head = original->view(0, 10);
    const std::int64_t oldId3v2 = head ? id3v2Size(std::span(head, 10)).value_or(0) : 0;
    const auto id3v2 = changedId3v2(*original, oldId3v2, current, changes);
    if (!id3v2 || oldId3v2 > original->size())
        return false;
    std::optional<Id3v1Block> oldId3v1;
    if (original->size() - oldId3v2 >= static_cast<std::int64_t>(id3v1Bytes)) {
        Id3v1Block block{};
        if (original->read(original->size() - static_cast<std::int64_t>(id3v1Bytes), block) == block.size() &&
            std::memcmp(block.data(), "TAG", 3) == 0)
            oldId3v1 = block;
    }
    const Id3v1Block id3v1 = changedId3v1(oldId3v1, current, changes);

    const std::int64_t middle = original->size() - oldId3v2 - (oldId3v1 ? static_cast<std::int64_t>(id3v1Bytes) : 0);
    ReplacementFile replacement(*target, *original);
    if (!replacement.valid() || !replacement.append(*id3v2) || !replacement.appendFrom(*original, oldId3v2, middle) ||
        !replacement.append(id3v1))
        return false;
    // The audio must have come through whole.
    if (audioFrames(replacement.path(), Kind::Mpeg) != framesBefore)
        return false;
    return replacement.commit();
}

} // namespace vbmp3::media
