// The library's settings with their defaults and sensible ranges.
#pragma once

#include "vbmp3.h"

namespace vbmp3 {

constexpr int kFrameSamples = 1152;  // one MPEG layer 2/3 frame: the unit of the buffer options

constexpr BufferOptions kDefaultBufferOptions{30, 20, 5, 0};
constexpr DecodeOptions kDefaultDecodeOptions{0, 0, 24000};

// Frame counts 1..1000, sleep times 0..1000 ms.
BufferOptions clampedBufferOptions(const BufferOptions& options);
// Down-sampling 0..2, channels 0..1, frequency limit 100..48000 Hz.
DecodeOptions clampedDecodeOptions(const DecodeOptions& options);

} // namespace vbmp3
