// The ten-band equalizer: peaking filters at 60, 170, 310, 600 Hz and 1, 3, 6,
// 12, 14, 16 kHz with gains in tenths of a dB.
#pragma once

#include "biquad.h"

#include <array>
#include <cstdint>
#include <optional>

namespace vbmp3 {

constexpr int kEqualizerBands = 10;
using EqualizerGains = std::array<std::int32_t, kEqualizerBands>;  // tenths of a dB, -120..120

class Equalizer {
public:
    static constexpr std::array<double, kEqualizerBands> kBandHz{60, 170, 310, 600, 1000, 3000, 6000, 12000, 14000, 16000};

    void setSampleRate(int rate);
    // Nothing switches it off. Filter state carries over, so changes do not click.
    void setGains(const std::optional<EqualizerGains>& gains);
    void reset() { filters_.resetState(); }
    // Whether a band in force raises its frequencies.
    bool boosts() const { return boosts_; }
    void process(float* interleaved, std::size_t frames, int channels) { filters_.process(interleaved, frames, channels); }

private:
    void rebuild();

    int rate_ = 44100;
    std::optional<EqualizerGains> gains_;
    bool boosts_ = false;
    BiquadCascade filters_;
};

} // namespace vbmp3
