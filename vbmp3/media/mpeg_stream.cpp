#include "mpeg_stream.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vbmp3::media {
namespace {

// kbit/s by [MPEG-1 or not][layer - 1][index]; index 0 (free format) and 15 are invalid.
constexpr std::array<std::array<std::array<int, 15>, 3>, 2> bitRates = {{
    {{
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    }},
    {{
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
    }},
}};

// Hz by [MPEG 1, 2, 2.5][index].
constexpr std::array<std::array<int, 3>, 3> sampleRates = {{
    {44100, 48000, 32000},
    {22050, 24000, 16000},
    {11025, 12000, 8000},
}};

// How far after its leading tags a stream may begin (junk, padding).
constexpr std::int64_t startSearchLimit = 256 * 1024;
// Headers that must chain before a position is taken for a stream, unless
// the data ends first.
constexpr int headersToConfirm = 4;

std::uint32_t bigEndian32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
           (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}

std::uint32_t littleEndian32(const std::uint8_t* p)
{
    return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[1]} << 8) | std::uint32_t{p[0]};
}

// Where the audio of a range lies: leading ID3v2 tags and trailing ID3v1 and
// APE tags excluded.
struct StreamBounds {
    std::int64_t begin = 0;
    std::int64_t end = 0;
    bool hasId3v2 = false;
    bool hasId3v1 = false;
};

std::int64_t id3v2TagSize(const std::uint8_t* h)
{
    if (std::memcmp(h, "ID3", 3) != 0 || h[3] == 0xFF || h[4] == 0xFF)
        return 0;
    for (int i = 6; i < 10; ++i)
        if (h[i] & 0x80)
            return 0;
    const std::int64_t body = (std::int64_t{h[6]} << 21) | (std::int64_t{h[7]} << 14) |
                              (std::int64_t{h[8]} << 7) | std::int64_t{h[9]};
    const bool hasFooter = (h[5] & 0x10) != 0;
    return 10 + body + (hasFooter ? 10 : 0);
}

StreamBounds findBounds(ByteSource& source, ByteRange range)
{
    StreamBounds bounds{range.offset, range.offset + range.size, false, false};
    // Some files carry more than one ID3v2 tag in a row.
    for (int tags = 0; tags < 8 && bounds.begin < bounds.end; ++tags) {
        const std::uint8_t* header = source.view(bounds.begin, 10);
        const std::int64_t size = header ? id3v2TagSize(header) : 0;
        if (size == 0)
            break;
        bounds.begin += size;
        bounds.hasId3v2 = true;
    }
    if (bounds.end - bounds.begin >= 128) {
        const std::uint8_t* tag = source.view(bounds.end - 128, 3);
        if (tag && std::memcmp(tag, "TAG", 3) == 0) {
            bounds.end -= 128;
            bounds.hasId3v1 = true;
        }
    }
    if (bounds.end - bounds.begin >= 32) {
        const std::uint8_t* footer = source.view(bounds.end - 32, 32);
        if (footer && std::memcmp(footer, "APETAGEX", 8) == 0) {
            const std::int64_t size = littleEndian32(footer + 12) +
                                      ((footer[23] & 0x80) ? std::int64_t{32} : 0);
            if (size >= 32 && size <= bounds.end - bounds.begin)
                bounds.end -= size;
        }
    }
    bounds.begin = std::min(bounds.begin, bounds.end);
    return bounds;
}

std::optional<FrameHeader> headerAt(ByteSource& source, std::int64_t pos, std::int64_t end)
{
    if (end - pos < 4)
        return std::nullopt;
    const std::uint8_t* bytes = source.view(pos, 4);
    return bytes ? parseFrameHeader(bytes) : std::nullopt;
}

// Whether the headers from pos on chain far enough to be taken for a stream.
bool chainConfirmed(ByteSource& source, std::int64_t pos, std::int64_t end,
                    const FrameHeader* reference)
{
    int headers = 0;
    std::optional<FrameHeader> previous;
    while (headers < headersToConfirm) {
        if (end - pos < 4) // the data ends here: what chained so far must do
            return headers >= 2;
        const auto header = headerAt(source, pos, end);
        const FrameHeader* expected = previous ? &*previous : reference;
        if (!header || (expected && !header->compatibleWith(*expected)))
            return false;
        ++headers;
        if (header->frameBytes > end - pos) // a last frame cut short
            return headers >= 2;
        pos += header->frameBytes;
        previous = header;
    }
    return true;
}

// The first position in [from, limit) where a stream begins. Linear in the
// bytes searched: the window moves forward only, candidates are looked at in
// place, and only one whose header parses costs further reads.
std::optional<std::int64_t> findStream(ByteSource& source, std::int64_t from, std::int64_t limit,
                                       std::int64_t end, const FrameHeader* reference)
{
    limit = std::min(limit, end);
    while (from < limit) {
        const auto bytes = source.viewFrom(from, 4096);
        if (bytes.empty())
            return std::nullopt;
        const auto chunk = static_cast<std::size_t>(
            std::min<std::int64_t>(limit - from, static_cast<std::int64_t>(bytes.size())));
        std::size_t at = 0;
        for (;;) {
            if (bytes[at] != 0xFF) {
                const void* sync = std::memchr(bytes.data() + at, 0xFF, chunk - at);
                if (!sync) {
                    at = chunk;
                    break;
                }
                at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(sync) - bytes.data());
            }
            // No header starts with FF FF FF (its bit-rate index would be
            // 15): a run of 0xFF is passed over to its last two bytes.
            if (at + 3 <= chunk && bytes[at + 1] == 0xFF && bytes[at + 2] == 0xFF) {
                const auto run = std::find_if(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(chunk),
                                              [](std::uint8_t b) { return b != 0xFF; });
                at = static_cast<std::size_t>(run - bytes.begin()) - 2;
            }
            const bool inView = at + 4 <= bytes.size();
            if (!inView || parseFrameHeader(bytes.data() + at))
                break;
            if (++at == chunk)
                break;
        }
        if (at == chunk) {
            from += static_cast<std::int64_t>(chunk);
            continue;
        }
        // Chaining reads further on, which may move the window.
        const std::int64_t pos = from + static_cast<std::int64_t>(at);
        if (chainConfirmed(source, pos, end, reference))
            return pos;
        from = pos + 1;
    }
    return std::nullopt;
}

// What an encoder put in a stream's first frame instead of audio: a Xing,
// Info or VBRI frame, with LAME's encoder delay and padding.
struct EncoderInfo {
    bool present = false;
    bool variableBitRate = false;
    std::int64_t frames = -1;  // frames carrying audio, as the encoder counted them
    int delay = 0;
    int padding = 0;
};

EncoderInfo readEncoderInfo(ByteSource& source, std::int64_t pos, const FrameHeader& header)
{
    EncoderInfo info;
    if (header.layer != 3)
        return info;
    const auto size = static_cast<std::size_t>(header.frameBytes);
    const std::uint8_t* frame = source.view(pos, size);
    if (!frame)
        return info;
    const bool mpeg1 = header.version == 1;
    const std::size_t sideInfo = header.mode == 3 ? (mpeg1 ? 17 : 9) : (mpeg1 ? 32 : 17);
    std::size_t p = 4 + (header.crc ? 2 : 0) + sideInfo;
    const auto has = [&](std::size_t at, std::size_t count) { return at + count <= size; };
    if (has(p, 8) && (std::memcmp(frame + p, "Xing", 4) == 0 || std::memcmp(frame + p, "Info", 4) == 0)) {
        info.present = true;
        info.variableBitRate = frame[p] == 'X';
        const std::uint32_t flags = bigEndian32(frame + p + 4);
        p += 8;
        if ((flags & 1) && has(p, 4)) {
            info.frames = bigEndian32(frame + p);
            p += 4;
        }
        p += (flags & 2) ? 4 : 0;
        p += (flags & 4) ? 100 : 0;
        p += (flags & 8) ? 4 : 0;
        static constexpr std::array<const char*, 3> gaplessEncoders = {"LAME", "Lavf", "Lavc"};
        const bool knownEncoder = has(p, 24) && std::any_of(gaplessEncoders.begin(), gaplessEncoders.end(),
            [&](const char* name) { return std::memcmp(frame + p, name, 4) == 0; });
        if (knownEncoder) {
            info.delay = (frame[p + 21] << 4) | (frame[p + 22] >> 4);
            info.padding = ((frame[p + 22] & 0x0F) << 8) | frame[p + 23];
        }
        return info;
    }
    constexpr std::size_t vbriAt = 4 + 32;
    if (has(vbriAt, 18) && std::memcmp(frame + vbriAt, "VBRI", 4) == 0) {
        info.present = true;
        info.variableBitRate = true;
        info.frames = bigEndian32(frame + vbriAt + 14);
    }
    return info;
}

// What a gapless decoder (libmpg123) plays of the stream. The decoder's own
// delay of a layer III stream is taken off with the encoder delay at the
// start and given back at the end, where the padding is cut.
std::int64_t gaplessSamples(const MpegStream& stream, const EncoderInfo& encoder)
{
    constexpr int layer3DecoderDelay = 529;
    const std::int64_t spf = stream.first.samples;
    const bool announced = encoder.frames >= 0 && (encoder.delay > 0 || encoder.padding > 0);
    if (!announced || encoder.frames == stream.frames)
        return stream.frames * spf - encoder.delay - encoder.padding;
    // Cut short: the padding went with the end, and the stream plays to its
    // last whole frame.
    if (stream.frames < encoder.frames)
        return stream.frames * spf - encoder.delay - layer3DecoderDelay;
    // More frames than announced: the decoder stops where the encoder's end was.
    return encoder.frames * spf - encoder.delay - encoder.padding;
}

// Frame count, bytes and bit rate variation from the first audio frame on.
void countFrames(ByteSource& source, std::int64_t pos, std::int64_t end, MpegStream& stream)
{
    for (;;) {
        const auto header = headerAt(source, pos, end);
        if (!header || !header->compatibleWith(stream.first)) {
            // Damage inside the stream: go on where the frames chain again.
            const auto next = findStream(source, pos + 1, end, end, &stream.first);
            if (!next)
                return;
            pos = *next;
            continue;
        }
        if (header->frameBytes > end - pos)
            return;
        ++stream.frames;
        stream.audioBytes += header->frameBytes;
        if (header->bitRate != stream.first.bitRate)
            stream.variableBitRate = true;
        pos += header->frameBytes;
    }
}

} // namespace

bool FrameHeader::compatibleWith(const FrameHeader& other) const
{
    return version == other.version && layer == other.layer && sampleRate == other.sampleRate &&
           (mode == 3) == (other.mode == 3);
}

std::optional<FrameHeader> parseFrameHeader(const std::uint8_t* data)
{
    const std::uint32_t h = bigEndian32(data);
    if ((h & 0xFFE00000u) != 0xFFE00000u)
        return std::nullopt;
    const unsigned versionBits = (h >> 19) & 3;
    const unsigned layerBits = (h >> 17) & 3;
    const unsigned bitRateIndex = (h >> 12) & 15;
    const unsigned sampleRateIndex = (h >> 10) & 3;
    if (versionBits == 1 || layerBits == 0 || bitRateIndex == 0 || bitRateIndex == 15 ||
        sampleRateIndex == 3)
        return std::nullopt;

    FrameHeader header;
    header.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    header.layer = 4 - static_cast<int>(layerBits);
    const bool mpeg1 = header.version == 1;
    const std::size_t versionRow = mpeg1 ? 0 : header.version == 2 ? 1 : 2;
    header.bitRate = bitRates[mpeg1 ? 0 : 1][static_cast<std::size_t>(header.layer - 1)][bitRateIndex];
    header.sampleRate = sampleRates[versionRow][sampleRateIndex];
    header.crc = ((h >> 16) & 1) == 0;
    const int padding = static_cast<int>((h >> 9) & 1);
    header.mode = static_cast<int>((h >> 6) & 3);
    header.modeExtension = static_cast<int>((h >> 4) & 3);
    header.copyright = ((h >> 3) & 1) != 0;
    header.original = ((h >> 2) & 1) != 0;
    header.emphasis = static_cast<int>(h & 3);

    const int bitsPerSecond = header.bitRate * 1000;
    switch (header.layer) {
    case 1:
        header.samples = 384;
        header.frameBytes = (12 * bitsPerSecond / header.sampleRate + padding) * 4;
        break;
    case 2:
        header.samples = 1152;
        header.frameBytes = 144 * bitsPerSecond / header.sampleRate + padding;
        break;
    default:
        header.samples = mpeg1 ? 1152 : 576;
        header.frameBytes = (mpeg1 ? 144 : 72) * bitsPerSecond / header.sampleRate + padding;
        break;
    }
    return header;
}

std::optional<MpegStream> scanMpeg(ByteSource& source, ByteRange range, ScanDepth depth)
{
    if (range.offset < 0 || range.size <= 0 || range.offset > source.size() ||
        range.size > source.size() - range.offset)
        return std::nullopt;
    const StreamBounds bounds = findBounds(source, range);
    const auto start = findStream(source, bounds.begin, bounds.begin + startSearchLimit,
                                  bounds.end, nullptr);
    if (!start)
        return std::nullopt;
    const auto firstHeader = headerAt(source, *start, bounds.end);
    if (!firstHeader)
        return std::nullopt;
    const EncoderInfo encoder = readEncoderInfo(source, *start, *firstHeader);

    // The first frame that carries sound, whole.
    std::int64_t audioStart = *start + (encoder.present ? firstHeader->frameBytes : 0);
    auto firstAudio = headerAt(source, audioStart, bounds.end);
    if (!firstAudio || !firstAudio->compatibleWith(*firstHeader)) {
        const auto next = findStream(source, audioStart, bounds.end, bounds.end, &*firstHeader);
        if (!next)
            return std::nullopt;
        audioStart = *next;
        firstAudio = headerAt(source, audioStart, bounds.end);
    }
    if (!firstAudio || firstAudio->frameBytes > bounds.end - audioStart)
        return std::nullopt;

    MpegStream stream;
    stream.first = *firstAudio;
    stream.hasId3v2 = bounds.hasId3v2;
    stream.hasId3v1 = bounds.hasId3v1;
    stream.variableBitRate = encoder.variableBitRate;
    if (depth == ScanDepth::Start)
        return stream;

    countFrames(source, audioStart, bounds.end, stream);
    stream.samples = std::max<std::int64_t>(gaplessSamples(stream, encoder), 0);
    return stream;
}

} // namespace vbmp3::media
