// The one engine of the library: the open file, the play state and the
// settings, with the play thread working for it. Every method is safe to call
// from any thread and returns without waiting for audio.
#pragma once

#include "control.h"
#include "play_thread.h"
#include "sink.h"
#include "vbmp3.h"

#include <memory>
#include <string>

namespace vbmp3 {

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    bool open(const std::string& path, OpenRecord& record);
    bool close();
    bool play();
    bool stop();
    bool pause();
    bool restart();
    bool seek(std::int32_t seconds);
    bool reload();

    // 0 stopped or ended, 1 playing, 2 paused; seconds := heard position.
    std::int32_t state(std::int32_t& seconds);
    std::int32_t playBitRate();

    void setVolume(int left, int right);
    void setEqualizer(const std::int32_t* table);
    void setBufferOptions(const BufferOptions& options);
    BufferOptions bufferOptions();
    void setDecodeOptions(const DecodeOptions& options);
    DecodeOptions decodeOptions();

    bool tagInfo(TagRecord& tag);
    bool mpegInfo(MpegRecord& info);

private:
    // All of these expect the lock to be held.
    // Ends the audio of the current segment and returns the source frame
    // heard up to that moment. What was not heard is dropped, unless the
    // track has ended and the next one carries on after it.
    std::int64_t endSegment(bool playOn);
    // Plays on from sourceFrame, or from the frame heard now.
    void jumpTo(std::optional<std::int64_t> sourceFrame);
    // Stops the audio; state is Stopped, Paused or Closed. Returns the heard frame.
    std::int64_t halt(PlayState state);
    // Commands other than close, open and play cut off the end of a track.
    void cut() { control_.continuing = false; }
    std::int64_t heardFrame();                  // source frame heard by now
    bool checkEnded();
    void notify();

    Control control_;
    Sink sink_;
    DecodeOptions decodeOptions_;
    std::unique_ptr<PlayThread> playThread_;  // last: stopped before the rest goes
};

} // namespace vbmp3
