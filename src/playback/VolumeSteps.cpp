#include "playback/VolumeSteps.h"

#include <algorithm>

namespace nuvo {

int menuVolumeStep(int volume, VolumeDirection direction)
{
    if (direction == VolumeDirection::Up)
        return volume <= kVolumeMaximum - 10 ? 10 : 1;
    return volume >= 10 ? 10 : 1;
}

int steppedVolume(int volume, VolumeDirection direction, int step)
{
    const int moved = direction == VolumeDirection::Up ? volume + step : volume - step;
    return std::clamp(moved, 0, kVolumeMaximum);
}

} // namespace nuvo
