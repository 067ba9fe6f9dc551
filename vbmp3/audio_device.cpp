#include "audio_device.h"

#include <fcntl.h>
#include <out123.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

namespace vbmp3 {
namespace {

// out123's file writers that the player may use; they write NUVO_AUDIO_DEVICE.
constexpr std::array<std::string_view, 2> kFileDrivers{"wav", "raw"};
// Outputs into the void: nothing paces them.
constexpr std::array<std::string_view, 2> kVoidDrivers{"dummy", "test"};
// Other built-in writers would write a file or standard output.
constexpr std::array<std::string_view, 4> kRefusedDrivers{"cdr", "au", "hex", "txt"};
// Tried in turn when no driver is named, after PulseAudio: out123's own order
// without "nas", whose library spins without end where no NAS server answers,
// and without "openal", which claims success where there is no device at all.
constexpr const char* kDefaultDrivers = "alsa,oss,jack,portaudio";
constexpr std::string_view kPulseDriver = "pulse";
// How often a lost device is tried again.
constexpr auto kRetryEvery = std::chrono::milliseconds(250);

template <std::size_t N>
bool isOneOf(const std::array<std::string_view, N>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

double configuredSpeed()
{
    const std::string text = environment("NUVO_AUDIO_SPEED");
    if (text.empty())
        return 1.0;
    char* end = nullptr;
    const double speed = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(speed) || speed < 0.0)
        return 1.0;
    return speed;
}

// Sound libraries behind out123's modules (ALSA, JACK, OpenAL) print their own
// complaints while a device is probed; the player prints nothing, so standard
// error is pointed at /dev/null for the duration.
class QuietStderr {
public:
    QuietStderr()
    {
        std::fflush(stderr);
        saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~QuietStderr()
    {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};

int pickEncoding(int supported)
{
    for (int encoding : {MPG123_ENC_FLOAT_32, MPG123_ENC_SIGNED_32, MPG123_ENC_SIGNED_16})
        if (supported > 0 && (supported & encoding) == encoding)
            return encoding;
    return 0;
}

} // namespace

std::string numberedPath(const std::string& path, int index)
{
    if (index == 0)
        return path;
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    const std::string number = "." + std::to_string(index);
    if (dot == std::string::npos || dot <= nameStart)
        return path + number;
    return path.substr(0, dot) + number + path.substr(dot);
}

void AudioDevice::Deleter::operator()(out123_struct* handle) const
{
    out123_del(handle);
}

AudioDevice::~AudioDevice()
{
    close();
}

void AudioDevice::prepare(StreamFormat format)
{
    if (prepared_ && format.rate == format_.rate && format.channels == format_.channels) {
        const auto now = std::chrono::steady_clock::now();
        if (lost_ && now >= retryAt_) {
            retryAt_ = now + kRetryEvery;
            if (open(format)) {
                lost_ = false;
                cameBack_ = true;
                std::fputs("sound output back\n", stderr);
            } else {
                handle_.reset();
            }
        }
        return;
    }
    // What a device still holds here is the end of the last track (a cut has
    // dropped it already): it is played out, not thrown away.
    close(Ending::Drain);
    prepared_ = true;
    format_ = format;
    if (!open(format)) {
        handle_.reset();
        writesFile_ = false;
        live_ = false;
        pace_ = 1.0;
        reportSilence();
    }
}

bool AudioDevice::open(StreamFormat format)
{
    const std::string driver = environment("NUVO_AUDIO_DRIVER");
    const std::string device = environment("NUVO_AUDIO_DEVICE");
    if (isOneOf(kRefusedDrivers, driver))
        return false;
    const bool fileDriver = isOneOf(kFileDrivers, driver);
    // Without a file name a file writer would write to standard output.
    if (fileDriver && device.empty())
        return false;
    const bool probesDevice = !fileDriver && !isOneOf(kVoidDrivers, driver);
    if ((driver.empty() || driver == kPulseDriver) && openPulse(format, device))
        return true;
    if (driver == kPulseDriver)
        return false;

    handle_.reset(out123_new());
    if (!handle_)
        return false;
    out123_handle* h = handle_.get();
    out123_param_int(h, OUT123_FLAGS, OUT123_QUIET);
    out123_param_int(h, OUT123_VERBOSE, 0);

    const std::string target = fileDriver ? numberedPath(device, filesOpened_) : device;
    {
        std::unique_ptr<QuietStderr> quiet = probesDevice ? std::make_unique<QuietStderr>() : nullptr;
        if (out123_open(h, driver.empty() ? kDefaultDrivers : driver.c_str(), target.empty() ? nullptr : target.c_str()) != 0)
            return false;
        char* active = nullptr;
        if (out123_driver_info(h, &active, nullptr) != 0 || !active || isOneOf(kRefusedDrivers, active))
            return false;
        const std::string activeName = active;
        encoding_ = pickEncoding(out123_encodings(h, format.rate, format.channels));
        if (encoding_ == 0 || out123_start(h, format.rate, format.channels, encoding_) != 0)
            return false;
        writesFile_ = isOneOf(kFileDrivers, activeName);
        live_ = !writesFile_ && !isOneOf(kVoidDrivers, activeName);
        pace_ = live_ ? 1.0 : configuredSpeed();
    }
    if (writesFile_)
        ++filesOpened_;
    paused_ = false;
    return true;
}

bool AudioDevice::openPulse(StreamFormat format, const std::string& device)
{
    std::string error;
    pulse_ = PulseStream::open(format, device, error);
    if (!pulse_)
        return false;
    writesFile_ = false;
    live_ = true;
    pace_ = 1.0;
    paused_ = false;
    return true;
}

void AudioDevice::lose(const std::string& reason)
{
    release(Ending::Drop);
    lost_ = true;
    retryAt_ = std::chrono::steady_clock::now() + kRetryEvery;
    std::fprintf(stderr, "sound output lost: %s\n", reason.c_str());
}

void AudioDevice::reportSilence()
{
    static std::atomic<bool> reported{false};
    if (!reported.exchange(true))
        std::fputs("vbmp3: no sound output could be opened; playing silently\n", stderr);
}

void AudioDevice::write(float* frames, std::size_t count)
{
    if (pulse_ && count > 0) {
        if (!pulse_->write(frames, count))
            lose(pulse_->error());
        return;
    }
    if (!handle_ || count == 0)
        return;
    const std::size_t samples = count * static_cast<std::size_t>(format_.channels);
    void* data = frames;
    std::size_t bytes = samples * sizeof(float);
    if (encoding_ == MPG123_ENC_SIGNED_16) {
        converted_.resize(samples * sizeof(std::int16_t));
        auto* out = reinterpret_cast<std::int16_t*>(converted_.data());
        for (std::size_t i = 0; i < samples; ++i)
            out[i] = static_cast<std::int16_t>(std::lrint(std::clamp(frames[i], -1.0f, 1.0f) * 32767.0f));
        data = out;
        bytes = samples * sizeof(std::int16_t);
    } else if (encoding_ == MPG123_ENC_SIGNED_32) {
        converted_.resize(samples * sizeof(std::int32_t));
        auto* out = reinterpret_cast<std::int32_t*>(converted_.data());
        for (std::size_t i = 0; i < samples; ++i)
            out[i] = static_cast<std::int32_t>(std::lrint(std::clamp(static_cast<double>(frames[i]), -1.0, 1.0) * 2147483647.0));
        data = out;
        bytes = samples * sizeof(std::int32_t);
    }
    paused_ = false;
    // out123 may take less than it is given (a file writer takes a block at
    // a time); what it leaves is offered again until nothing more goes in.
    auto* next = static_cast<unsigned char*>(data);
    while (bytes > 0) {
        const std::size_t played = out123_play(handle_.get(), next, bytes);
        if (played == 0) {
            if (live_ && out123_errcode(handle_.get()) != OUT123_OK)
                lose(out123_strerror(handle_.get()));
            break;
        }
        next += played;
        bytes -= std::min(played, bytes);
    }
}

void AudioDevice::drop()
{
    if (pulse_)
        pulse_->cut();
    else if (handle_ && live_)
        out123_drop(handle_.get());
}

void AudioDevice::pause()
{
    if (handle_ && live_ && !paused_) {
        out123_pause(handle_.get());
        paused_ = true;
    }
}

void AudioDevice::close(Ending ending)
{
    release(ending);
    prepared_ = false;
    lost_ = false;
}

void AudioDevice::release(Ending ending)
{
    if (pulse_) {
        // A stream that is dropped fades out first; its fade is heard before it goes.
        if (ending == Ending::Drain) {
            pulse_->drain();
        } else {
            pulse_->cut();
            pulse_->settle();
        }
        pulse_.reset();
    }
    if (handle_) {
        std::unique_ptr<QuietStderr> quiet = live_ ? std::make_unique<QuietStderr>() : nullptr;
        if (live_ && ending == Ending::Drain)
            out123_drain(handle_.get());
        else if (live_)
            out123_drop(handle_.get());
        out123_close(handle_.get());
        handle_.reset();
    }
    writesFile_ = false;
    live_ = false;
}

} // namespace vbmp3
