// Second-order IIR sections (transposed direct form II) and their design.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace vbmp3 {

struct BiquadCoefficients {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;  // normalised so that a0 = 1
};

// Peaking filter of the audio EQ cookbook: gainDb at f0, unity far from it.
BiquadCoefficients peakingFilter(double f0, double sampleRate, double gainDb, double q);
// Second-order low-pass of the audio EQ cookbook.
BiquadCoefficients lowPassFilter(double f0, double sampleRate, double q);

// A chain of sections run over interleaved audio of one or two channels.
// Coefficients can be replaced between blocks while the state carries on, so
// a change of settings does not click.
class BiquadCascade {
public:
    void setSections(const std::vector<BiquadCoefficients>& sections);
    // As setSections; a section whose key was present before keeps its state.
    void setSections(const std::vector<BiquadCoefficients>& sections, const std::vector<int>& keys);
    bool empty() const { return sections_.empty(); }
    void resetState();
    void process(float* interleaved, std::size_t frames, int channels);

    // Sections of one cascade at most (the equalizer's ten bands).
    static constexpr std::size_t kMaxSections = 10;

    struct State {
        std::array<double, 2> z1{}, z2{};  // per channel
    };

private:
    std::vector<BiquadCoefficients> sections_;
    std::vector<State> state_;
    std::vector<int> keys_;
};

// An eighth-order Butterworth low-pass (four sections) at cutoff.
std::vector<BiquadCoefficients> butterworthLowPass(double cutoff, double sampleRate);

} // namespace vbmp3
