// RIFF containers: the chunk walk behind .rmp files (and MPEG audio stored in
// a WAVE file), bounds-checked against the file's real size.
#pragma once

#include "file_access.h"
#include "media.h"

#include <array>
#include <optional>
#include <string_view>

namespace vbmp3::media {

struct RiffForm {
    std::array<char, 4> type{};   // "WAVE", "RMP3", ...
    std::int64_t end = 0;         // where the form's chunks end (never past the file)
};

// The form of a file that starts with a little-endian "RIFF" header.
std::optional<RiffForm> readRiffForm(ByteSource& source);

// The payload of the first chunk with id in the form, cut to the file's end.
std::optional<ByteRange> findChunk(ByteSource& source, const RiffForm& form, std::string_view id);

// The MPEG data of a RIFF file: the data chunk of an "RMP3" form, or of a
// "WAVE" form whose format tag says MPEG (0x0050 layers 1/2, 0x0055 layer 3).
std::optional<ByteRange> riffMpegRange(ByteSource& source);

} // namespace vbmp3::media
