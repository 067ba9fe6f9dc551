#include "output_stage.h"

#include <algorithm>
#include <cmath>

namespace vbmp3 {

double volumeGain(int volume)
{
    const double v = std::clamp(volume, 0, 100) / 100.0;
    return v * v;
}

void OutputStage::configure(int rate, int channels)
{
    channels_ = channels;
    // Reacts at once to a peak and lets go over about 100 ms: a steady tone
    // is turned down evenly instead of being squared off.
    release_ = std::exp(-1.0 / (0.1 * std::max(rate, 1)));
    reset();
}

void OutputStage::process(float* data, std::size_t frames, double leftGain, double rightGain)
{
    const double gains[2] = {channels_ == 1 ? 0.5 * (leftGain + rightGain) : leftGain, rightGain};
    const auto channels = static_cast<std::size_t>(channels_);
    for (std::size_t i = 0; i < frames; ++i) {
        float* frame = data + i * channels;
        double peak = 0.0;
        for (std::size_t c = 0; c < channels; ++c) {
            const double v = frame[c] * gains[c];
            frame[c] = static_cast<float>(v);
            peak = std::max(peak, std::abs(v));
        }
        envelope_ = std::max(peak, envelope_ * release_);
        if (envelope_ > kCeiling) {
            const auto g = static_cast<float>(kCeiling / envelope_);
            for (std::size_t c = 0; c < channels; ++c)
                frame[c] *= g;
        }
    }
}

} // namespace vbmp3
