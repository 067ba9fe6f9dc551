// The inner loops of BiquadCascade, built three times: for any x86-64
// processor, for those with FMA and AVX2, and for those with AVX-512.
#pragma once

#include "biquad.h"

#include <array>

namespace vbmp3::biquad_kernels {

using Kernel = void (*)(const BiquadCoefficients* sections, BiquadCascade::State* state, float* data,
                        std::size_t frames);

struct Table {
    std::array<Kernel, BiquadCascade::kMaxSections> stereo;  // index: sections - 1
    std::array<Kernel, BiquadCascade::kMaxSections> mono;
};

const Table& plain();
const Table& fused();
const Table& wide();

} // namespace vbmp3::biquad_kernels
