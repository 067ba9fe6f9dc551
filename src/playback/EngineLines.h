// The texts of the engine list that show the decoder settings in force.
#pragma once

#include "vbmp3.h"

#include <QString>

namespace nuvo {

QString frameBufferLine(const BufferOptions& options);   // "Input 30 frames/Output 20 frames"
QString sleepTimeLine(const BufferOptions& options);     // "Input 5 mSec/Output 0 mSec"
QString downSamplingText(int index);                     // "1/1", "1/2", "1/4" or "Unknown"
QString outputChannelText(int index);                    // "Stereo", "Monaural" or "Unknown"
QString sampleRateLine(int rate);                        // "24000 Hz"

// The values the decoder gets when the user's own are switched off.
inline constexpr BufferOptions kDefaultBufferOptions{30, 20, 5, 0};
inline constexpr DecodeOptions kDefaultDecodeOptions{0, 0, 24000};

// Engine list lines that show values.
inline constexpr int kFrameBufferLine = 2;
inline constexpr int kSleepTimeLine = 4;
inline constexpr int kDownSamplingLine = 8;
inline constexpr int kOutputChannelLine = 10;
inline constexpr int kSampleRateLine = 12;

} // namespace nuvo
