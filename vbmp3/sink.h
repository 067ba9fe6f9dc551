// The bookkeeping between the play thread and the device: how much audio was
// handed over, how much of it has been heard, and (for file outputs) the
// handed audio that is not heard yet. Its clock runs in real time times the
// output's pace, so the position is "handed minus what the device still
// holds", and outputs that do not pace themselves are paced by it.
//
// Audio belongs to a segment: everything from one jump (play, seek, resume,
// reload) to the next. Starting a segment drops what was not heard of the
// last one. Thread-safe.
#pragma once

#include "decoder.h"
#include "frame_queue.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

namespace vbmp3 {

class Sink {
public:
    using Clock = std::chrono::steady_clock;

    struct Heard {
        StreamFormat format;
        std::vector<float> frames;  // interleaved
    };

    // Any thread.
    // Ends the current segment and begins the next; returns how many frames
    // of the ended one were heard (and so go on to a file output).
    std::int64_t beginSegment(std::uint64_t segment, StreamFormat format, bool running);
    void setRunning(bool running);
    void setCapacity(std::int64_t frames);
    std::int64_t heard();  // frames of the segment heard so far
    std::int64_t held();   // handed over and not heard yet

    // Play thread.
    void setPace(double pace);
    std::int64_t room();
    // Counts frames handed to the device; with keep, also keeps them until
    // heard. False when segment is over (the frames are stale).
    bool accept(std::uint64_t segment, const float* frames, std::size_t count, bool keep);
    // Kept audio heard since the last call, in order.
    Heard takeHeard();
    // True once after a segment began: a device must discard what it holds.
    bool takeDropRequest();
    // How long until only frames frames are held (max() when never).
    Clock::duration untilHeld(std::int64_t frames);

private:
    void advance(Clock::time_point now);
    std::int64_t heardLocked() const { return static_cast<std::int64_t>(consumed_); }

    std::mutex mutex_;
    std::uint64_t segment_ = 0;
    StreamFormat format_{44100, 2};
    bool running_ = false;
    double pace_ = 1.0;
    std::int64_t capacity_ = 20 * 1152;
    std::int64_t handed_ = 0;
    double consumed_ = 0.0;
    std::int64_t written_ = 0;  // kept frames given back by takeHeard
    Clock::time_point last_{};
    FrameQueue kept_;
    Heard pending_;             // heard but not written when the last segment ended
    bool dropRequest_ = false;
};

} // namespace vbmp3
