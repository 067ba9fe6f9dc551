#include "sink.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vbmp3 {

void Sink::advance(Clock::time_point now)
{
    if (running_ && consumed_ < static_cast<double>(handed_)) {
        if (pace_ <= 0.0) {
            consumed_ = static_cast<double>(handed_);
        } else {
            const double seconds = std::chrono::duration<double>(now - last_).count();
            consumed_ = std::min(static_cast<double>(handed_), consumed_ + seconds * format_.rate * pace_);
        }
    }
    // Time spent with nothing to play is not banked: the device was starved.
    last_ = now;
}

std::int64_t Sink::beginSegment(std::uint64_t segment, StreamFormat format, bool running)
{
    std::lock_guard lock(mutex_);
    advance(Clock::now());
    const std::int64_t heard = heardLocked();
    // What was heard but not yet written still belongs in the file.
    const std::int64_t ready = heard - written_;
    if (ready > 0 && !kept_.empty()) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(ready, static_cast<std::int64_t>(kept_.frames())));
        if (pending_.frames.empty())
            pending_.format = format_;
        if (pending_.format.channels == format_.channels && pending_.format.rate == format_.rate)
            pending_.frames.insert(pending_.frames.end(), kept_.front(), kept_.front() + count * static_cast<std::size_t>(format_.channels));
    }
    segment_ = segment;
    format_ = format;
    kept_.reset(format.channels);
    handed_ = 0;
    consumed_ = 0.0;
    written_ = 0;
    running_ = running;
    dropRequest_ = true;
    return heard;
}

void Sink::setRunning(bool running)
{
    std::lock_guard lock(mutex_);
    advance(Clock::now());
    running_ = running;
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
    if (keep)
        kept_.push(frames, count);
    else
        written_ += static_cast<std::int64_t>(count);
    handed_ += static_cast<std::int64_t>(count);
    return true;
}

Sink::Heard Sink::takeHeard()
{
    std::lock_guard lock(mutex_);
    advance(Clock::now());
    Heard result = std::move(pending_);
    pending_ = {};
    const std::int64_t ready = std::min<std::int64_t>(heardLocked() - written_, static_cast<std::int64_t>(kept_.frames()));
    if (ready > 0) {
        if (!result.frames.empty() && (result.format.rate != format_.rate || result.format.channels != format_.channels)) {
            // The last segment's tail cannot share a buffer with audio of
            // another format; it is left out (a track was cut off anyway).
            result.frames.clear();
        }
        result.format = format_;
        const auto count = static_cast<std::size_t>(ready);
        result.frames.insert(result.frames.end(), kept_.front(), kept_.front() + count * static_cast<std::size_t>(format_.channels));
        kept_.pop(count);
        written_ += ready;
    }
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
    advance(Clock::now());
    const std::int64_t excess = handed_ - heardLocked() - frames;
    if (excess <= 0 || pace_ <= 0.0)
        return Clock::duration::zero();
    if (!running_)
        return Clock::duration::max();
    // The remaining fraction of a frame is included, so waking up at the
    // returned time finds the frames heard.
    const double missing = static_cast<double>(handed_ - frames) - consumed_;
    const double seconds = missing / (format_.rate * pace_);
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds))
        + std::chrono::microseconds(50);
}

} // namespace vbmp3
