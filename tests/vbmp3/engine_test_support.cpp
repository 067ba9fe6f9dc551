#include "engine_test_support.h"

#include <dlfcn.h>
#include <mpg123.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace engine_test {
namespace {

Api loadApi()
{
    void* library = dlopen(NUVO_VBMP3_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        throw std::runtime_error(std::string("cannot load the library: ") + dlerror());
    Api a{};
    if (!nuvo::resolveDecoderApi(library, a))
        throw std::runtime_error("the library lacks an entry point");
    return a;
}

constexpr double kRampStep = 1.0 / (1 << 19);

} // namespace

const Api& api()
{
    static const Api loaded = loadApi();
    return loaded;
}

const std::vector<std::string>& entryPointNames()
{
    static const std::vector<std::string> names{
#define NUVO_DECODER_NAME(name) "vbmp3_" #name,
        NUVO_DECODER_ENTRY_POINTS(NUVO_DECODER_NAME)
#undef NUVO_DECODER_NAME
    };
    return names;
}

Audio Audio::slice(std::size_t from, std::size_t to) const
{
    Audio part{rate, channels, {}};
    to = std::min(to, frames());
    if (from < to)
        part.samples.assign(samples.begin() + static_cast<std::ptrdiff_t>(from * static_cast<std::size_t>(channels)),
                            samples.begin() + static_cast<std::ptrdiff_t>(to * static_cast<std::size_t>(channels)));
    return part;
}

Audio readAudio(const fs::path& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return {};
    Audio audio{info.samplerate, info.channels, {}};
    audio.samples.resize(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels));
    const sf_count_t got = sf_readf_float(file, audio.samples.data(), info.frames);
    audio.samples.resize(static_cast<std::size_t>(got) * static_cast<std::size_t>(info.channels));
    sf_close(file);
    return audio;
}

Audio decodeMpeg(const fs::path& path)
{
    mpg123_init();
    int error = 0;
    mpg123_handle* h = mpg123_new(nullptr, &error);
    Audio audio;
    if (!h)
        return audio;
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET, 0.);
    mpg123_format_none(h);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(h, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    if (mpg123_open(h, path.c_str()) == MPG123_OK) {
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        if (mpg123_getformat(h, &rate, &channels, &encoding) == MPG123_OK) {
            audio.rate = static_cast<int>(rate);
            audio.channels = channels;
            std::vector<float> buffer(4096);
            for (;;) {
                size_t done = 0;
                const int result = mpg123_read(h, buffer.data(), buffer.size() * sizeof(float), &done);
                audio.samples.insert(audio.samples.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(done / sizeof(float)));
                if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
                    break;
            }
        }
        mpg123_close(h);
    }
    mpg123_delete(h);
    return audio;
}

Audio reference(const fs::path& path)
{
    if (path.extension() == ".wav")
        return readAudio(path);
    return decodeMpeg(path);
}

double rmsDb(const Audio& audio, int channel)
{
    double sum = 0.0;
    const std::size_t n = audio.frames();
    for (std::size_t i = 0; i < n; ++i)
        sum += static_cast<double>(audio.at(i, channel)) * audio.at(i, channel);
    return n ? 10.0 * std::log10(sum / static_cast<double>(n) + 1e-30) : -300.0;
}

double peak(const Audio& audio)
{
    double result = 0.0;
    for (float s : audio.samples)
        result = std::max(result, static_cast<double>(std::abs(s)));
    return result;
}

std::uint64_t audioHash(const Audio& audio)
{
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&](const void* data, std::size_t bytes) {
        for (std::size_t i = 0; i < bytes; ++i) {
            hash ^= static_cast<const unsigned char*>(data)[i];
            hash *= 1099511628211ull;
        }
    };
    mix(&audio.rate, sizeof audio.rate);
    mix(&audio.channels, sizeof audio.channels);
    mix(audio.samples.data(), audio.samples.size() * sizeof(float));
    return hash;
}

double maxDifference(const Audio& a, const Audio& b)
{
    if (a.samples.size() != b.samples.size())
        return INFINITY;
    double result = 0.0;
    for (std::size_t i = 0; i < a.samples.size(); ++i)
        result = std::max(result, static_cast<double>(std::abs(a.samples[i] - b.samples[i])));
    return result;
}

Audio withoutInsertedSilence(const Audio& played, const Audio& source)
{
    Audio kept{played.rate, played.channels, {}};
    const auto channels = static_cast<std::size_t>(played.channels);
    std::size_t next = 0;  // source frame expected next
    for (std::size_t i = 0; i < played.frames(); ++i) {
        const float* frame = played.samples.data() + i * channels;
        const bool silent = std::all_of(frame, frame + channels, [](float s) { return s == 0.0f; });
        const bool expected = next < source.frames() &&
                              std::equal(frame, frame + channels, source.samples.data() + next * channels);
        if (silent && !expected)
            continue;
        kept.samples.insert(kept.samples.end(), frame, frame + channels);
        ++next;
    }
    return kept;
}

fs::path fixture(const std::string& name)
{
    return fs::path(NUVO_FIXTURES_DIR) / name;
}

void writeRamp(const fs::path& path, int rate, int channels, std::size_t frames)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> samples(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] = static_cast<float>(static_cast<double>(i) * kRampStep);
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
}

long rampIndex(float value)
{
    return std::lround(value / kRampStep);
}

void EngineTest::SetUp()
{
    std::string pattern = (fs::temp_directory_path() / "vbmp3-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    fs::create_directories(dir_ / "home");
    setenv("NUVO_HOME", (dir_ / "home").c_str(), 1);
    setenv("NUVO_AUDIO_DRIVER", "wav", 1);
    setenv("NUVO_AUDIO_DEVICE", output().c_str(), 1);
    setSpeed(0);
    ASSERT_EQ(vb().init(), 1);
}

void EngineTest::TearDown()
{
    vb().free();
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}

fs::path EngineTest::output(int index) const
{
    return dir_ / (index == 0 ? std::string("out.wav") : "out." + std::to_string(index) + ".wav");
}

void EngineTest::setSpeed(double speed)
{
    setenv("NUVO_AUDIO_SPEED", std::to_string(speed).c_str(), 1);
}

Audio EngineTest::finishAndRead(int index)
{
    vb().free();
    return readAudio(output(index));
}

bool EngineTest::openFile(const fs::path& path, OpenRecord* record)
{
    OpenRecord local{};
    return vb().open(path.c_str(), record ? record : &local) == 1;
}

std::int32_t EngineTest::state(std::int32_t* seconds) const
{
    std::int32_t local = 0;
    return vb().getState(seconds ? seconds : &local);
}

std::int32_t EngineTest::position() const
{
    std::int32_t seconds = -1;
    vb().getState(&seconds);
    return seconds;
}

bool EngineTest::waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

bool EngineTest::waitForEnd(std::chrono::milliseconds timeout)
{
    return waitFor([this] { return state() == 0; }, timeout);
}

bool EngineTest::waitForPosition(std::int32_t seconds, std::chrono::milliseconds timeout)
{
    return waitFor([&] { return state() == 1 && position() >= seconds; }, timeout);
}

Audio EngineTest::playWhole(const fs::path& path)
{
    EXPECT_TRUE(openFile(path)) << path;
    EXPECT_EQ(vb().play(), 1);
    EXPECT_TRUE(waitForEnd()) << path;
    return finishAndRead();
}

} // namespace engine_test
