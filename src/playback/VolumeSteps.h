// The volume's steps: 0 to 100, up or down by the step of the trigger.
#pragma once

namespace nuvo {

enum class VolumeDirection { Up, Down };

inline constexpr int kVolumeMaximum = 100;

// The tray menu's step: ten while ten more (or less) still fits, else one.
int menuVolumeStep(int volume, VolumeDirection direction);

// The volume after one step; at 100 (up) or 0 (down) it stays where it is.
int steppedVolume(int volume, VolumeDirection direction, int step);

} // namespace nuvo
