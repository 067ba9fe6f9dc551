#include "probe.h"

#include "mpeg_stream.h"
#include "riff.h"
#include "wav.h"

namespace vbmp3::media {
namespace {

std::optional<Probe> probeMpeg(ByteSource& source, Kind kind, ByteRange range)
{
    const auto stream = scanMpeg(source, range, ScanDepth::Start);
    if (!stream)
        return std::nullopt;
    return Probe{kind, range, stream->hasId3v1 || stream->hasId3v2};
}

} // namespace

std::optional<Probe> probe(ByteSource& source)
{
    if (source.size() == 0)
        return std::nullopt;
    // A RIFF file is what its form says: MPEG in an RMP3 form (or in a WAVE
    // form with an MPEG format tag), else a WAV; other forms are not audio
    // for us, and none is ever searched for stray MPEG headers.
    if (const auto data = riffMpegRange(source))
        return probeMpeg(source, Kind::RiffMpeg, *data);
    if (looksLikeWav(source))
        return readWavInfo(source) ? std::optional<Probe>(Probe{Kind::Wav, {}, false}) : std::nullopt;
    if (readRiffForm(source))
        return std::nullopt;
    return probeMpeg(source, Kind::Mpeg, ByteRange{0, source.size()});
}

} // namespace vbmp3::media
