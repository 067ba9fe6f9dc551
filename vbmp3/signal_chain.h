// What happens to decoded audio before it is queued: down-sampling, channel
// mix, frequency limit and equalizer. Volume and the limiter come later, when
// the audio is handed to the device (see output_stage.h), so a volume change
// is heard within the output buffer rather than after the read-ahead.
#pragma once

#include "biquad.h"
#include "decimator.h"
#include "decoder.h"
#include "equalizer.h"

#include <optional>
#include <vector>

namespace vbmp3 {

struct ChainConfig {
    StreamFormat source;
    int factor = 1;               // 1, 2 or 4
    bool mono = false;            // mix two channels into one
    int frequencyLimit = 24000;   // Hz; at or above 24000 nothing is cut
};

class SignalChain {
public:
    void configure(const ChainConfig& config);
    StreamFormat output() const { return output_; }
    // Forgets all history, as at the start of a stream.
    void reset();
    void setEqualizer(const std::optional<EqualizerGains>& gains) { equalizer_.setGains(gains); }
    // Whether the chain raises the level anywhere (only the equalizer can):
    // only then may it need the limiter.
    bool addsGain() const { return equalizer_.boosts(); }
    // Appends the output that frames of source audio make.
    void process(const float* in, std::size_t frames, std::vector<float>& out);
    // End of the stream: appends what the down-sampling still holds.
    void flush(std::vector<float>& out);

private:
    void shape(std::vector<float>& out, std::size_t from);

    ChainConfig config_;
    StreamFormat output_;
    Decimator decimator_;
    BiquadCascade limit_;
    Equalizer equalizer_;
    std::vector<float> scratch_;
};

// The output format of a source format under the decode options.
StreamFormat chainOutput(const ChainConfig& config);

} // namespace vbmp3
