#include "playback/SeekSteps.h"

#include <cmath>

namespace nuvo {

namespace {

int keyStep(int trackSeconds, int divisor)
{
    return divisor > 0 ? trackSeconds / divisor : 0;
}

} // namespace

int seekTargetAt(int trackSeconds, int barWidth, int x)
{
    if (barWidth <= 0)
        return 0;
    // The length goes through single precision, the rest in extended precision.
    const long double perPixel = static_cast<long double>(static_cast<float>(trackSeconds)) / barWidth;
    return static_cast<int>(std::trunc(perPixel * x));
}

int seekStepBack(int elapsedSeconds, int trackSeconds, int divisor)
{
    const int step = keyStep(trackSeconds, divisor);
    return step < elapsedSeconds ? elapsedSeconds - step : 0;
}

int seekStepForward(int elapsedSeconds, int trackSeconds, int divisor)
{
    const int step = keyStep(trackSeconds, divisor);
    return trackSeconds - step > elapsedSeconds ? elapsedSeconds + step : trackSeconds;
}

} // namespace nuvo
