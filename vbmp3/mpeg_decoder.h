// MPEG audio layers 1-3 through libmpg123, read through a descriptor the
// decoder owns and limited to a byte range (the data chunk of an .rmp file, or
// the whole file).
#pragma once

#include "decoder.h"
#include "unique_fd.h"

#include <memory>

namespace vbmp3 {

struct ByteSpan {
    std::int64_t offset = 0;
    std::int64_t size = 0;
};

std::unique_ptr<Decoder> openMpegDecoder(UniqueFd file, ByteSpan span, DecoderUse use);

} // namespace vbmp3
