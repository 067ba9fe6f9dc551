#include "biquad.h"

#include "biquad_kernels.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <numbers>

namespace vbmp3 {

BiquadCoefficients peakingFilter(double f0, double sampleRate, double gainDb, double q)
{
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w0 = 2.0 * std::numbers::pi * f0 / sampleRate;
    const double alpha = std::sin(w0) / (2.0 * q);
    const double cosw = std::cos(w0);
    const double a0 = 1.0 + alpha / a;
    return {(1.0 + alpha * a) / a0, -2.0 * cosw / a0, (1.0 - alpha * a) / a0, -2.0 * cosw / a0,
            (1.0 - alpha / a) / a0};
}

BiquadCoefficients lowPassFilter(double f0, double sampleRate, double q)
{
    const double w0 = 2.0 * std::numbers::pi * f0 / sampleRate;
    const double alpha = std::sin(w0) / (2.0 * q);
    const double cosw = std::cos(w0);
    const double a0 = 1.0 + alpha;
    const double b1 = (1.0 - cosw) / a0;
    return {b1 / 2.0, b1, b1 / 2.0, -2.0 * cosw / a0, (1.0 - alpha) / a0};
}

std::vector<BiquadCoefficients> butterworthLowPass(double cutoff, double sampleRate)
{
    constexpr int order = 8;
    std::vector<BiquadCoefficients> sections;
    for (int k = 1; k <= order / 2; ++k) {
        const double q = 1.0 / (2.0 * std::cos((2.0 * k - 1.0) * std::numbers::pi / (2.0 * order)));
        sections.push_back(lowPassFilter(cutoff, sampleRate, q));
    }
    return sections;
}

void BiquadCascade::setSections(const std::vector<BiquadCoefficients>& sections)
{
    sections_ = sections;
    state_.assign(sections_.size(), State{});
    keys_.clear();
}

void BiquadCascade::setSections(const std::vector<BiquadCoefficients>& sections, const std::vector<int>& keys)
{
    std::vector<State> kept(sections.size());
    for (std::size_t i = 0; i < keys.size() && i < sections.size(); ++i)
        for (std::size_t j = 0; j < keys_.size(); ++j)
            if (keys_[j] == keys[i])
                kept[i] = state_[j];
    sections_ = sections;
    state_ = std::move(kept);
    keys_ = keys;
}

void BiquadCascade::resetState()
{
    for (auto& s : state_)
        s = {};
}

namespace {

// The widest kernels the processor runs: the same work in fewer instructions.
const biquad_kernels::Table& kernels()
{
    static const biquad_kernels::Table& table = [] () -> const biquad_kernels::Table& {
        if (__builtin_cpu_supports("avx512f"))
            return biquad_kernels::wide();
        if (__builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2"))
            return biquad_kernels::fused();
        return biquad_kernels::plain();
    }();
    return table;
}

} // namespace

void BiquadCascade::process(float* data, std::size_t frames, int channels)
{
    const biquad_kernels::Table& table = kernels();
    // Longer cascades than any in this library would run in steps of ten.
    for (std::size_t first = 0; first < sections_.size(); first += kMaxSections) {
        const std::size_t count = std::min(kMaxSections, sections_.size() - first);
        const auto& run = channels == 2 ? table.stereo : table.mono;
        run[count - 1](sections_.data() + first, state_.data() + first, data, frames);
    }
}

} // namespace vbmp3
