#include "id3v2_tag.h"

#include <algorithm>
#include <cstring>

namespace vbmp3::media {
namespace {

constexpr std::size_t headerBytes = 10;

// Header flags.
constexpr std::uint8_t tagUnsynchronised = 0x80;
constexpr std::uint8_t tagExtendedHeader = 0x40;
constexpr std::uint8_t tag22Compressed = 0x40;
constexpr std::uint8_t tagFooter = 0x10;

// Frame format flags that change how the payload is stored.
constexpr std::uint8_t frame23Stored = 0x80 | 0x40;         // compression, encryption
constexpr std::uint8_t frame24Stored = 0x08 | 0x04 | 0x02;  // compression, encryption, unsynchronisation
constexpr std::uint8_t frame24Unsynchronised = 0x02;

std::uint32_t syncSafe(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 21) | (std::uint32_t{p[1]} << 14) | (std::uint32_t{p[2]} << 7) | p[3];
}

std::uint32_t bigEndian(const std::uint8_t* p, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = (value << 8) | p[i];
    return value;
}

void appendSyncSafe(Bytes& out, std::uint32_t value)
{
    for (int shift = 21; shift >= 0; shift -= 7)
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0x7F));
}

void appendBigEndian(Bytes& out, std::uint32_t value, std::size_t count)
{
    for (std::size_t i = count; i-- > 0;)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

Bytes resynchronised(std::span<const std::uint8_t> bytes)
{
    Bytes out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out.push_back(bytes[i]);
        if (bytes[i] == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == 0x00)
            ++i;
    }
    return out;
}

bool validId(std::span<const std::uint8_t> id)
{
    return std::all_of(id.begin(), id.end(), [](std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

struct FrameLayout {
    std::size_t idBytes;
    std::size_t sizeBytes;
    std::size_t flagBytes;
    std::size_t header() const { return idBytes + sizeBytes + flagBytes; }
};

FrameLayout layoutOf(int version)
{
    return version == 2 ? FrameLayout{3, 3, 0} : FrameLayout{4, 4, 2};
}

std::uint32_t frameSize(const std::uint8_t* field, int version, bool syncSafeSizes)
{
    if (version == 2)
        return bigEndian(field, 3);
    return syncSafeSizes ? syncSafe(field) : bigEndian(field, 4);
}

struct ParsedFrames {
    std::vector<Id3v2Frame> frames;
    std::size_t end = 0;  // where the frames that read end
};

// The frames from the start of body as long as they read (a valid id and a
// size within the body), with sizes read one way.
ParsedFrames readFrames(std::span<const std::uint8_t> body, int version, bool syncSafeSizes)
{
    const FrameLayout layout = layoutOf(version);
    ParsedFrames parsed;
    std::size_t& pos = parsed.end;
    while (pos + layout.header() <= body.size() && validId(body.subspan(pos, layout.idBytes))) {
        const std::uint32_t size = frameSize(body.data() + pos + layout.idBytes, version, syncSafeSizes);
        if (size > body.size() - pos - layout.header())
            break;
        Id3v2Frame frame;
        frame.id.assign(reinterpret_cast<const char*>(body.data() + pos), layout.idBytes);
        if (layout.flagBytes) {
            frame.statusFlags = body[pos + layout.idBytes + layout.sizeBytes];
            frame.formatFlags = body[pos + layout.idBytes + layout.sizeBytes + 1];
        }
        const auto payload = body.subspan(pos + layout.header(), size);
        frame.payload.assign(payload.begin(), payload.end());
        parsed.frames.push_back(std::move(frame));
        pos += layout.header() + size;
    }
    return parsed;
}

bool allZero(std::span<const std::uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

} // namespace

bool Id3v2Frame::plain(int version) const
{
    if (version == 2)
        return true;
    return (formatFlags & (version == 3 ? frame23Stored : frame24Stored)) == 0;
}

Id3v2Frame* Id3v2Tag::find(const std::string& id)
{
    const auto it = std::find_if(frames.begin(), frames.end(), [&](const Id3v2Frame& f) { return f.id == id; });
    return it == frames.end() ? nullptr : &*it;
}

void Id3v2Tag::remove(const std::string& id)
{
    std::erase_if(frames, [&](const Id3v2Frame& f) { return f.id == id; });
}

void Id3v2Tag::setContent(Id3v2Frame& frame, Bytes content) const
{
    frame.formatFlags = 0;
    if (version == 4 && (flags & tagUnsynchronised)) {
        frame.payload = unsynchronised(content);
        frame.formatFlags = frame24Unsynchronised;
    } else {
        frame.payload = std::move(content);
    }
}

std::optional<std::int64_t> id3v2Size(std::span<const std::uint8_t> header)
{
    if (header.size() < headerBytes || std::memcmp(header.data(), "ID3", 3) != 0 || header[3] < 2 ||
        header[3] > 4 || header[4] == 0xFF)
        return std::nullopt;
    for (std::size_t i = 6; i < headerBytes; ++i)
        if (header[i] & 0x80)
            return std::nullopt;
    const bool footer = header[3] == 4 && (header[5] & tagFooter);
    return static_cast<std::int64_t>(headerBytes + syncSafe(header.data() + 6) + (footer ? headerBytes : 0));
}

std::optional<Id3v2Tag> parseId3v2(std::span<const std::uint8_t> bytes)
{
    const auto size = id3v2Size(bytes);
    if (!size || static_cast<std::int64_t>(bytes.size()) < *size)
        return std::nullopt;
    Id3v2Tag tag;
    tag.version = bytes[3];
    tag.revision = bytes[4];
    tag.flags = bytes[5];
    tag.size = *size;
    if (tag.version == 2 && (tag.flags & tag22Compressed))
        return std::nullopt;

    std::span<const std::uint8_t> body = bytes.subspan(headerBytes, syncSafe(bytes.data() + 6));
    // 2.2 and 2.3 unsynchronise the whole tag; 2.4 does it frame by frame.
    Bytes resynced;
    if (tag.version < 4 && (tag.flags & tagUnsynchronised)) {
        resynced = resynchronised(body);
        body = resynced;
    }
    if (tag.version >= 3 && (tag.flags & tagExtendedHeader)) {
        if (body.size() < 4)
            return std::nullopt;
        const std::uint64_t extended = tag.version == 4 ? syncSafe(body.data()) : 4 + std::uint64_t{bigEndian(body.data(), 4)};
        if (extended > body.size())
            return std::nullopt;
        body = body.subspan(static_cast<std::size_t>(extended));
    }
    // 2.4 sizes are sync-safe, but some writers put plain ones there: the
    // reading that gets further is the one meant.
    ParsedFrames parsed = readFrames(body, tag.version, tag.version == 4);
    if (tag.version == 4 && !allZero(body.subspan(parsed.end))) {
        ParsedFrames plain = readFrames(body, tag.version, false);
        if (plain.end > parsed.end)
            parsed = std::move(plain);
    }
    tag.frames = std::move(parsed.frames);
    const auto rest = body.subspan(parsed.end);
    if (!allZero(rest))
        tag.unreadable.assign(rest.begin(), rest.end());
    return tag;
}

Bytes renderId3v2(const Id3v2Tag& tag, std::int64_t minimumSize)
{
    const FrameLayout layout = layoutOf(tag.version);
    Bytes body;
    for (const Id3v2Frame& frame : tag.frames) {
        body.insert(body.end(), frame.id.begin(), frame.id.end());
        const auto size = static_cast<std::uint32_t>(frame.payload.size());
        if (tag.version == 4)
            appendSyncSafe(body, size);
        else
            appendBigEndian(body, size, layout.sizeBytes);
        if (layout.flagBytes) {
            body.push_back(frame.statusFlags);
            body.push_back(frame.formatFlags);
        }
        body.insert(body.end(), frame.payload.begin(), frame.payload.end());
    }
    body.insert(body.end(), tag.unreadable.begin(), tag.unreadable.end());
    std::uint8_t flags = tag.flags & static_cast<std::uint8_t>(~tagExtendedHeader);
    if (tag.version < 4)
        flags &= static_cast<std::uint8_t>(~tagUnsynchronised);
    const bool footer = tag.hasFooter();
    const auto framed = static_cast<std::int64_t>(headerBytes + body.size());
    if (!footer && framed < minimumSize)
        body.resize(body.size() + static_cast<std::size_t>(minimumSize - framed), 0);

    Bytes out = {'I', 'D', '3', static_cast<std::uint8_t>(tag.version), static_cast<std::uint8_t>(tag.revision), flags};
    appendSyncSafe(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (footer) {
        out.insert(out.end(), {'3', 'D', 'I', static_cast<std::uint8_t>(tag.version), static_cast<std::uint8_t>(tag.revision), flags});
        appendSyncSafe(out, static_cast<std::uint32_t>(body.size()));
    }
    return out;
}

Bytes unsynchronised(std::span<const std::uint8_t> bytes)
{
    Bytes out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out.push_back(bytes[i]);
        const bool last = i + 1 == bytes.size();
        if (bytes[i] == 0xFF && (last || bytes[i + 1] == 0x00 || (bytes[i + 1] & 0xE0) == 0xE0))
            out.push_back(0x00);
    }
    return out;
}

} // namespace vbmp3::media
