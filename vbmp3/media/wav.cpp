#include "wav.h"

#include <sndfile.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <memory>

namespace vbmp3::media {
namespace {

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

int codedBits(int format)
{
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8: case SF_FORMAT_PCM_U8: case SF_FORMAT_ULAW: case SF_FORMAT_ALAW:
        return 8;
    case SF_FORMAT_PCM_16: return 16;
    case SF_FORMAT_PCM_24: return 24;
    case SF_FORMAT_PCM_32: case SF_FORMAT_FLOAT: return 32;
    case SF_FORMAT_DOUBLE: return 64;
    case SF_FORMAT_IMA_ADPCM: case SF_FORMAT_MS_ADPCM: case SF_FORMAT_G721_32: return 4;
    case SF_FORMAT_G723_24: return 3;
    case SF_FORMAT_G723_40: return 5;
    default: return 0;
    }
}

bool isWavFamily(int format)
{
    switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV: case SF_FORMAT_WAVEX: case SF_FORMAT_RF64: case SF_FORMAT_W64:
        return true;
    default:
        return false;
    }
}

} // namespace

bool looksLikeWav(ByteSource& source)
{
    const std::uint8_t* head = source.view(0, 12);
    if (!head)
        return false;
    const bool riffWave = std::memcmp(head + 8, "WAVE", 4) == 0 &&
                          (std::memcmp(head, "RIFF", 4) == 0 || std::memcmp(head, "RIFX", 4) == 0 ||
                           std::memcmp(head, "RF64", 4) == 0 || std::memcmp(head, "BW64", 4) == 0);
    // Wave64 starts with the "riff" GUID.
    static constexpr std::array<std::uint8_t, 8> wave64 = {'r', 'i', 'f', 'f', 0x2E, 0x91, 0xCF, 0x11};
    return riffWave || std::memcmp(head, wave64.data(), wave64.size()) == 0;
}

std::optional<WavInfo> readWavInfo(ByteSource& source)
{
    if (!looksLikeWav(source))
        return std::nullopt;
    // libsndfile takes the descriptor's current offset for the start of the file.
    if (::lseek(source.descriptor(), 0, SEEK_SET) != 0)
        return std::nullopt;
    SF_INFO info{};
    SndfileHandle file(sf_open_fd(source.descriptor(), SFM_READ, &info, SF_FALSE));
    if (!file || !isWavFamily(info.format) || info.frames <= 0 || info.samplerate <= 0 ||
        info.channels <= 0)
        return std::nullopt;
    return WavInfo{info.frames, info.samplerate, info.channels, codedBits(info.format)};
}

} // namespace vbmp3::media
