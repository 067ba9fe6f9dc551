#include "options.h"

#include <algorithm>

namespace vbmp3 {

BufferOptions clampedBufferOptions(const BufferOptions& o)
{
    return {std::clamp(o.inputFrames, 1, 1000), std::clamp(o.outputFrames, 1, 1000),
            std::clamp(o.inputSleepMs, 0, 1000), std::clamp(o.outputSleepMs, 0, 1000)};
}

DecodeOptions clampedDecodeOptions(const DecodeOptions& o)
{
    return {std::clamp(o.downSampling, 0, 2), std::clamp(o.channels, 0, 1), std::clamp(o.frequencyLimit, 100, 48000)};
}

} // namespace vbmp3
