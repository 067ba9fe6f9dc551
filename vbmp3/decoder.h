// Decoding of one file into interleaved float frames. The play thread owns a
// decoder once the file is open; nothing in it is shared between threads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vbmp3 {

struct StreamFormat {
    int rate = 0;      // Hz
    int channels = 0;  // 1 or 2
};

class Decoder {
public:
    virtual ~Decoder() = default;

    virtual StreamFormat format() const = 0;
    // Length in frames as far as it is known when opening (exact for WAV and
    // for scanned MPEG streams).
    virtual std::int64_t length() const = 0;
    // Fills up to frames frames; fewer only at the end of the stream (or where
    // a damaged file stops decoding), 0 once it is over.
    virtual std::size_t read(float* interleaved, std::size_t frames) = 0;
    // Positions the next read at frame; false when the stream cannot go there.
    virtual bool seek(std::int64_t frame) = 0;
    // kbit/s of the audio last read (of the first frame before any read).
    virtual int bitRate() const = 0;
};

// How far opening goes: Playing measures an MPEG stream to its end (exact
// length, accurate seeking); FormatOnly stops once the decoder has found its
// format, which is all that decides whether Playing takes the file.
enum class DecoderUse { Playing, FormatOnly };

// Opens a file the engine can play; nothing when it does not decode. The
// decoder holds the file open, so a tag writer that replaces the file by
// rename does not disturb it.
std::unique_ptr<Decoder> openDecoder(const std::string& path, DecoderUse use = DecoderUse::Playing);

// Whether openDecoder takes the file: what the file type and the stream
// information call playable must also open.
bool decodes(const std::string& path);

} // namespace vbmp3
