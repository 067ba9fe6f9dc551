// Writing tags: the fields the caller changed, into the file's own ID3v2 tag
// (in its version) and ID3v1 tag, in a replacement of the file. A file
// without an ID3v2 tag gets ID3v2.4; an ID3v1 tag is never added, since its
// copy of the texts would be a lossy second opinion.
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

// The new ID3v2 tag: the file's own with the changes, or a new one that takes
// over what the ID3v1 tag held, its track number too. Nothing when the file's
// tag cannot be read whole (it is then left alone).
std::optional<Bytes> changedId3v2(const ByteSource& source, std::int64_t oldSize, const TagFields& current,
                                  const TagChanges& changes, const std::optional<Id3v1Block>& id3v1)
{
    if (oldSize == 0) {
        const auto old = id3v1 ? parseId3v1(*id3v1) : std::nullopt;
        return renderId3v2(newId3v2Tag(withChanges(current, changes), old ? old->track : 0), 0);
    }
    auto tag = parseId3v2(readRange(source, 0, oldSize));
    if (!tag)
        return std::nullopt;
    applyChanges(*tag, changes);
    // The old size, when the frames fit, keeps the audio where it was.
    return renderId3v2(*tag, oldSize);
}

// The ID3v1 tag at the end of the part of the file after the ID3v2 tag.
std::optional<Id3v1Block> id3v1Of(const ByteSource& source, std::int64_t id3v2Size)
{
    if (source.size() - id3v2Size < static_cast<std::int64_t>(id3v1Bytes))
        return std::nullopt;
    Id3v1Block block{};
    if (source.read(source.size() - static_cast<std::int64_t>(id3v1Bytes), block) != block.size() ||
        std::memcmp(block.data(), "TAG", 3) != 0)
        return std::nullopt;
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
    if (oldId3v2 > original->size())
        return false;
    std::optional<Id3v1Block> id3v1 = id3v1Of(*original, oldId3v2);
    const auto id3v2 = changedId3v2(*original, oldId3v2, current, changes, id3v1);
    if (!id3v2)
        return false;
    if (id3v1)
        applyChanges(*id3v1, changes);

    const std::int64_t middle = original->size() - oldId3v2 - (id3v1 ? static_cast<std::int64_t>(id3v1Bytes) : 0);
    ReplacementFile replacement(*target, *original);
    if (!replacement.valid() || !replacement.append(*id3v2) || !replacement.appendFrom(*original, oldId3v2, middle) ||
        (id3v1 && !replacement.append(*id3v1)))
        return false;
    // The audio must have come through whole.
    if (audioFrames(replacement.path(), Kind::Mpeg) != framesBefore)
        return false;
    return replacement.commit();
}

} // namespace vbmp3::media
