// Down-sampling by 2 or 4: a linear-phase low-pass (Kaiser-windowed sinc)
// followed by keeping every factor-th frame. The filter's delay is taken out,
// so output frame k lines up with input frame k * factor and n input frames
// give ceil(n / factor) output frames once flushed.
#pragma once

#include <cstddef>
#include <vector>

namespace vbmp3 {

class Decimator {
public:
    // factor 1 passes audio through unchanged.
    void configure(int factor, int channels);
    void reset();
    int factor() const { return factor_; }
    // Appends the output frames that in makes available.
    void process(const float* in, std::size_t frames, std::vector<float>& out);
    // End of the stream: appends the frames still held back by the delay.
    void flush(std::vector<float>& out);

private:
    void emit(std::vector<float>& out, std::size_t available);

    int factor_ = 1;
    int channels_ = 2;
    std::size_t halfLength_ = 0;        // taps on either side of the centre
    std::vector<float> taps_;           // 2 * halfLength_ + 1 taps
    std::vector<float> history_;        // interleaved input, starting halfLength_ frames before next output's centre
    std::size_t inputSeen_ = 0;         // input frames fed since the reset
    std::size_t outputMade_ = 0;        // output frames made since the reset
};

} // namespace vbmp3
