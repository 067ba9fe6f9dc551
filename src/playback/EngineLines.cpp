#include "playback/EngineLines.h"

#include <QStringList>

namespace nuvo {

namespace {

QString tableText(const QStringList& table, int index)
{
    return index >= 0 && index < table.size() ? table.at(index) : QStringLiteral("Unknown");
}

} // namespace

QString frameBufferLine(const BufferOptions& options)
{
    return QStringLiteral("Input %1 frames/Output %2 frames").arg(options.inputFrames).arg(options.outputFrames);
}

QString sleepTimeLine(const BufferOptions& options)
{
    return QStringLiteral("Input %1 mSec/Output %2 mSec").arg(options.inputSleepMs).arg(options.outputSleepMs);
}

QString downSamplingText(int index)
{
    return tableText({QStringLiteral("1/1"), QStringLiteral("1/2"), QStringLiteral("1/4")}, index);
}

QString outputChannelText(int index)
{
    return tableText({QStringLiteral("Stereo"), QStringLiteral("Monaural")}, index);
}

QString sampleRateLine(int rate)
{
    return QStringLiteral("%1 Hz").arg(rate);
}

} // namespace nuvo
