// The bookkeeping between the play thread and the device: how much audio was
// handed over, how much of it has been heard, and (for file outputs) the
// handed audio that is not heard yet. Its clock runs in real time times the
// output's pace, so the position is "handed minus what the device still
// holds", and outputs that do not pace themselves are paced by it.
//
// Audio belongs to a segment: everything from one jump (play, seek, resume,
// reload) to the next. Starting a segment drops what was not heard of the
// last one, unless it carries on from it: then the device plays the last
// one's rest first and the new audio follows without a cut (the next track
// after the end of one).
//
// A paced output that runs dry between the end of one segment and the start
// of the next that carries on from it (the next track came late) plays
// silence, as a device does; a file output gets that silence written, so a
// gap between tracks can be heard in the file. Running dry for more than a
// second is the output standing idle, and writes nothing. (Where a busy
// machine starves the output inside a track, nothing is written: that is no
// property of the sound.) Thread-safe.
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
    // of the ended one were heard (and so go on to a file output). With
    // carryOn, the ended one's rest is not dropped: it plays before the new
    // segment, and the output keeps running.
    std::int64_t beginSegment(std::uint64_t segment, StreamFormat format, bool running, bool carryOn);
    void setCapacity(std::int64_t frames);
    std::int64_t heard();  // frames of the segment heard so far
    std::int64_t held();   // handed over and not heard yet
    // How long until only frames frames of the segment are held (max() when never).
    Clock::duration untilHeld(std::int64_t frames);
    // When the rest of the segment before this one will have been heard.
    Clock::time_point carriedUntil();

    // Play thread.
    void setPace(double pace);
    std::int64_t room();
    // Counts frames handed to the device; with keep, also keeps them until
    // heard. False when segment is over (the frames are stale).
    bool accept(std::uint64_t segment, const float* frames, std::size_t count, bool keep);
    // All of the segment's audio has been handed over.
    void markComplete(std::uint64_t segment);
    // Kept audio heard since the last call, in order.
    Heard takeHeard();
    // True once after a segment began: a device must discard what it holds.
    bool takeDropRequest();

private:
    void advance(Clock::time_point now);
    std::int64_t heardLocked() const { return static_cast<std::int64_t>(consumed_); }
    // Moves kept frames up to upTo (of the segment) into pending_.
    void collect(std::int64_t upTo);

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
    Clock::time_point carriedUntil_{};  // the segment's audio is heard from then on
    bool continues_ = false;    // the segment carries on from the one before
    bool complete_ = false;     // all of the segment's audio has been handed
    double starved_ = 0.0;      // frames of silence played since the output ran dry
    FrameQueue kept_;
    Heard pending_;             // heard but not written yet, in order
    bool dropRequest_ = false;
};

} // namespace vbmp3
