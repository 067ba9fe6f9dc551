// Shared helpers of the engine tests. The library is loaded from the build
// with dlopen and driven through its 23 C entry points only, as the player
// does; what it played is read back from the file of the "wav" output.
#pragma once

#include "vbmp3_api.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace engine_test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using Api = nuvo::DecoderApi;

// The entry points of the built library (loaded once per process).
const Api& api();
// The names the player resolves, in its table's order.
const std::vector<std::string>& entryPointNames();

// Interleaved float audio.
struct Audio {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples;

    std::size_t frames() const { return channels ? samples.size() / static_cast<std::size_t>(channels) : 0; }
    float at(std::size_t frame, int channel = 0) const
    {
        return samples[frame * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)];
    }
    // Frames [from, to) as audio of their own.
    Audio slice(std::size_t from, std::size_t to) const;
};

// Any file libsndfile reads; rate 0 when it cannot be read.
Audio readAudio(const fs::path& path);
// What plain libmpg123 makes of an MPEG file (float, gapless).
Audio decodeMpeg(const fs::path& path);
// A source file decoded independently of the library: WAV by libsndfile,
// MPEG by libmpg123.
Audio reference(const fs::path& path);

// RMS level of one channel in dB relative to full scale (a full-scale sine
// is -3.01 dB).
double rmsDb(const Audio& audio, int channel = 0);
double peak(const Audio& audio);
// FNV-1a of the sample bytes, with the shape: equal only for the same audio,
// bit for bit.
std::uint64_t audioHash(const Audio& audio);
// Largest difference between two signals of the same shape.
double maxDifference(const Audio& a, const Audio& b);
// played without the silent frames that are not in source: what remains is
// source when played is source with silence put in.
Audio withoutInsertedSilence(const Audio& played, const Audio& source);

fs::path fixture(const std::string& name);

// A float WAV whose frame i holds i / 2^19 on every channel, so the frame a
// sample came from can be read off its value.
void writeRamp(const fs::path& path, int rate, int channels, std::size_t frames);
long rampIndex(float value);

// Every test gets a temporary directory (also NUVO_HOME), the "wav" output
// into it, an unpaced output unless it asks otherwise, and an engine.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const Api& vb() const { return api(); }
    fs::path pathIn(const std::string& name) const { return dir_ / name; }
    // The wav output file: out.wav, then out.1.wav, ... after format changes.
    fs::path output(int index = 0) const;
    // Pace of the wav output, for the next time the output opens.
    void setSpeed(double speed);
    // Ends the engine (which completes the output file) and reads the file.
    Audio finishAndRead(int index = 0);

    bool openFile(const fs::path& path, OpenRecord* record = nullptr);
    std::int32_t state(std::int32_t* seconds = nullptr) const;
    std::int32_t position() const;
    // Polls every 2 ms until done() or the timeout.
    static bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    bool waitForEnd(std::chrono::milliseconds timeout = 10s);
    bool waitForPosition(std::int32_t seconds, std::chrono::milliseconds timeout = 10s);
    // Opens, plays to the end and returns what was played.
    Audio playWhole(const fs::path& path);

    fs::path dir_;
};

} // namespace engine_test
