#include "equalizer.h"

namespace vbmp3 {
namespace {

// About one octave wide: neighbouring bands overlap smoothly, and a band's
// boost has faded to a tenth of a dB three octaves away.
constexpr double kBandQ = 1.41;

} // namespace

void Equalizer::setSampleRate(int rate)
{
    rate_ = rate;
    rebuild();
}

void Equalizer::setGains(const std::optional<EqualizerGains>& gains)
{
    gains_ = gains;
    rebuild();
}

void Equalizer::rebuild()
{
    std::vector<BiquadCoefficients> sections;
    std::vector<int> bands;
    boosts_ = false;
    if (gains_) {
        for (int band = 0; band < kEqualizerBands; ++band) {
            const std::int32_t gain = (*gains_)[static_cast<std::size_t>(band)];
            const double hz = kBandHz[static_cast<std::size_t>(band)];
            // A flat band changes nothing, and a band at or above the Nyquist
            // frequency cannot be shaped at this rate.
            if (gain == 0 || hz >= rate_ / 2.0)
                continue;
            sections.push_back(peakingFilter(hz, rate_, gain / 10.0, kBandQ));
            boosts_ = boosts_ || gain > 0;
            bands.push_back(band);
        }
    }
    // Bands that stay on keep their state, so the sound changes smoothly.
    filters_.setSections(sections, bands);
}

} // namespace vbmp3
