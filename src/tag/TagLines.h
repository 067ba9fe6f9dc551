// The sixteen lines of the tag view: the tag, the stream information and the
// file name, each label ending in tabs so that the values line up.
#pragma once

#include "vbmp3.h"

#include <QString>
#include <QStringList>

namespace nuvo {

// Lines the editor addresses by index.
inline constexpr int kTagViewLineCount = 16;
inline constexpr int kFileNameLine = 15;

// The channel mode as words; a value the library does not define gives an empty text.
QString channelModeText(int mode);

// With a tag the six tag lines carry their values, without one only their labels.
QStringList tagViewLines(const TagRecord& tag, const MpegRecord& mpeg, bool withTag, const QString& fileName);

} // namespace nuvo
