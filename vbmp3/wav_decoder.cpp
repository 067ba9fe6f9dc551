#include "wav_decoder.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <vector>

namespace vbmp3 {
namespace {

// libsndfile's virtual I/O over pread, so the descriptor's offset is never used.
struct FileCursor {
    int fd = -1;
    sf_count_t position = 0;

    static sf_count_t length(void* self)
    {
        struct stat st {};
        return ::fstat(static_cast<FileCursor*>(self)->fd, &st) == 0 ? st.st_size : 0;
    }
    static sf_count_t seek(sf_count_t offset, int whence, void* self)
    {
        auto& c = *static_cast<FileCursor*>(self);
        sf_count_t base = 0;
        if (whence == SEEK_CUR)
            base = c.position;
        else if (whence == SEEK_END)
            base = length(self);
        if (base + offset < 0)
            return -1;
        c.position = base + offset;
        return c.position;
    }
    static sf_count_t read(void* buffer, sf_count_t bytes, void* self)
    {
        auto& c = *static_cast<FileCursor*>(self);
        ssize_t got;
        do {
            got = ::pread(c.fd, buffer, static_cast<size_t>(bytes), c.position);
        } while (got < 0 && errno == EINTR);
        if (got <= 0)
            return 0;
        c.position += got;
        return got;
    }
    static sf_count_t write(const void*, sf_count_t, void*) { return 0; }
    static sf_count_t tell(void* self) { return static_cast<FileCursor*>(self)->position; }
};

// Nominal bits per sample of a WAV encoding, for the bit rate shown while playing.
int bitsPerSample(int format)
{
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
        return 8;
    case SF_FORMAT_PCM_16:
        return 16;
    case SF_FORMAT_PCM_24:
        return 24;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
        return 32;
    case SF_FORMAT_DOUBLE:
        return 64;
    case SF_FORMAT_IMA_ADPCM:
    case SF_FORMAT_MS_ADPCM:
        return 4;
    default:
        return 16;
    }
}

class WavDecoder final : public Decoder {
public:
    explicit WavDecoder(UniqueFd file) : file_(std::move(file)) { cursor_.fd = file_.get(); }
    ~WavDecoder() override
    {
        if (sound_)
            sf_close(sound_);
    }
    WavDecoder(const WavDecoder&) = delete;
    WavDecoder& operator=(const WavDecoder&) = delete;

    bool open()
    {
        io_ = {&FileCursor::length, &FileCursor::seek, &FileCursor::read, &FileCursor::write, &FileCursor::tell};
        sound_ = sf_open_virtual(&io_, SFM_READ, &info_, &cursor_);
        if (!sound_ || info_.frames <= 0 || info_.samplerate <= 0 || info_.channels < 1)
            return false;
        // Floats beyond full scale stay as they are; the output stage limits them.
        sf_command(sound_, SFC_SET_CLIPPING, nullptr, SF_FALSE);
        format_ = {info_.samplerate, info_.channels >= 2 ? 2 : 1};
        const int subtype = info_.format & SF_FORMAT_SUBMASK;
        floatingPoint_ = subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
        const long long kbits = static_cast<long long>(info_.samplerate) * bitsPerSample(info_.format)
            * info_.channels / 1000;
        bitRate_ = static_cast<int>(kbits);
        return true;
    }

    StreamFormat format() const override { return format_; }
    std::int64_t length() const override { return info_.frames; }
    int bitRate() const override { return bitRate_; }

    std::size_t read(float* out, std::size_t frames) override
    {
        const std::size_t got = readChannels(out, frames);
        if (floatingPoint_) {
            // A damaged float file may hold NaN or infinity, which would stay
            // in the filters for the rest of the track.
            for (std::size_t i = 0; i < got * static_cast<std::size_t>(format_.channels); ++i)
                if (!std::isfinite(out[i]))
                    out[i] = 0.0f;
        }
        return got;
    }

    bool seek(std::int64_t frame) override { return sf_seek(sound_, frame, SEEK_SET) >= 0; }

private:
    std::size_t readChannels(float* out, std::size_t frames)
    {
        if (info_.channels == format_.channels)
            return static_cast<std::size_t>(sf_readf_float(sound_, out, static_cast<sf_count_t>(frames)));
        // More than two channels: the first two are front left and right.
        wide_.resize(frames * static_cast<std::size_t>(info_.channels));
        const auto got = static_cast<std::size_t>(sf_readf_float(sound_, wide_.data(), static_cast<sf_count_t>(frames)));
        for (std::size_t i = 0; i < got; ++i) {
            out[2 * i] = wide_[i * static_cast<std::size_t>(info_.channels)];
            out[2 * i + 1] = wide_[i * static_cast<std::size_t>(info_.channels) + 1];
        }
        return got;
    }

    UniqueFd file_;
    FileCursor cursor_;
    SF_VIRTUAL_IO io_{};
    SF_INFO info_{};
    SNDFILE* sound_ = nullptr;
    StreamFormat format_;
    int bitRate_ = 0;
    bool floatingPoint_ = false;
    std::vector<float> wide_;
};

} // namespace

std::unique_ptr<Decoder> openWavDecoder(UniqueFd file)
{
    if (!file.valid())
        return nullptr;
    auto decoder = std::make_unique<WavDecoder>(std::move(file));
    if (!decoder->open())
        return nullptr;
    return decoder;
}

} // namespace vbmp3
