// WAV files in every variant libsndfile reads (RIFF/RIFX WAVE, WAVE_FORMAT_
// EXTENSIBLE, RF64, Wave64), PCM or compressed.
#pragma once

#include "file_access.h"

#include <cstdint>
#include <optional>

namespace vbmp3::media {

struct WavInfo {
    std::int64_t frames = 0;  // sample frames
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;    // coded bits; 0 when the encoding has no fixed size
};

// Whether the file starts like one of the WAV variants.
bool looksLikeWav(ByteSource& source);

// The stream of a WAV file that holds at least one sample frame.
std::optional<WavInfo> readWavInfo(ByteSource& source);

} // namespace vbmp3::media
