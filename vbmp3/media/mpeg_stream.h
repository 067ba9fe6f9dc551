// MPEG audio streams (layers 1-3; MPEG 1, 2 and 2.5) found and measured by
// walking their frame headers. A stream counts only where several headers
// chain (each frame ends where the next header begins), so text or other
// binary data is not taken for audio.
#pragma once

#include "file_access.h"
#include "media.h"

#include <cstdint>
#include <optional>

namespace vbmp3::media {

struct FrameHeader {
    int version = 1;        // 1, 2, or 25 for MPEG 2.5
    int layer = 3;
    int bitRate = 0;        // kbit/s
    int sampleRate = 0;     // Hz
    int mode = 0;           // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    int modeExtension = 0;
    bool crc = false;
    bool copyright = false;
    bool original = false;
    int emphasis = 0;
    int frameBytes = 0;
    int samples = 0;        // per channel

    int channels() const { return mode == 3 ? 1 : 2; }
    // Whether a header can follow this one in the same stream.
    bool compatibleWith(const FrameHeader& other) const;
};

// The header in the four bytes at data; nothing when they are not one
// (free-format streams, whose frame size the header does not give, included).
std::optional<FrameHeader> parseFrameHeader(const std::uint8_t* data);

struct MpegStream {
    FrameHeader first;            // the first frame carrying audio
    std::int64_t frames = 0;      // frames carrying audio (whole scan only)
    std::int64_t samples = 0;     // per channel, encoder delay and padding removed when known
    std::int64_t audioBytes = 0;
    bool variableBitRate = false;
    bool hasId3v2 = false;        // at the start of the range
    bool hasId3v1 = false;        // at the end of the range
};

enum class ScanDepth {
    Start,  // just confirm the stream and read its first frames
    Whole,  // count every frame
};

// The MPEG stream in range of source; nothing when there is none with at
// least one whole frame carrying audio.
std::optional<MpegStream> scanMpeg(ByteSource& source, ByteRange range, ScanDepth depth);

} // namespace vbmp3::media
