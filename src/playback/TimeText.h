#pragma once

#include <QString>

namespace nuvo {

// Text of the time panel: " mm:ss/mm:ss", or " hh:mm:ss/hh:mm:ss" when the total is an hour or
// more (the total alone decides). Negative seconds count as 0.
QString formatTime(int elapsed, int total);

// Text of the bit-rate panel: " %3dKbps". A negative rate counts as 0.
QString formatBitRate(int kbps);

} // namespace nuvo
