// The sound output: one out123 handle, chosen by NUVO_AUDIO_DRIVER and
// NUVO_AUDIO_DEVICE, read each time the output is opened. Used by the play
// thread only.
#pragma once

#include "decoder.h"
#include "pulse_stream.h"

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct out123_struct;

namespace vbmp3 {

class AudioDevice {
public:
    AudioDevice() = default;
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Makes the output ready for format. The output stays open while the
    // format stays the same; on a change it is closed (a file written so far
    // is finished) and opened again, a file output continuing in NAME.1.wav,
    // NAME.2.wav and so on. When nothing can be opened the output is silent.
    // A device that was lost is tried again here every little while.
    void prepare(StreamFormat format);

    bool silent() const { return !handle_ && !pulse_; }
    // True when the output is open for exactly this format.
    bool plays(StreamFormat format) const
    {
        return !silent() && format.rate == format_.rate && format.channels == format_.channels;
    }
    // True once after a lost device came back: it plays from where the
    // track is now, not from what was handed to it while it was gone.
    bool takeCameBack() { return std::exchange(cameBack_, false); }
    // How fast the library has to pace the output, in times real time (0: not
    // at all). Devices pace themselves as well; files and the void do not.
    double pace() const { return pace_; }
    // File outputs must be given only what has been heard, so a pause or a
    // seek leaves no unheard audio in the file.
    bool writesFile() const { return writesFile_; }
    // A write may wait for the device: it is fed in small pieces then.
    bool mayBlock() const { return !pulse_ && !writesFile_; }

    // frames interleaved float frames of the prepared format; the buffer may
    // be changed on the way.
    void write(float* frames, std::size_t count);
    // Discards what a device still holds; where it can, it fades out first.
    void drop();
    // Lets a device rest while nothing plays; what it holds is kept.
    void pause();
    enum class Ending { Drop, Drain };
    // Closes the output; a file is complete after this. A device drops what
    // it still holds, or plays it out first.
    void close(Ending ending = Ending::Drop);

private:
    struct Deleter {
        void operator()(out123_struct* handle) const;
    };

    bool open(StreamFormat format);
    bool openPulse(StreamFormat format, const std::string& device);
    void reportSilence();
    // The device stopped taking audio: the track goes on silently.
    void lose(const std::string& reason);
    void release(Ending ending);

    std::unique_ptr<out123_struct, Deleter> handle_;
    std::unique_ptr<PulseStream> pulse_;
    bool lost_ = false;
    bool cameBack_ = false;
    std::chrono::steady_clock::time_point retryAt_{};
    StreamFormat format_{};
    bool prepared_ = false;
    int encoding_ = 0;
    double pace_ = 1.0;
    bool writesFile_ = false;
    bool live_ = false;
    bool paused_ = false;
    int filesOpened_ = 0;
    std::vector<unsigned char> converted_;
};

// path with ".index" put before its extension: out.wav -> out.1.wav.
std::string numberedPath(const std::string& path, int index);

} // namespace vbmp3
