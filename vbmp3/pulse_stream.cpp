#include "pulse_stream.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/operation.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace vbmp3 {
namespace {

// How far ahead of what is heard a cut begins: the time the server needs to
// take the fade in before that moment has passed.
constexpr int kCutLeadMs = 15;
// The server's queue target, and how much it wants before it starts playing:
// the library paces its writes itself, so the stream only has to start soon.
constexpr int kTargetMs = 250;
constexpr int kStartMs = 10;

void signalLoop(void* loop)
{
    pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
}

void onContextState(pa_context*, void* loop) { signalLoop(loop); }
void onStreamState(pa_stream*, void* loop) { signalLoop(loop); }
void onDone(pa_stream*, int, void* loop) { signalLoop(loop); }

class LoopLock {
public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* loop_;
};

// Waits on the loop until a context or stream leaves its connecting states;
// true when it ended up ready.
template <typename State, typename StateOf, typename IsGood>
bool waitUntilReady(pa_threaded_mainloop* loop, StateOf stateOf, State ready, IsGood isGood)
{
    State state;
    while ((state = stateOf()) != ready && isGood(state))
        pa_threaded_mainloop_wait(loop);
    return state == ready;
}

std::uint32_t bytesFor(int ms, StreamFormat format, std::size_t frameBytes)
{
    return static_cast<std::uint32_t>(static_cast<std::size_t>(format.rate) * ms / 1000 * frameBytes);
}

} // namespace

PulseStream::PulseStream(StreamFormat format)
    : format_(format), frameBytes_(sizeof(float) * static_cast<std::size_t>(format.channels))
{
    history_.reset(format.channels);
}

std::unique_ptr<PulseStream> PulseStream::open(StreamFormat format, const std::string& device, std::string& error)
{
    std::unique_ptr<PulseStream> stream(new PulseStream(format));
    if (!stream->connect(device, error))
        return nullptr;
    return stream;
}

bool PulseStream::connect(const std::string& device, std::string& error)
{
    loop_ = pa_threaded_mainloop_new();
    if (!loop_ || pa_threaded_mainloop_start(loop_) < 0) {
        error = "no PulseAudio main loop";
        return false;
    }
    LoopLock lock(loop_);
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Nuvo");
    if (!context_) {
        error = "no PulseAudio context";
        return false;
    }
    const auto serverError = [&] {
        error = pa_strerror(pa_context_errno(context_));
        return false;
    };
    pa_context_set_state_callback(context_, onContextState, loop_);
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0
        || !waitUntilReady(loop_, [this] { return pa_context_get_state(context_); }, PA_CONTEXT_READY,
                           [](pa_context_state_t state) { return PA_CONTEXT_IS_GOOD(state); }))
        return serverError();
    const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(format_.rate),
                                      static_cast<std::uint8_t>(format_.channels)};
    stream_ = pa_stream_new(context_, "Nuvo", &sampleFormat, nullptr);
    if (!stream_)
        return serverError();
    pa_stream_set_state_callback(stream_, onStreamState, loop_);
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength = bytesFor(kTargetMs, format_, frameBytes_);
    attributes.prebuf = bytesFor(kStartMs, format_, frameBytes_);
    attributes.minreq = static_cast<std::uint32_t>(-1);
    attributes.fragsize = static_cast<std::uint32_t>(-1);
    // No timing updates of its own: a cut asks for one when it needs it.
    if (pa_stream_connect_playback(stream_, device.empty() ? nullptr : device.c_str(), &attributes,
                                   PA_STREAM_NOFLAGS, nullptr, nullptr) < 0
        || !waitUntilReady(loop_, [this] { return pa_stream_get_state(stream_); }, PA_STREAM_READY,
                           [](pa_stream_state_t state) { return PA_STREAM_IS_GOOD(state); }))
        return serverError();
    // A stream opened in the middle of a track fades in like one after a cut.
    restartAt_ = 0;
    return true;
}

PulseStream::~PulseStream()
{
    if (!loop_)
        return;
    {
        LoopLock lock(loop_);
        if (stream_) {
            pa_stream_set_state_callback(stream_, nullptr, nullptr);
            pa_stream_disconnect(stream_);
            pa_stream_unref(stream_);
        }
        if (context_) {
            pa_context_set_state_callback(context_, nullptr, nullptr);
            pa_context_disconnect(context_);
            pa_context_unref(context_);
        }
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

bool PulseStream::good() const
{
    return PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)) && PA_STREAM_IS_GOOD(pa_stream_get_state(stream_));
}

std::string PulseStream::error() const
{
    LoopLock lock(loop_);
    const int code = pa_context_errno(context_);
    return code == PA_OK ? "the server closed the stream" : pa_strerror(code);
}

void PulseStream::await(pa_operation* operation)
{
    if (!operation)
        return;
    while (pa_operation_get_state(operation) == PA_OPERATION_RUNNING && good())
        pa_threaded_mainloop_wait(loop_);
    pa_operation_unref(operation);
}

std::int64_t PulseStream::heardFrame()
{
    await(pa_stream_update_timing_info(stream_, onDone, loop_));
    pa_usec_t time = 0;
    if (pa_stream_get_time(stream_, &time) < 0)
        return 0;
    return static_cast<std::int64_t>(time * static_cast<pa_usec_t>(format_.rate) / 1000000u);
}

bool PulseStream::put(const float* frames, std::size_t count, std::optional<std::int64_t> at)
{
    const std::int64_t offset = at ? *at * static_cast<std::int64_t>(frameBytes_) : 0;
    if (pa_stream_write(stream_, frames, count * frameBytes_, nullptr, offset, at ? PA_SEEK_ABSOLUTE : PA_SEEK_RELATIVE) <
        0)
        return false;
    written_ = (at ? *at : written_) + static_cast<std::int64_t>(count);
    return true;
}

void PulseStream::remember(const float* frames, std::size_t count)
{
    history_.push(frames, count);
    // Only what may not have been heard yet can be faded out; a second is
    // kept beyond what the library ever queues.
    const std::int64_t keep = static_cast<std::int64_t>(format_.rate) * 2;
    const std::int64_t excess = static_cast<std::int64_t>(history_.frames()) - keep;
    if (excess > 0) {
        history_.pop(static_cast<std::size_t>(excess));
        historyStart_ += excess;
    }
}

bool PulseStream::write(const float* frames, std::size_t count)
{
    LoopLock lock(loop_);
    if (!good())
        return false;
    const std::size_t fade = fadeFrames(format_.rate);
    std::optional<std::int64_t> at;
    if (restartAt_) {
        // After a cut: right after the fade, or (when that has been heard
        // already) as soon as possible.
        at = std::max(*restartAt_, heardFrame() + static_cast<std::int64_t>(format_.rate) * kCutLeadMs / 1000);
        restartAt_.reset();
        history_.clear();
        historyStart_ = *at;
    }
    if (fadeInDone_ < fade) {
        const auto channels = static_cast<std::size_t>(format_.channels);
        scratch_.assign(frames, frames + count * channels);
        for (std::size_t i = 0; i < count && fadeInDone_ < fade; ++i, ++fadeInDone_) {
            const float gain = static_cast<float>(fadeInDone_ + 1) / static_cast<float>(fade + 1);
            for (std::size_t c = 0; c < channels; ++c)
                scratch_[i * channels + c] *= gain;
        }
        frames = scratch_.data();
    }
    if (!put(frames, count, at))
        return false;
    remember(frames, count);
    return good();
}

void PulseStream::cut()
{
    LoopLock lock(loop_);
    if (!good())
        return;
    const std::int64_t historyEnd = historyStart_ + static_cast<std::int64_t>(history_.frames());
    const std::int64_t from =
        std::max(heardFrame() + static_cast<std::int64_t>(format_.rate) * kCutLeadMs / 1000, historyStart_);
    fadeInDone_ = 0;
    if (from >= historyEnd) {
        // Nothing left to fade: what was queued has been heard.
        restartAt_ = std::max(restartAt_.value_or(0), historyEnd);
        return;
    }
    const auto channels = static_cast<std::size_t>(format_.channels);
    const std::size_t fade = std::min<std::size_t>(fadeFrames(format_.rate), static_cast<std::size_t>(historyEnd - from));
    const float* source = history_.front() + static_cast<std::size_t>(from - historyStart_) * channels;
    scratch_.assign(source, source + fade * channels);
    for (std::size_t i = 0; i < fade; ++i) {
        const float gain = static_cast<float>(fade - i) / static_cast<float>(fade + 1);
        for (std::size_t c = 0; c < channels; ++c)
            scratch_[i * channels + c] *= gain;
    }
    const std::int64_t queuedEnd = written_;
    put(scratch_.data(), fade, from);
    // The rest of what was queued becomes silence.
    const std::int64_t rest = queuedEnd - written_;
    if (rest > 0) {
        scratch_.assign(static_cast<std::size_t>(rest) * channels, 0.0f);
        put(scratch_.data(), static_cast<std::size_t>(rest), written_);
    }
    fadeEnd_ = from + static_cast<std::int64_t>(fade);
    restartAt_ = fadeEnd_;
    history_.clear();
    historyStart_ = fadeEnd_;
}

void PulseStream::settle()
{
    using namespace std::chrono;
    const auto giveUp = steady_clock::now() + milliseconds(kCutLeadMs + 100);
    while (steady_clock::now() < giveUp) {
        {
            LoopLock lock(loop_);
            if (!good() || heardFrame() >= fadeEnd_)
                return;
        }
        std::this_thread::sleep_for(milliseconds(2));
    }
}

void PulseStream::drain()
{
    // After a cut only silence is left: waiting for it would only delay.
    if (restartAt_) {
        settle();
        return;
    }
    LoopLock lock(loop_);
    if (good())
        await(pa_stream_drain(stream_, onDone, loop_));
}

} // namespace vbmp3
