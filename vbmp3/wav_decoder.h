// WAV (every PCM, float and ADPCM variant libsndfile reads) through a
// descriptor the decoder owns.
#pragma once

#include "decoder.h"
#include "unique_fd.h"

#include <memory>

namespace vbmp3 {

std::unique_ptr<Decoder> openWavDecoder(UniqueFd file);

} // namespace vbmp3
