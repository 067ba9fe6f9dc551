// The equalizer curve: ten bands, 60 Hz to 16 kHz, in tenths of a decibel.
#pragma once

#include "vbmp3.h"

#include <array>
#include <cstdint>

namespace nuvo {

struct EqualizerState {
    std::array<std::int32_t, VBMP3_EQUALIZER_BANDS> table{};
};

} // namespace nuvo
