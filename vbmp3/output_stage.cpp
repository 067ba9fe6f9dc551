#include "output_stage.h"

#include <algorithm>
#include <cmath>

namespace vbmp3 {

double volumeGain(int volume)
{
    const double v = std::clamp(volume, 0, 100) / 100.0;
    return v * v;
}

namespace {

// Frames looked at together: a block that stays below the ceiling is only
// scaled, which is most of the time.
constexpr std::size_t kBlock = 64;

} // namespace

void OutputStage::configure(int rate, int channels)
{
    channels_ = channels;
    // Reacts at once to a peak and lets go over about 100 ms: a steady tone
    // is turned down evenly instead of being squared off.
    release_ = std::exp(-1.0 / (0.1 * std::max(rate, 1)));
    blockRelease_ = std::pow(release_, static_cast<double>(kBlock));
    reset();
}

void OutputStage::process(float* data, std::size_t frames, double leftGain, double rightGain)
{
    const auto channels = static_cast<std::size_t>(channels_);
    const float left = static_cast<float>(channels == 1 ? 0.5 * (leftGain + rightGain) : leftGain);
    const float right = static_cast<float>(rightGain);
    for (std::size_t start = 0; start < frames; start += kBlock) {
        const std::size_t count = std::min(kBlock, frames - start);
        float* block = data + start * channels;
        float blockPeak = 0.0f;
        if (channels == 2) {
            for (std::size_t i = 0; i < count; ++i) {
                block[2 * i] *= left;
                block[2 * i + 1] *= right;
                blockPeak = std::max(blockPeak, std::max(std::abs(block[2 * i]), std::abs(block[2 * i + 1])));
            }
        } else {
            for (std::size_t i = 0; i < count; ++i) {
                block[i] *= left;
                blockPeak = std::max(blockPeak, std::abs(block[i]));
            }
        }
        if (blockPeak > kCeiling || envelope_ > kCeiling) {
            limit(block, count);
        } else {
            // The envelope at the block's end is at most this; erring high
            // only lets the limiter hold on a moment longer.
            envelope_ = std::max(static_cast<double>(blockPeak), envelope_ * (count == kBlock ? blockRelease_ : std::pow(release_, static_cast<double>(count))));
        }
    }
}

void OutputStage::limit(float* data, std::size_t frames)
{
    const auto channels = static_cast<std::size_t>(channels_);
    for (std::size_t i = 0; i < frames; ++i) {
        float* frame = data + i * channels;
        double peak = 0.0;
        for (std::size_t c = 0; c < channels; ++c)
            peak = std::max(peak, static_cast<double>(std::abs(frame[c])));
        envelope_ = std::max(peak, envelope_ * release_);
        if (envelope_ > kCeiling) {
            const auto g = static_cast<float>(kCeiling / envelope_);
            for (std::size_t c = 0; c < channels; ++c)
                frame[c] *= g;
        }
    }
}

} // namespace vbmp3
