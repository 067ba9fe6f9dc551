#include "sink.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vbmp3 {
namespace {

// Running dry for longer than this is standing idle, not a gap in the sound.
constexpr double kLongestGapSeconds = 1.0;

double secondsOf(Sink::Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

Sink::Clock::duration durationOf(double seconds)
{
    return std::chrono::duration_cast<Sink::Clock::duration>(std::chrono::duration<double>(seconds));
}

} // namespace

void Sink::advance(Clock::time_point now)
{
    // The audio of a segment that carries on plays once the last one's rest has.
    const Clock::time_point from = std::max(last_, carriedUntil_);
    if (running_ && now > from) {
        const double available = static_cast<double>(handed_) - consumed_;
        if (pace_ <= 0.0) {
            consumed_ = static_cast<double>(handed_);
        } else {
            const double due = secondsOf(now - from) * format_.rate * pace_;
            // Time with nothing to play is not banked: the device played
            // silence meanwhile, which counts after the end of a segment and
            // before the first audio of one that carries on.
            if (due > available && (complete_ || (continues_ && handed_ == 0)))
                starved_ += due - available;
            consumed_ += std::min(due, available);
        }
    }
    last_ = std::max(last_, now);
}

void Sink::collect(std::int64_t upTo)
{
    const std::int64_t ready = std::min<std::int64_t>(upTo - written_, static_cast<std::int64_t>(kept_.frames()));
    if (ready <= 0)
        return;
    if (pending_.frames.empty())
        pending_.format = format_;
    // Audio of another format cannot share the buffer; what came first stays.
    if (pending_.format.channels == format_.channels && pending_.format.rate == format_.rate)
        pending_.frames.insert(pending_.frames.end(), kept_.front(),
                               kept_.front() + static_cast<std::size_t>(ready) * static_cast<std::size_t>(format_.channels));
    kept_.pop(static_cast<std::size_t>(ready));
    written_ += ready;
}

std::int64_t Sink::beginSegment(std::uint64_t segment, StreamFormat format, bool running, bool carryOn)
{
    std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    advance(now);
    const std::int64_t heard = heardLocked();
    if (carryOn) {
        // The rest plays on: a file output gets all of it.
        const double rest = static_cast<double>(handed_) - consumed_;
        if (pace_ > 0.0 && rest > 0.0)
            carriedUntil_ = std::max(carriedUntil_, now) + durationOf(rest / (format_.rate * pace_));
        collect(handed_);
    } else {
        collect(heard);
        carriedUntil_ = {};
        starved_ = 0.0;
        dropRequest_ = true;
    }
    continues_ = carryOn;
    complete_ = false;
    segment_ = segment;
    format_ = format;
    kept_.reset(format.channels);
    handed_ = 0;
    consumed_ = 0.0;
    written_ = 0;
    running_ = running || carryOn;
    return heard;
}

void Sink::setCapacity(std::int64_t frames)
{
    std::lock_guard lock(mutex_);
    capacity_ = std::max<std::int64_t>(frames, 1);
}

std::int64_t Sink::heard()
{
    std::lock_guard lock(mutex_);
    advance(Clock::now());
    return heardLocked();
}

std::int64_t Sink::held()
{
    std::lock_guard lock(mutex_);
    advance(Clock::now());
    return handed_ - heardLocked();
}

Sink::Clock::time_point Sink::carriedUntil()
{
    std::lock_guard lock(mutex_);
    return carriedUntil_;
}

void Sink::setPace(double pace)
{
    std::lock_guard lock(mutex_);
    advance(Clock::now());
    pace_ = pace;
}

std::int64_t Sink::room()
{
    std::lock_guard lock(mutex_);
    advance(Clock::now());
    if (pace_ <= 0.0)
        return capacity_;
    return std::max<std::int64_t>(0, capacity_ - (handed_ - heardLocked()));
}

bool Sink::accept(std::uint64_t segment, const float* frames, std::size_t count, bool keep)
{
    std::lock_guard lock(mutex_);
    if (segment != segment_)
        return false;
    advance(Clock::now());
    // The silence the output played while it was dry comes before this audio.
    const double longestGap = kLongestGapSeconds * format_.rate * pace_;
    if (keep && starved_ >= 1.0 && starved_ <= longestGap) {
        collect(handed_);
        if (pending_.frames.empty())
            pending_.format = format_;
        pending_.frames.resize(pending_.frames.size() +
                               static_cast<std::size_t>(starved_) * static_cast<std::size_t>(format_.channels), 0.0f);
    }
    starved_ = 0.0;
    if (keep)
        kept_.push(frames, count);
    else
        written_ += static_cast<std::int64_t>(count);
    handed_ += static_cast<std::int64_t>(count);
    return true;
}

void Sink::markComplete(std::uint64_t segment)
{
    std::lock_guard lock(mutex_);
    advance(Clock::now());
    if (segment == segment_)
        complete_ = true;
}

Sink::Heard Sink::takeHeard()
{
    std::lock_guard lock(mutex_);
    advance(Clock::now());
    collect(heardLocked());
    Heard result = std::move(pending_);
    pending_ = {};
    return result;
}

bool Sink::takeDropRequest()
{
    std::lock_guard lock(mutex_);
    return std::exchange(dropRequest_, false);
}

Sink::Clock::duration Sink::untilHeld(std::int64_t frames)
{
    std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    advance(now);
    const std::int64_t excess = handed_ - heardLocked() - frames;
    if (excess <= 0 || pace_ <= 0.0)
        return Clock::duration::zero();
    if (!running_)
        return Clock::duration::max();
    // The remaining fraction of a frame is included, so waking up at the
    // returned time finds the frames heard.
    const double missing = static_cast<double>(handed_ - frames) - consumed_;
    const Clock::duration carried = carriedUntil_ > now ? carriedUntil_ - now : Clock::duration::zero();
    return carried + durationOf(missing / (format_.rate * pace_)) + std::chrono::microseconds(50);
}

} // namespace vbmp3
