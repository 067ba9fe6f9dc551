// The last step before the device: volume, then a peak limiter so that no
// boost of the equalizer makes the output clip. Audio that nothing raised
// passes the limiter untouched, so a loud master plays as it was made.
#pragma once

#include <cstddef>

namespace vbmp3 {

// Gain of a volume setting 0..100: (volume / 100) squared, that is
// 40 * log10(volume / 100) dB. 100 is unity, 50 is -12.04 dB, 0 is silence.
double volumeGain(int volume);

class OutputStage {
public:
    void configure(int rate, int channels);
    void reset() { envelope_ = 0.0; }
    // limit: the audio was raised on its way (see SignalChain::addsGain).
    void process(float* interleaved, std::size_t frames, double leftGain, double rightGain, bool limit);

    // Peaks above this level are brought down to it.
    static constexpr double kCeiling = 0.99;

private:
    void limit(float* frames, std::size_t count);

    int channels_ = 2;
    double release_ = 0.0;       // per-frame decay of the envelope
    double blockRelease_ = 0.0;  // decay over a block of kBlock frames
    double envelope_ = 0.0;
};

} // namespace vbmp3
