#include "signal_chain.h"

namespace vbmp3 {

StreamFormat chainOutput(const ChainConfig& config)
{
    const int factor = config.factor < 1 ? 1 : config.factor;
    return {config.source.rate / factor, config.mono ? 1 : config.source.channels};
}

void SignalChain::configure(const ChainConfig& config)
{
    config_ = config;
    output_ = chainOutput(config);
    decimator_.configure(config.factor, config.source.channels);
    const bool cut = config.frequencyLimit < 24000 && config.frequencyLimit < output_.rate / 2;
    if (cut)
        limit_.setSections(butterworthLowPass(config.frequencyLimit, output_.rate));
    else
        limit_.setSections({});
    equalizer_.setSampleRate(output_.rate);
    reset();
}

void SignalChain::reset()
{
    decimator_.reset();
    limit_.resetState();
    equalizer_.reset();
}

void SignalChain::process(const float* in, std::size_t frames, std::vector<float>& out)
{
    const std::size_t from = out.size();
    decimator_.process(in, frames, out);
    shape(out, from);
}

void SignalChain::flush(std::vector<float>& out)
{
    const std::size_t from = out.size();
    decimator_.flush(out);
    shape(out, from);
}

void SignalChain::shape(std::vector<float>& out, std::size_t from)
{
    const int sourceChannels = config_.source.channels;
    std::size_t frames = (out.size() - from) / static_cast<std::size_t>(sourceChannels);
    if (frames == 0)
        return;
    if (output_.channels == 1 && sourceChannels == 2) {
        float* p = out.data() + from;
        for (std::size_t i = 0; i < frames; ++i)
            p[i] = 0.5f * (p[2 * i] + p[2 * i + 1]);
        out.resize(from + frames);
    }
    float* p = out.data() + from;
    limit_.process(p, frames, output_.channels);
    equalizer_.process(p, frames, output_.channels);
}

} // namespace vbmp3
