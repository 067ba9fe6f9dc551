// What kind of audio a file holds, decided by its content alone.
#pragma once

#include "file_access.h"
#include "media.h"

#include <optional>

namespace vbmp3::media {

struct Probe {
    Kind kind = Kind::Mpeg;
    ByteRange mpegRange;   // where the MPEG data lies (MPEG kinds only)
    bool hasId3 = false;   // an ID3v1 or ID3v2 tag around the MPEG data
};

std::optional<Probe> probe(ByteSource& source);

} // namespace vbmp3::media
