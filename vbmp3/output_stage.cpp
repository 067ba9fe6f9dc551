#include "output_stage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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

namespace {

using Four = float __attribute__((vector_size(16)));
using FourBits = unsigned __attribute__((vector_size(16)));

// Scales the samples of a block and returns their largest magnitude, four
// samples at a time. gains holds the gain of each of four lanes.
template <std::size_t Samples>
float scaleBlock(float* samples, Four gains)
{
    static_assert(Samples % 4 == 0);
    Four largest{};
    for (std::size_t i = 0; i < Samples; i += 4) {
        Four v;
        std::memcpy(&v, samples + i, sizeof v);
        v *= gains;
        std::memcpy(samples + i, &v, sizeof v);
        const Four magnitude = reinterpret_cast<Four>(reinterpret_cast<FourBits>(v) & 0x7fffffffu);
        largest = largest > magnitude ? largest : magnitude;
    }
    return std::max(std::max(largest[0], largest[1]), std::max(largest[2], largest[3]));
}

float scaleAny(float* samples, std::size_t count, const float* gains, std::size_t gainCount)
{
    float largest = 0.0f;
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] *= gains[i % gainCount];
        largest = std::max(largest, std::abs(samples[i]));
    }
    return largest;
}

} // namespace

void OutputStage::process(float* data, std::size_t frames, double leftGain, double rightGain, bool limit)
{
    const auto channels = static_cast<std::size_t>(channels_);
    const float gains[2] = {static_cast<float>(channels == 1 ? 0.5 * (leftGain + rightGain) : leftGain),
                            static_cast<float>(rightGain)};
    for (std::size_t start = 0; start < frames; start += kBlock) {
        const std::size_t count = std::min(kBlock, frames - start);
        float* block = data + start * channels;
        float blockPeak;
        if (count == kBlock && channels == 2)
            blockPeak = scaleBlock<2 * kBlock>(block, Four{gains[0], gains[1], gains[0], gains[1]});
        else if (count == kBlock)
            blockPeak = scaleBlock<kBlock>(block, Four{gains[0], gains[0], gains[0], gains[0]});
        else
            blockPeak = scaleAny(block, count * channels, gains, channels);
        if (limit && (blockPeak > kCeiling || envelope_ > kCeiling)) {
            this->limit(block, count);
        } else {
            // The envelope at the block's end is at most this; erring high
            // only lets the limiter hold on a moment longer.
            const double decay = count == kBlock ? blockRelease_ : std::pow(release_, static_cast<double>(count));
            envelope_ = std::max(static_cast<double>(blockPeak), envelope_ * decay);
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
