#include "engine.h"

#include "media/media.h"
#include "options.h"

#include <algorithm>
#include <cstring>

namespace vbmp3 {
namespace {

std::shared_ptr<Track> openTrack(const std::string& path, const DecodeOptions& options)
{
    auto decoder = openDecoder(path);
    if (!decoder)
        return nullptr;
    auto track = std::make_shared<Track>();
    track->path = path;
    track->chain.source = decoder->format();
    track->chain.factor = 1 << options.downSampling;
    track->chain.mono = options.channels == 1;
    track->chain.frequencyLimit = options.frequencyLimit;
    track->output = chainOutput(track->chain);
    track->length = decoder->length();
    track->decoder = std::move(decoder);
    track->hasInfo = media::readFileInfo(path, track->tag, track->info);
    if (!track->hasInfo && !media::readTag(path, track->tag))
        track->tag = TagRecord{};
    return track;
}

std::int32_t wholeSeconds(std::int64_t frames, int rate)
{
    return rate > 0 ? static_cast<std::int32_t>(frames / rate) : 0;
}

// The end of a track is reported while the device still holds this much of
// it: the caller polls (the player every 100 ms) and then opens and starts
// the next track, which carries on after what the device holds, so a poll
// interval plus the opening fit in before the device runs dry.
constexpr auto kEndAhead = std::chrono::milliseconds(250);

} // namespace

Engine::Engine() : decodeOptions_(kDefaultDecodeOptions)
{
    control_.buffers = kDefaultBufferOptions;
    sink_.setCapacity(static_cast<std::int64_t>(control_.buffers.outputFrames) * kFrameSamples);
    playThread_ = std::make_unique<PlayThread>(control_, sink_, [this] { reload(); });
}

Engine::~Engine()
{
    {
        // A track whose end was reported is heard to its end: a file output
        // gets all of it.
        std::lock_guard lock(control_.mutex);
        if (control_.track) {
            control_.continuing = control_.continuing || checkEnded();
            halt(PlayState::Closed);
        }
    }
    playThread_.reset();
}

void Engine::notify()
{
    ++control_.changes;
    control_.wake.notify_all();
}

std::int64_t Engine::endSegment(bool playOn)
{
    const std::uint64_t generation = ++control_.generation;
    if (!control_.track) {
        sink_.beginSegment(generation, StreamFormat{44100, 2}, false, control_.continuing);
        return 0;
    }
    const Track& track = *control_.track;
    const std::int64_t heard = sink_.beginSegment(generation, track.output, playOn, control_.continuing);
    return std::min(control_.anchor + heard * track.chain.factor, track.length);
}

void Engine::jumpTo(std::optional<std::int64_t> sourceFrame)
{
    const std::int64_t heard = endSegment(true);
    const Track& track = *control_.track;
    const std::int64_t factor = track.chain.factor;
    const std::int64_t target = std::clamp<std::int64_t>(sourceFrame.value_or(heard), 0, track.length) / factor * factor;
    control_.state = PlayState::Playing;
    control_.anchor = target;
    control_.startFrom = target;
    control_.allHanded = false;
    notify();
}

std::int64_t Engine::halt(PlayState state)
{
    const std::int64_t heard = endSegment(false);
    control_.state = state;
    control_.startFrom.reset();
    control_.allHanded = false;
    notify();
    return heard;
}

std::int64_t Engine::heardFrame()
{
    const Track& track = *control_.track;
    const std::int64_t heard = control_.anchor + sink_.heard() * track.chain.factor;
    return std::min(heard, track.length);
}

bool Engine::checkEnded()
{
    if (control_.state == PlayState::Playing && control_.allHanded && sink_.untilHeld(0) <= kEndAhead)
        control_.state = PlayState::Ended;
    return control_.state == PlayState::Ended;
}

bool Engine::open(const std::string& path, OpenRecord& record)
{
    close();
    DecodeOptions options;
    {
        std::lock_guard lock(control_.mutex);
        options = decodeOptions_;
    }
    // Opening reads the file; the play thread goes on meanwhile.
    auto track = openTrack(path, options);
    if (!track)
        return false;
    std::memset(&record, 0, sizeof record);
    media::copyField(record.title, sizeof record.title, track->tag.title);
    record.seconds = wholeSeconds(track->length, track->chain.source.rate);
    std::lock_guard lock(control_.mutex);
    control_.track = std::move(track);
    control_.bitRate = control_.track->decoder->bitRate();
    halt(PlayState::Stopped);
    return true;
}

bool Engine::close()
{
    std::lock_guard lock(control_.mutex);
    if (!control_.track)
        return false;
    // Closing a track that has ended is the step to the next one.
    control_.continuing = control_.continuing || checkEnded();
    halt(PlayState::Closed);
    control_.track.reset();
    control_.bitRate = 0;
    return true;
}

bool Engine::play()
{
    std::lock_guard lock(control_.mutex);
    if (!control_.track)
        return false;
    // After the end (of this track, or of the one closed before it) the new
    // start follows what the device still holds.
    control_.continuing = control_.continuing || checkEnded();
    jumpTo(0);
    control_.continuing = false;
    return true;
}

bool Engine::stop()
{
    std::lock_guard lock(control_.mutex);
    if (!control_.track)
        return false;
    cut();
    halt(PlayState::Stopped);
    return true;
}

bool Engine::pause()
{
    std::lock_guard lock(control_.mutex);
    if (control_.state != PlayState::Playing || checkEnded())
        return false;
    cut();
    control_.pausedAt = halt(PlayState::Paused);
    return true;
}

bool Engine::restart()
{
    std::lock_guard lock(control_.mutex);
    if (control_.state != PlayState::Paused)
        return false;
    cut();
    jumpTo(control_.pausedAt);
    return true;
}

bool Engine::seek(std::int32_t seconds)
{
    std::lock_guard lock(control_.mutex);
    if (!control_.track)
        return false;
    const Track& track = *control_.track;
    const std::int64_t frame = static_cast<std::int64_t>(std::max(seconds, 0)) * track.chain.source.rate;
    if (control_.state == PlayState::Paused) {
        const std::int64_t factor = track.chain.factor;
        control_.pausedAt = std::min(frame, track.length) / factor * factor;
        return true;
    }
    // A track that has just ended still counts as playing for the caller,
    // who may not have seen the end yet.
    if (control_.state != PlayState::Playing && control_.state != PlayState::Ended)
        return false;
    cut();
    jumpTo(frame);
    return true;
}

bool Engine::reload()
{
    std::lock_guard lock(control_.mutex);
    if (!control_.track)
        return false;
    // Playing audio already shaped with the old settings is dropped and made
    // again from the position heard now; paused audio is made anew on resume.
    if (control_.state == PlayState::Playing && !checkEnded()) {
        cut();
        jumpTo(std::nullopt);
    }
    return true;
}

std::int32_t Engine::state(std::int32_t& seconds)
{
    std::lock_guard lock(control_.mutex);
    seconds = 0;
    if (!control_.track)
        return 0;
    const int rate = control_.track->chain.source.rate;
    switch (control_.state) {
    case PlayState::Playing:
        if (checkEnded())
            break;
        seconds = wholeSeconds(heardFrame(), rate);
        return 1;
    case PlayState::Paused:
        seconds = wholeSeconds(control_.pausedAt, rate);
        return 2;
    case PlayState::Ended:
        break;
    default:
        return 0;
    }
    // Ended: all of it counts as heard, also while the device still plays
    // the last moment.
    seconds = wholeSeconds(control_.track->length, rate);
    return 0;
}

std::int32_t Engine::playBitRate()
{
    std::lock_guard lock(control_.mutex);
    return control_.track ? control_.bitRate.load() : 0;
}

void Engine::setVolume(int left, int right)
{
    std::lock_guard lock(control_.mutex);
    control_.volumeLeft = std::clamp(left, 0, 100);
    control_.volumeRight = std::clamp(right, 0, 100);
    notify();
}

void Engine::setEqualizer(const std::int32_t* table)
{
    std::lock_guard lock(control_.mutex);
    if (table) {
        EqualizerGains gains{};
        for (std::size_t i = 0; i < gains.size(); ++i)
            gains[i] = std::clamp(table[i], -120, 120);
        control_.equalizer = gains;
    } else {
        control_.equalizer.reset();
    }
    ++control_.equalizerVersion;
    notify();
}

void Engine::setBufferOptions(const BufferOptions& options)
{
    std::lock_guard lock(control_.mutex);
    control_.buffers = clampedBufferOptions(options);
    sink_.setCapacity(static_cast<std::int64_t>(control_.buffers.outputFrames) * kFrameSamples);
    notify();
}

BufferOptions Engine::bufferOptions()
{
    std::lock_guard lock(control_.mutex);
    return control_.buffers;
}

void Engine::setDecodeOptions(const DecodeOptions& options)
{
    std::lock_guard lock(control_.mutex);
    decodeOptions_ = clampedDecodeOptions(options);
}

DecodeOptions Engine::decodeOptions()
{
    std::lock_guard lock(control_.mutex);
    return decodeOptions_;
}

bool Engine::tagInfo(TagRecord& tag)
{
    std::string path;
    TagRecord cached;
    {
        std::lock_guard lock(control_.mutex);
        if (!control_.track)
            return false;
        path = control_.track->path;
        cached = control_.track->tag;
    }
    // Read afresh: the tag may have been rewritten since the file was opened.
    if (!media::readTag(path, tag))
        tag = cached;
    return true;
}

bool Engine::mpegInfo(MpegRecord& info)
{
    std::string path;
    MpegRecord cached;
    bool hasInfo;
    {
        std::lock_guard lock(control_.mutex);
        if (!control_.track)
            return false;
        path = control_.track->path;
        cached = control_.track->info;
        hasInfo = control_.track->hasInfo;
    }
    TagRecord unused;
    if (media::readFileInfo(path, unused, info))
        return true;
    info = cached;
    return hasInfo;
}

} // namespace vbmp3
