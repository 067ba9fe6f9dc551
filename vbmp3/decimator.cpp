#include "decimator.h"

#include <cmath>
#include <numbers>

namespace vbmp3 {
namespace {

double besselI0(double x)
{
    double sum = 1.0;
    double term = 1.0;
    for (int k = 1; k < 50; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
        if (term < 1e-12 * sum)
            break;
    }
    return sum;
}

// Pass band to 0.45 and stop band from 0.55 of the output rate, about 80 dB down.
std::vector<float> designTaps(int factor, std::size_t halfLength)
{
    const double cutoff = 0.5 / factor;  // centre of the transition, as a fraction of the input rate
    const double beta = 7.86;
    const double norm = besselI0(beta);
    std::vector<double> taps(2 * halfLength + 1);
    double sum = 0.0;
    for (std::size_t i = 0; i < taps.size(); ++i) {
        const double n = static_cast<double>(i) - static_cast<double>(halfLength);
        const double x = 2.0 * std::numbers::pi * cutoff * n;
        const double sinc = n == 0.0 ? 1.0 : std::sin(x) / x;
        const double r = n / static_cast<double>(halfLength);
        const double window = besselI0(beta * std::sqrt(std::max(0.0, 1.0 - r * r))) / norm;
        taps[i] = sinc * window;
        sum += taps[i];
    }
    std::vector<float> result(taps.size());
    for (std::size_t i = 0; i < taps.size(); ++i)
        result[i] = static_cast<float>(taps[i] / sum);  // unity gain at DC
    return result;
}

} // namespace

void Decimator::configure(int factor, int channels)
{
    factor_ = factor < 1 ? 1 : factor;
    channels_ = channels;
    halfLength_ = factor_ == 1 ? 0 : static_cast<std::size_t>(26 * factor_);
    taps_ = factor_ == 1 ? std::vector<float>{} : designTaps(factor_, halfLength_);
    reset();
}

void Decimator::reset()
{
    // The frames before the start are silence.
    history_.assign(halfLength_ * static_cast<std::size_t>(channels_), 0.0f);
    inputSeen_ = 0;
    outputMade_ = 0;
}

void Decimator::process(const float* in, std::size_t frames, std::vector<float>& out)
{
    if (factor_ == 1) {
        out.insert(out.end(), in, in + frames * static_cast<std::size_t>(channels_));
        return;
    }
    history_.insert(history_.end(), in, in + frames * static_cast<std::size_t>(channels_));
    inputSeen_ += frames;
    emit(out, history_.size() / static_cast<std::size_t>(channels_));
}

void Decimator::flush(std::vector<float>& out)
{
    if (factor_ == 1)
        return;
    // Pad with silence so every output frame up to the last input frame is made.
    history_.resize(history_.size() + (halfLength_ + static_cast<std::size_t>(factor_)) * static_cast<std::size_t>(channels_), 0.0f);
    const std::size_t wanted = (inputSeen_ + static_cast<std::size_t>(factor_) - 1) / static_cast<std::size_t>(factor_);
    const std::size_t before = out.size();
    emit(out, history_.size() / static_cast<std::size_t>(channels_));
    const std::size_t made = (out.size() - before) / static_cast<std::size_t>(channels_);
    const std::size_t excess = outputMade_ > wanted ? outputMade_ - wanted : 0;
    out.resize(out.size() - std::min(made, excess) * static_cast<std::size_t>(channels_));
    outputMade_ -= std::min(made, excess);
    history_.clear();
}

void Decimator::emit(std::vector<float>& out, std::size_t available)
{
    const std::size_t span = taps_.size();
    const auto ch = static_cast<std::size_t>(channels_);
    const auto step = static_cast<std::size_t>(factor_);
    std::size_t start = 0;  // frame in history_ where the next output's window begins
    while (start + span <= available) {
        const float* window = history_.data() + start * ch;
        for (std::size_t c = 0; c < ch; ++c) {
            float acc = 0.0f;
            for (std::size_t t = 0; t < span; ++t)
                acc += taps_[t] * window[t * ch + c];
            out.push_back(acc);
        }
        ++outputMade_;
        start += step;
    }
    history_.erase(history_.begin(), history_.begin() + static_cast<std::ptrdiff_t>(start * ch));
}

} // namespace vbmp3
