#include "riff.h"

#include <algorithm>
#include <cstring>

namespace vbmp3::media {
namespace {

std::uint32_t littleEndian32(const std::uint8_t* p)
{
    return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[1]} << 8) | std::uint32_t{p[0]};
}

constexpr std::int64_t riffHeaderBytes = 12;
constexpr std::int64_t chunkHeaderBytes = 8;

bool isMpegFormatTag(unsigned tag) { return tag == 0x0050 || tag == 0x0055; }

} // namespace

std::optional<RiffForm> readRiffForm(ByteSource& source)
{
    const std::uint8_t* header = source.view(0, riffHeaderBytes);
    if (!header || std::memcmp(header, "RIFF", 4) != 0)
        return std::nullopt;
    RiffForm form;
    std::memcpy(form.type.data(), header + 8, 4);
    // The declared size is often wrong (files cut short, streams written
    // before their length was known): the file's own end bounds it.
    form.end = std::min<std::int64_t>(8 + std::int64_t{littleEndian32(header + 4)}, source.size());
    return form;
}

std::optional<ByteRange> findChunk(ByteSource& source, const RiffForm& form, std::string_view id)
{
    std::int64_t pos = riffHeaderBytes;
    while (form.end - pos >= chunkHeaderBytes) {
        const std::uint8_t* header = source.view(pos, chunkHeaderBytes);
        if (!header)
            return std::nullopt;
        const std::int64_t declared = littleEndian32(header + 4);
        const std::int64_t payload = pos + chunkHeaderBytes;
        if (id.size() == 4 && std::memcmp(header, id.data(), 4) == 0)
            return ByteRange{payload, std::min(declared, form.end - payload)};
        // Chunks are padded to an even length.
        pos = payload + declared + (declared & 1);
    }
    return std::nullopt;
}

std::optional<ByteRange> riffMpegRange(ByteSource& source)
{
    const auto form = readRiffForm(source);
    if (!form)
        return std::nullopt;
    const std::string_view type(form->type.data(), form->type.size());
    if (type == "WAVE") {
        const auto format = findChunk(source, *form, "fmt ");
        const std::uint8_t* tag = format && format->size >= 2 ? source.view(format->offset, 2) : nullptr;
        if (!tag || !isMpegFormatTag(tag[0] | (tag[1] << 8)))
            return std::nullopt;
    } else if (type != "RMP3") {
        return std::nullopt;
    }
    const auto data = findChunk(source, *form, "data");
    if (!data || data->size <= 0)
        return std::nullopt;
    return data;
}

} // namespace vbmp3::media
