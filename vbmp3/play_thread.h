// The play thread: decodes the open file ahead of the device, runs the signal
// chain and hands the audio to the output at the pace the sink allows.
#pragma once

#include "audio_device.h"
#include "control.h"
#include "frame_queue.h"
#include "output_stage.h"
#include "signal_chain.h"
#include "sink.h"

#include <functional>
#include <thread>

namespace vbmp3 {

class PlayThread {
public:
    // outputBack is called (without the lock) when a lost device has come
    // back, so that the track is picked up again where it is now.
    PlayThread(Control& control, Sink& sink, std::function<void()> outputBack);
    // Asks the thread to finish, waits for it, and closes the output (a file
    // output is complete afterwards).
    ~PlayThread();
    PlayThread(const PlayThread&) = delete;
    PlayThread& operator=(const PlayThread&) = delete;

private:
    using Clock = Sink::Clock;

    // What the thread works with in one turn, taken under the lock.
    struct Job {
        std::uint64_t changes = 0;
        std::uint64_t generation = 0;
        PlayState state = PlayState::Closed;
        bool continuing = false;
        std::shared_ptr<Track> track;
        std::optional<std::int64_t> startFrom;
        BufferOptions buffers{};
        double leftGain = 1.0;
        double rightGain = 1.0;
        std::optional<std::optional<EqualizerGains>> equalizer;  // set when it changed
    };

    struct TurnResult {
        Clock::time_point due;   // when the next turn is needed
        bool allHanded = false;  // the segment's audio is all with the device
        bool finished = false;   // ... and all of it has been heard
    };

    void run();
    Job takeJob();
    // One turn, without the lock.
    TurnResult turn(const Job& job);
    void startSegment(const Job& job);
    void decodeAhead(const Job& job, Clock::time_point now);
    void handOver(const Job& job, Clock::time_point now);
    Clock::time_point nextTurn(const Job& job, Clock::time_point now);
    void finishSegment(const Job& job, TurnResult& result);
    bool stale(const Job& job) const;
    // Writes heard audio to a file output and carries out a requested drop.
    void service();

    Control& control_;
    Sink& sink_;
    std::function<void()> outputBack_;
    AudioDevice device_;
    SignalChain chain_;
    OutputStage outputStage_;
    FrameQueue readAhead_;
    std::vector<float> decoded_;
    std::vector<float> shaped_;

    std::shared_ptr<Track> track_;       // the track the chain is set up for
    std::uint64_t activeGeneration_ = ~0ull;
    std::int64_t discard_ = 0;           // output frames of the pre-roll still to drop
    // Frames put into and taken from the read-ahead in this segment, and how
    // many had been put in when the chain last raised the level: those are
    // limited on their way to the device.
    std::int64_t pushed_ = 0;
    std::int64_t popped_ = 0;
    std::int64_t raisedUpTo_ = 0;
    bool decoderDone_ = false;
    std::uint64_t equalizerVersion_ = 0;
    Clock::time_point decodeRestUntil_{};
    Clock::time_point outputRestUntil_{};

    std::thread thread_;  // last: starts once everything above exists
};

} // namespace vbmp3
