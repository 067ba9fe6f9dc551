// A playback stream on a PulseAudio server (or PipeWire's PulseAudio
// service), spoken to directly rather than through out123: a cut has to
// replace audio the server already holds, which needs writes at a place of
// the stream's own choosing, and a server that goes away has to be noticed.
//
// Writes never wait: the library paces what it hands over. A cut fades the
// audio out over a few milliseconds, starting a little after what is being
// heard now, and puts silence in place of the rest; the next write follows
// the fade and fades in. Used by one thread at a time.
#pragma once

#include "decoder.h"
#include "frame_queue.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;
struct pa_operation;

namespace vbmp3 {

class PulseStream {
public:
    // Connects to the server PulseAudio's own settings name (PULSE_SERVER, ...)
    // and opens a stream on device (the default sink when empty). nullptr,
    // with the reason in error, when that fails.
    static std::unique_ptr<PulseStream> open(StreamFormat format, const std::string& device, std::string& error);
    ~PulseStream();
    PulseStream(const PulseStream&) = delete;
    PulseStream& operator=(const PulseStream&) = delete;

    // Queues count interleaved frames. False once the server is gone (error()
    // says why); nothing can be played on this stream after that.
    bool write(const float* frames, std::size_t count);
    // Fades out what is heard and silences what follows.
    void cut();
    // Waits (briefly) until the fade of the last cut has been heard.
    void settle();
    // Waits until everything queued has been heard.
    void drain();
    std::string error() const;

    // Frames of a fade, out or in: 8 ms.
    static std::size_t fadeFrames(int rate) { return static_cast<std::size_t>(rate) * 8 / 1000; }

private:
    explicit PulseStream(StreamFormat format);
    bool connect(const std::string& device, std::string& error);
    bool good() const;
    void await(pa_operation* operation);
    // The frame of the stream being heard now, asked of the server afresh.
    std::int64_t heardFrame();
    bool put(const float* frames, std::size_t count, std::optional<std::int64_t> at);
    void remember(const float* frames, std::size_t count);

    StreamFormat format_;
    std::size_t frameBytes_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;

    std::int64_t written_ = 0;                // the stream's write position, in frames
    std::optional<std::int64_t> restartAt_;   // where the next write goes after a cut
    std::int64_t fadeEnd_ = 0;                // where the last fade ends
    std::size_t fadeInDone_ = 0;              // frames faded in since the last cut
    // What was written from historyStart_ on: a cut fades out from it.
    FrameQueue history_;
    std::int64_t historyStart_ = 0;
    std::vector<float> scratch_;
};

} // namespace vbmp3
