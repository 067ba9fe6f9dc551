// Where a seek lands: at a point of the progress bar, or one key step back
// or forward from the position shown.
#pragma once

namespace nuvo {

// The second of the track under x on a bar of the given width, truncated;
// a bar without width gives 0.
int seekTargetAt(int trackSeconds, int barWidth, int x);

// One key step is the track's length divided by the divisor (50, or 100
// for slow seeking). Back stops at 0, forward at the end of the track.
int seekStepBack(int elapsedSeconds, int trackSeconds, int divisor);
int seekStepForward(int elapsedSeconds, int trackSeconds, int divisor);

} // namespace nuvo
