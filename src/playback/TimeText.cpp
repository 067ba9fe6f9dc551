#include "playback/TimeText.h"

#include <algorithm>

namespace nuvo {

namespace {

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0'));
}

QString minutesAndSeconds(int seconds)
{
    return twoDigits(seconds / 60) + u':' + twoDigits(seconds % 60);
}

QString hoursMinutesAndSeconds(int seconds)
{
    return twoDigits(seconds / 3600) + u':' + twoDigits(seconds / 60 % 60) + u':' + twoDigits(seconds % 60);
}

} // namespace

QString formatTime(int elapsed, int total)
{
    elapsed = std::max(elapsed, 0);
    total = std::max(total, 0);
    if (total < 3600)
        return u' ' + minutesAndSeconds(elapsed) + u'/' + minutesAndSeconds(total);
    return u' ' + hoursMinutesAndSeconds(elapsed) + u'/' + hoursMinutesAndSeconds(total);
}

QString formatBitRate(int kbps)
{
    return QStringLiteral(" %1Kbps").arg(std::max(kbps, 0), 3);
}

} // namespace nuvo
