#include "mpeg_decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace vbmp3 {
namespace {

// A read cursor over [offset, offset + size) of a descriptor, reading ahead in
// large blocks: libmpg123 asks for a frame at a time, and a system call per
// frame would cost more than decoding it. pread keeps the descriptor's own
// offset out of play, so the cursor is all the state there is.
struct SpanReader {
    static constexpr std::size_t kBlock = 64 * 1024;

    int fd = -1;
    ByteSpan span;
    std::int64_t position = 0;
    std::vector<unsigned char> buffer = std::vector<unsigned char>(kBlock);
    std::int64_t bufferStart = 0;  // span position of buffer[0]
    std::size_t bufferFill = 0;

    bool refill()
    {
        bufferStart = position;
        bufferFill = 0;
        const std::int64_t left = span.size - position;
        const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(left, kBlock));
        while (bufferFill < wanted) {
            const ssize_t got = ::pread(fd, buffer.data() + bufferFill, wanted - bufferFill,
                                        span.offset + position + static_cast<std::int64_t>(bufferFill));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            bufferFill += static_cast<std::size_t>(got);
        }
        return bufferFill > 0;
    }

    static mpg123_ssize_t read(void* self, void* out, size_t bytes)
    {
        auto& r = *static_cast<SpanReader*>(self);
        auto* to = static_cast<unsigned char*>(out);
        // The common case, and in junk a byte at a time: all of it buffered.
        const std::int64_t buffered = r.position - r.bufferStart;
        if (buffered >= 0 && static_cast<std::uint64_t>(buffered) + bytes <= r.bufferFill) {
            std::memcpy(to, r.buffer.data() + buffered, bytes);
            r.position += static_cast<std::int64_t>(bytes);
            return static_cast<mpg123_ssize_t>(bytes);
        }
        size_t done = 0;
        while (done < bytes && r.position < r.span.size) {
            const std::int64_t inBuffer = r.position - r.bufferStart;
            if (inBuffer < 0 || inBuffer >= static_cast<std::int64_t>(r.bufferFill)) {
                if (!r.refill())
                    break;
                continue;
            }
            const size_t take = std::min(bytes - done, r.bufferFill - static_cast<size_t>(inBuffer));
            std::memcpy(to + done, r.buffer.data() + inBuffer, take);
            done += take;
            r.position += static_cast<std::int64_t>(take);
        }
        return static_cast<mpg123_ssize_t>(done);
    }

    static off_t seek(void* self, off_t offset, int whence)
    {
        auto& r = *static_cast<SpanReader*>(self);
        std::int64_t base = 0;
        if (whence == SEEK_CUR)
            base = r.position;
        else if (whence == SEEK_END)
            base = r.span.size;
        else if (whence != SEEK_SET)
            return -1;
        const std::int64_t target = base + offset;
        if (target < 0)
            return -1;
        r.position = target;
        return static_cast<off_t>(target);
    }
};

struct HandleDeleter {
    void operator()(mpg123_handle* h) const { mpg123_delete(h); }
};
using HandlePtr = std::unique_ptr<mpg123_handle, HandleDeleter>;

void initLibraryOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

class MpegDecoder final : public Decoder {
public:
    MpegDecoder(UniqueFd file, ByteSpan span) : file_(std::move(file))
    {
        reader_.fd = file_.get();
        reader_.span = span;
    }

    bool open(DecoderUse use)
    {
        if (!openStream(true))
            return false;
        if (use == DecoderUse::FormatOnly)
            return true;
        const long encoderDelay = state(MPG123_ENC_DELAY);
        const long encoderPadding = state(MPG123_ENC_PADDING);
        // By the encoder's Info frame, if any, else estimated from the size.
        const off_t announced = std::max<off_t>(mpg123_length(handle_.get()), 0);
        // Without the scan the stream still plays, only seeks less exactly.
        length_ = mpg123_scan(handle_.get()) == MPG123_OK ? mpg123_length(handle_.get()) : announced;
        if (encoderDelay >= 0 && length_ != announced && !trimByHand(encoderDelay, encoderPadding, announced))
            return false;
        // A stream that the trimming leaves nothing of plays as an empty track.
        length_ = std::max<std::int64_t>(length_, 0);
        updateBitRate();
        return true;
    }

    StreamFormat format() const override { return format_; }
    std::int64_t length() const override { return length_; }
    int bitRate() const override { return bitRate_; }

    std::size_t read(float* out, std::size_t frames) override
    {
        while (toSkip_ > 0) {
            const std::size_t skipped = readStream(out, static_cast<std::size_t>(std::min<std::int64_t>(toSkip_, static_cast<std::int64_t>(frames))));
            if (skipped == 0)
                return 0;
            toSkip_ -= static_cast<std::int64_t>(skipped);
        }
        // Never past the length told: a damaged stream can decode to more.
        const auto left = static_cast<std::size_t>(std::max<std::int64_t>(length_ - position_, 0));
        const std::size_t got = readStream(out, std::min(frames, left));
        position_ += static_cast<std::int64_t>(got);
        return got;
    }

    bool seek(std::int64_t frame) override
    {
        const off_t at = mpg123_seek(handle_.get(), static_cast<off_t>(frame + leading_), SEEK_SET);
        ended_ = at < 0;
        toSkip_ = 0;
        position_ = frame;
        return !ended_;
    }

private:
    std::size_t readStream(float* out, std::size_t frames)
    {
        if (ended_)
            return 0;
        const std::size_t frameBytes = sizeof(float) * static_cast<std::size_t>(format_.channels);
        auto* bytes = reinterpret_cast<unsigned char*>(out);
        std::size_t filled = 0;
        const std::size_t wanted = frames * frameBytes;
        while (filled < wanted) {
            size_t done = 0;
            const int result = mpg123_read(handle_.get(), bytes + filled, wanted - filled, &done);
            filled += done;
            if (result == MPG123_NEW_FORMAT || (result == MPG123_OK && done > 0))
                continue;
            if (result != MPG123_OK || done == 0) {
                // The end, or a file that stops decoding: what came so far is
                // all there is.
                ended_ = true;
                break;
            }
        }
        updateBitRate();
        return filled / frameBytes;
    }

    long state(mpg123_state which)
    {
        long value = -1;
        double unused = 0.;
        return mpg123_getstate(handle_.get(), which, &value, &unused) == MPG123_OK ? value : -1;
    }

    // A handle on the stream from its start, floats in the first frame's format.
    bool openStream(bool gapless)
    {
        initLibraryOnce();
        int error = MPG123_OK;
        handle_.reset(mpg123_new(nullptr, &error));
        if (!handle_)
            return false;
        mpg123_handle* h = handle_.get();
        mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | (gapless ? MPG123_GAPLESS : 0), 0.);
        mpg123_param(h, MPG123_REMOVE_FLAGS, MPG123_FUZZY | (gapless ? 0 : MPG123_GAPLESS), 0.);
        // Junk inside a stream (a damaged download, a bad copy) is skipped
        // however long it is; the default gives up after 1024 bytes and ends
        // the track there.
        mpg123_param(h, MPG123_RESYNC_LIMIT, -1, 0.);
        if (!allowFloatOutput(0, MPG123_MONO | MPG123_STEREO))
            return false;
        reader_.position = 0;
        if (mpg123_replace_reader_handle(h, &SpanReader::read, &SpanReader::seek, nullptr) != MPG123_OK)
            return false;
        if (mpg123_open_handle(h, &reader_) != MPG123_OK)
            return false;
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        if (mpg123_getformat(h, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 || channels < 1
            || channels > 2)
            return false;
        format_ = {static_cast<int>(rate), channels};
        // A stream whose later frames change rate or channels is converted to
        // the first frame's format, so the signal chain never sees a change.
        return allowFloatOutput(rate, channels == 1 ? MPG123_MONO : MPG123_STEREO);
    }

    // When its scan finds another frame count than the encoder's Info frame
    // (a file cut short, frames lost to damage), libmpg123 drops gapless
    // trimming altogether, so the encoder delay would be heard at the start
    // and the padding at the end. The stream is then trimmed here as the
    // file's information counts it: the start as in the intact file, the
    // padding where the last frame is still there.
    bool trimByHand(long encoderDelay, long encoderPadding, off_t announced)
    {
        mpg123_handle* h = handle_.get();
        const std::int64_t spf = mpg123_spf(h);
        const std::int64_t frames = mpg123_framelength(h);
        const long decoderDelay = std::max(state(MPG123_DEC_DELAY), 0L);
        if (spf <= 0 || frames <= 0)
            return false;
        const std::int64_t announcedFrames = (announced + encoderDelay + std::max(encoderPadding, 0L)) / spf;
        if (!openStream(false))
            return false;
        mpg123_scan(handle_.get());
        leading_ = encoderDelay + decoderDelay;
        if (frames == announcedFrames)
            length_ = frames * spf - encoderDelay - std::max(encoderPadding, 0L);
        else if (frames < announcedFrames)
            length_ = frames * spf - leading_;
        else
            length_ = announced;
        toSkip_ = leading_;
        return true;
    }

    bool allowFloatOutput(long rate, int channels)
    {
        mpg123_handle* h = handle_.get();
        mpg123_format_none(h);
        if (rate != 0)
            return mpg123_format(h, rate, channels, MPG123_ENC_FLOAT_32) == MPG123_OK;
        const long* rates = nullptr;
        size_t count = 0;
        mpg123_rates(&rates, &count);
        for (size_t i = 0; i < count; ++i)
            if (mpg123_format(h, rates[i], channels, MPG123_ENC_FLOAT_32) != MPG123_OK)
                return false;
        return true;
    }

    void updateBitRate()
    {
        mpg123_frameinfo info{};
        if (mpg123_info(handle_.get(), &info) == MPG123_OK && info.bitrate > 0)
            bitRate_ = info.bitrate;
    }

    UniqueFd file_;
    SpanReader reader_;
    HandlePtr handle_;
    StreamFormat format_;
    std::int64_t length_ = 0;
    std::int64_t leading_ = 0;  // stream samples before the first one played
    std::int64_t toSkip_ = 0;   // of them, still to be read and dropped
    std::int64_t position_ = 0; // frame the next read gives
    int bitRate_ = 0;
    bool ended_ = false;
};

} // namespace

std::unique_ptr<Decoder> openMpegDecoder(UniqueFd file, ByteSpan span, DecoderUse use)
{
    if (!file.valid() || span.size <= 0)
        return nullptr;
    auto decoder = std::make_unique<MpegDecoder>(std::move(file), span);
    if (!decoder->open(use))
        return nullptr;
    return decoder;
}

} // namespace vbmp3
