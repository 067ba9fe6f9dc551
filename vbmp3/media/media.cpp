#include "media.h"

#include "file_access.h"
#include "mpeg_stream.h"
#include "probe.h"
#include "riff.h"
#include "tags.h"
#include "wav.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace vbmp3::media {
namespace {

std::int32_t saturated(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

void fillMpegInfo(const MpegStream& stream, std::int64_t fileSize, MpegRecord& info)
{
    const FrameHeader& first = stream.first;
    info = MpegRecord{};
    info.version = first.version;
    info.layer = first.layer;
    info.vbr = stream.variableBitRate ? 1 : 0;
    if (stream.variableBitRate && stream.frames > 0) {
        const double seconds = static_cast<double>(stream.frames) * first.samples / first.sampleRate;
        info.bitRate = saturated(std::llround(static_cast<double>(stream.audioBytes) * 8 / seconds / 1000));
    } else {
        info.bitRate = first.bitRate;
    }
    info.mode = first.mode;
    info.modeExtension = first.modeExtension;
    info.copyright = first.copyright ? 1 : 0;
    info.original = first.original ? 1 : 0;
    info.emphasis = first.emphasis;
    info.channels = first.channels();
    info.sampleRate = first.sampleRate;
    info.fileSize = saturated(fileSize);
    info.frames = saturated(stream.frames);
    info.seconds = saturated(stream.samples / first.sampleRate);
}

void fillWavInfo(const WavInfo& wav, std::int64_t fileSize, MpegRecord& info)
{
    info = MpegRecord{};
    info.mode = wav.channels == 1 ? 3 : 0;
    info.channels = wav.channels;
    info.sampleRate = wav.sampleRate;
    if (wav.bitsPerSample > 0) {
        info.bitRate = saturated(std::int64_t{wav.sampleRate} * wav.bitsPerSample * wav.channels / 1000);
    } else {
        // Encodings without a fixed sample size: the file's own average.
        const double seconds = static_cast<double>(wav.frames) / wav.sampleRate;
        info.bitRate = saturated(std::llround(static_cast<double>(fileSize) * 8 / seconds / 1000));
    }
    info.fileSize = saturated(fileSize);
    info.frames = saturated(wav.frames);
    info.seconds = saturated(wav.frames / wav.sampleRate);
}

bool fillStreamInfo(ByteSource& source, const Probe& found, MpegRecord& info)
{
    if (found.kind == Kind::Wav) {
        const auto wav = readWavInfo(source);
        if (wav)
            fillWavInfo(*wav, source.size(), info);
        return wav.has_value();
    }
    const auto stream = scanMpeg(source, found.mpegRange, ScanDepth::Whole);
    if (stream)
        fillMpegInfo(*stream, source.size(), info);
    return stream.has_value();
}

} // namespace

std::optional<Kind> detectKind(const std::string& path)
{
    auto source = ByteSource::open(path);
    if (!source)
        return std::nullopt;
    const auto found = probe(*source);
    return found ? std::optional(found->kind) : std::nullopt;
}

std::int32_t fileType(const std::string& path)
{
    auto source = ByteSource::open(path);
    const auto found = source ? probe(*source) : std::nullopt;
    if (!found)
        return -1;
    std::int32_t type = 0;
    switch (found->kind) {
    case Kind::Mpeg:
        type = VBMP3_TYPE_MPEG | (found->hasId3 ? VBMP3_TYPE_HAS_TAG : 0);
        break;
    case Kind::Wav:
        type = VBMP3_TYPE_WAV | VBMP3_TYPE_NO_TAG_WRITE |
               (readTags(*source, &*found).empty() ? 0 : VBMP3_TYPE_HAS_TAG);
        break;
    case Kind::RiffMpeg:
        type = VBMP3_TYPE_RIFF_MPEG | VBMP3_TYPE_NO_TAG_WRITE;
        break;
    }
    const auto resolved = resolvedPath(path);
    if (!resolved || !mayReplace(*resolved, source->status()))
        type |= VBMP3_TYPE_READ_ONLY;
    return type;
}

std::optional<ByteRange> riffMpegData(const std::string& path)
{
    auto source = ByteSource::open(path);
    return source ? riffMpegRange(*source) : std::nullopt;
}

bool readTag(const std::string& path, TagRecord& tag)
{
    fillRecord(TagFields{}, tag);
    auto source = ByteSource::open(path);
    if (!source)
        return false;
    const auto found = probe(*source);
    fillRecord(readTags(*source, found ? &*found : nullptr), tag);
    return true;
}

bool readFileInfo(const std::string& path, TagRecord& tag, MpegRecord& info)
{
    fillRecord(TagFields{}, tag);
    info = MpegRecord{};
    auto source = ByteSource::open(path);
    const auto found = source ? probe(*source) : std::nullopt;
    if (!found || !fillStreamInfo(*source, *found, info))
        return false;
    fillRecord(readTags(*source, &*found), tag);
    return true;
}

} // namespace vbmp3::media
