#include "biquad.h"

#include <cmath>
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

void BiquadCascade::process(float* data, std::size_t frames, int channels)
{
    const std::size_t count = sections_.size();
    if (count == 0)
        return;
    // Frame by frame through all sections: the sections' recurrences are
    // independent of one another, so the processor overlaps them.
    for (std::size_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            double x = data[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
            for (std::size_t k = 0; k < count; ++k) {
                const BiquadCoefficients& f = sections_[k];
                State& s = state_[k];
                const double y = f.b0 * x + s.z1[c];
                s.z1[c] = f.b1 * x - f.a1 * y + s.z2[c];
                s.z2[c] = f.b2 * x - f.a2 * y;
                x = y;
            }
            data[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] = static_cast<float>(x);
        }
    }
}

} // namespace vbmp3
