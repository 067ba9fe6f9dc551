#include "play_thread.h"

#include "options.h"

#include <pthread.h>

#include <algorithm>
#include <utility>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace vbmp3 {
namespace {

// Source frames decoded before a jump target and thrown away, so that the
// filters have settled when the heard audio begins.
constexpr std::int64_t kPreRoll = 4096;
// A device that blocks is fed in small pieces so commands are not held up.
constexpr std::size_t kDeviceChunk = 2048;
constexpr auto kIdle = std::chrono::hours(1);

// Filters ringing out into silence would otherwise make denormal numbers,
// which are very slow on x86.
void flushDenormalsToZero()
{
#if defined(__SSE__)
    _mm_setcsr(_mm_getcsr() | 0x8040);
#endif
}

} // namespace

PlayThread::PlayThread(Control& control, Sink& sink, std::function<void()> outputBack)
    : control_(control), sink_(sink), outputBack_(std::move(outputBack)), thread_([this] { run(); })
{
}

PlayThread::~PlayThread()
{
    {
        std::lock_guard lock(control_.mutex);
        control_.quit = true;
        ++control_.changes;
    }
    control_.wake.notify_all();
    thread_.join();
}

void PlayThread::run()
{
    // Named so that a profile or top -H can tell it from the window's threads.
    pthread_setname_np(pthread_self(), "vbmp3-play");
    flushDenormalsToZero();
    std::unique_lock lock(control_.mutex);
    while (!control_.quit) {
        const Job job = takeJob();
        lock.unlock();
        const TurnResult result = turn(job);
        lock.lock();
        if (control_.generation.load() == job.generation && control_.state == PlayState::Playing) {
            if (result.allHanded)
                control_.allHanded = true;
            if (result.finished)
                control_.state = PlayState::Ended;
        }
        control_.wake.wait_until(lock, result.due,
                                 [&] { return control_.quit || control_.changes != job.changes; });
    }
    lock.unlock();
    service();
    device_.close();
}

PlayThread::Job PlayThread::takeJob()
{
    Job job;
    job.changes = control_.changes;
    job.generation = control_.generation.load();
    job.state = control_.state;
    job.continuing = control_.continuing;
    job.track = control_.track;
    job.startFrom = std::exchange(control_.startFrom, std::nullopt);
    if (!job.startFrom && job.generation != activeGeneration_)
        job.startFrom = control_.anchor;
    job.buffers = control_.buffers;
    job.leftGain = volumeGain(control_.volumeLeft);
    job.rightGain = volumeGain(control_.volumeRight);
    if (control_.equalizerVersion != equalizerVersion_) {
        equalizerVersion_ = control_.equalizerVersion;
        job.equalizer = control_.equalizer;
    }
    return job;
}

PlayThread::TurnResult PlayThread::turn(const Job& job)
{
    const auto now = Clock::now();
    if (job.equalizer)
        chain_.setEqualizer(*job.equalizer);
    service();
    if (job.state != PlayState::Playing || !job.track) {
        // After the end of a track the device plays on to its last moment,
        // which the next track follows if it comes in time.
        const auto carried = sink_.carriedUntil();
        if (job.state != PlayState::Ended && job.continuing && now < carried)
            return {carried};
        if (job.state != PlayState::Ended)
            device_.pause();
        return {now + kIdle};
    }
    if (job.generation != activeGeneration_)
        startSegment(job);
    decodeAhead(job, now);
    handOver(job, now);
    TurnResult result{nextTurn(job, now)};
    finishSegment(job, result);
    return result;
}

void PlayThread::startSegment(const Job& job)
{
    if (job.track != track_) {
        track_ = job.track;
        chain_.configure(track_->chain);
        outputStage_.configure(track_->output.rate, track_->output.channels);
    }
    readAhead_.reset(track_->output.channels);
    pushed_ = popped_ = raisedUpTo_ = 0;
    const std::int64_t factor = track_->chain.factor;
    const std::int64_t target = std::clamp<std::int64_t>(job.startFrom.value_or(0), 0, track_->length);
    const std::int64_t start = std::max<std::int64_t>(0, target - kPreRoll) / factor * factor;
    decoderDone_ = !track_->decoder->seek(start);
    chain_.reset();
    outputStage_.reset();
    discard_ = (target - start) / factor;
    activeGeneration_ = job.generation;
    decodeRestUntil_ = {};
    outputRestUntil_ = {};
}

bool PlayThread::stale(const Job& job) const
{
    return control_.generation.load() != job.generation;
}

void PlayThread::decodeAhead(const Job& job, Clock::time_point now)
{
    if (decoderDone_ || now < decodeRestUntil_)
        return;
    const std::int64_t factor = track_->chain.factor;
    const std::int64_t limit = static_cast<std::int64_t>(job.buffers.inputFrames) * kFrameSamples;
    const auto sourceChannels = static_cast<std::size_t>(track_->chain.source.channels);
    const auto outputChannels = static_cast<std::size_t>(track_->output.channels);
    decoded_.resize(kFrameSamples * sourceChannels);
    while (!decoderDone_ && static_cast<std::int64_t>(readAhead_.frames()) * factor < limit) {
        if (stale(job))
            return;
        const std::size_t got = track_->decoder->read(decoded_.data(), kFrameSamples);
        shaped_.clear();
        if (got == 0) {
            chain_.flush(shaped_);
            decoderDone_ = true;
        } else {
            chain_.process(decoded_.data(), got, shaped_);
            if (!stale(job))
                control_.bitRate = track_->decoder->bitRate();
        }
        const std::size_t frames = shaped_.size() / outputChannels;
        const auto skip = static_cast<std::size_t>(std::min<std::int64_t>(discard_, static_cast<std::int64_t>(frames)));
        discard_ -= static_cast<std::int64_t>(skip);
        readAhead_.push(shaped_.data() + skip * outputChannels, frames - skip);
        pushed_ += static_cast<std::int64_t>(frames - skip);
        if (chain_.addsGain())
            raisedUpTo_ = pushed_;
    }
    if (!decoderDone_)
        decodeRestUntil_ = now + std::chrono::milliseconds(job.buffers.inputSleepMs);
}

void PlayThread::handOver(const Job& job, Clock::time_point now)
{
    if (now < outputRestUntil_)
        return;
    // A new format closes the output: the end of the last track, which the
    // device still plays, is heard first.
    const auto carried = sink_.carriedUntil();
    if (!device_.plays(track_->output) && carried > now) {
        outputRestUntil_ = carried;
        return;
    }
    while (!readAhead_.empty()) {
        if (stale(job))
            return;
        device_.prepare(track_->output);
        if (device_.takeCameBack()) {
            outputBack_();
            return;
        }
        sink_.setPace(device_.pace());
        const std::int64_t room = sink_.room();
        if (room <= 0)
            return;
        std::size_t count = std::min(readAhead_.frames(), static_cast<std::size_t>(room));
        if (device_.mayBlock())
            count = std::min(count, kDeviceChunk);
        float* frames = readAhead_.front();
        outputStage_.process(frames, count, job.leftGain, job.rightGain, popped_ < raisedUpTo_);
        bool current;
        if (device_.writesFile()) {
            current = sink_.accept(job.generation, frames, count, true);
        } else {
            device_.write(frames, count);
            current = sink_.accept(job.generation, nullptr, count, false);
        }
        readAhead_.pop(count);
        popped_ += static_cast<std::int64_t>(count);
        if (!current)
            return;
        if (job.buffers.outputSleepMs > 0) {
            outputRestUntil_ = now + std::chrono::milliseconds(job.buffers.outputSleepMs);
            return;
        }
    }
}

PlayThread::Clock::time_point PlayThread::nextTurn(const Job& job, Clock::time_point now)
{
    if (stale(job))
        return now;
    const auto after = [&](Clock::duration wait) {
        return wait >= std::chrono::duration_cast<Clock::duration>(kIdle) ? now + kIdle : now + wait;
    };
    if (!readAhead_.empty()) {
        // Wake when a quarter of the device's buffer has room: few wake-ups,
        // and each time the device still holds three quarters of it.
        const std::int64_t capacity = static_cast<std::int64_t>(job.buffers.outputFrames) * kFrameSamples;
        const std::int64_t need = std::min<std::int64_t>(static_cast<std::int64_t>(readAhead_.frames()), std::max<std::int64_t>(capacity / 4, 1));
        return std::max(after(sink_.untilHeld(capacity - need)), outputRestUntil_);
    }
    if (!decoderDone_)
        return std::max(now, decodeRestUntil_);
    // Everything is with the device: wake when it has all been heard.
    return after(sink_.untilHeld(0));
}

void PlayThread::finishSegment(const Job& job, TurnResult& result)
{
    if (stale(job) || !decoderDone_ || !readAhead_.empty())
        return;
    result.allHanded = true;
    sink_.markComplete(job.generation);
    if (sink_.held() == 0) {
        service();
        result.finished = true;
    }
}

void PlayThread::service()
{
    if (sink_.takeDropRequest())
        device_.drop();
    Sink::Heard heard = sink_.takeHeard();
    if (heard.frames.empty() || !device_.writesFile() || !device_.plays(heard.format))
        return;
    device_.write(heard.frames.data(), heard.frames.size() / static_cast<std::size_t>(heard.format.channels));
}

} // namespace vbmp3
