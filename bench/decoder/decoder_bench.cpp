// (a) Decoding a 5-minute 320 kbit/s MP3 through the library's whole signal
//     chain (equalizer on) to the "dummy" output, unpaced, against plain
//     libmpg123 decoding of the same file: CPU time of the whole process.
// (b) Real-time playback of the same file to "dummy": share of one core.
// (c) vbmp3_getFileInfo of the same file with 2 MiB of 0xFF put in its middle
//     (every byte a failed sync candidate) against the intact file.
#include "vbmp3_api.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <mpg123.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const nuvo::DecoderApi& library()
{
    static const nuvo::DecoderApi loaded = [] {
        void* handle = dlopen(NUVO_VBMP3_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            throw std::runtime_error(dlerror());
        nuvo::DecoderApi api;
        if (!nuvo::resolveDecoderApi(handle, api))
            throw std::runtime_error("the library lacks an entry point");
        return api;
    }();
    return loaded;
}

// Five minutes of stereo music-like sound (pink noise under two tones) at
// 320 kbit/s, made once and kept in the build tree.
const fs::path& testFile()
{
    static const fs::path path = [] {
        const fs::path dir = NUVO_BENCH_DATA_DIR;
        const fs::path mp3 = dir / "five-minutes-320k.mp3";
        if (!fs::exists(mp3)) {
            fs::create_directories(dir);
            const fs::path partial = dir / "five-minutes-320k.partial.mp3";
            const std::string command = "sox -R -D -n -r 44100 -c 2 -b 16 -t wav - synth 300 pinknoise "
                                        "synth 300 sine mix 440 synth 300 sine mix 660 gain -8 "
                                        "| lame --quiet --cbr -b 320 - '" + partial.string() + "'";
            if (std::system(command.c_str()) != 0)
                throw std::runtime_error("cannot make the test file with sox and lame");
            fs::rename(partial, mp3);
        }
        return mp3;
    }();
    return path;
}

// The test file with 2 MiB of 0xFF bytes put in at its middle.
const fs::path& damagedTestFile()
{
    static const fs::path path = [] {
        const fs::path damaged = fs::path(NUVO_BENCH_DATA_DIR) / "five-minutes-320k-ff-run.mp3";
        if (!fs::exists(damaged)) {
            std::ifstream in(testFile(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            const fs::path partial = damaged.string() + ".partial";
            std::ofstream out(partial, std::ios::binary);
            out << bytes.substr(0, bytes.size() / 2) << std::string(2 << 20, '\xFF') << bytes.substr(bytes.size() / 2);
            out.close();
            fs::rename(partial, damaged);
        }
        return damaged;
    }();
    return path;
}

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Plain libmpg123: open, decode everything in its default format, close.
long long decodeWithMpg123(const fs::path& path)
{
    int error = 0;
    mpg123_handle* h = mpg123_new(nullptr, &error);
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET, 0.);
    long long bytes = 0;
    if (mpg123_open(h, path.c_str()) == MPG123_OK) {
        std::vector<unsigned char> buffer(64 * 1024);
        size_t done = 0;
        int result;
        do {
            result = mpg123_read(h, buffer.data(), buffer.size(), &done);
            bytes += static_cast<long long>(done);
        } while (result == MPG123_OK || result == MPG123_NEW_FORMAT);
        mpg123_close(h);
    }
    mpg123_delete(h);
    return bytes;
}

constexpr std::int32_t kEqualizer[VBMP3_EQUALIZER_BANDS]{40, 30, 10, -10, -20, 10, 30, 50, 60, 80};

// An engine on the dummy output at the given pace, equalizer on.
void startEngine(double speed)
{
    setenv("NUVO_AUDIO_DRIVER", "dummy", 1);
    unsetenv("NUVO_AUDIO_DEVICE");
    setenv("NUVO_AUDIO_SPEED", std::to_string(speed).c_str(), 1);
    const nuvo::DecoderApi& l = library();
    l.init();
    l.setEqualizer(kEqualizer);
    OpenRecord record{};
    if (l.open(testFile().c_str(), &record) != 1)
        throw std::runtime_error("the library cannot open the test file");
}

void playThroughLibrary()
{
    const nuvo::DecoderApi& l = library();
    startEngine(0);
    l.play();
    std::int32_t seconds = 0;
    while (l.getState(&seconds) != 0)
        std::this_thread::sleep_for(1ms);
    l.free();
}

void BM_PlainMpg123Decode(benchmark::State& state)
{
    mpg123_init();
    testFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeWithMpg123(testFile()));
}
BENCHMARK(BM_PlainMpg123Decode)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime()->Iterations(3);

void BM_LibraryWholeChainUnpaced(benchmark::State& state)
{
    testFile();
    for (auto _ : state)
        playThroughLibrary();
}
BENCHMARK(BM_LibraryWholeChainUnpaced)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime()->Iterations(3);

// Both in turn, so the ratio compares like with like on a busy machine; the
// median of the rounds' ratios is reported, as one round can be disturbed.
void BM_LibraryToPlainCpuRatio(benchmark::State& state)
{
    mpg123_init();
    testFile();
    std::vector<double> ratios;
    double plain = 0.0;
    double chain = 0.0;
    for (auto _ : state) {
        const double t0 = processCpuSeconds();
        benchmark::DoNotOptimize(decodeWithMpg123(testFile()));
        const double t1 = processCpuSeconds();
        playThroughLibrary();
        const double t2 = processCpuSeconds();
        plain += t1 - t0;
        chain += t2 - t1;
        ratios.push_back((t2 - t1) / (t1 - t0));
    }
    std::sort(ratios.begin(), ratios.end());
    state.counters["plain_cpu_s"] = plain / static_cast<double>(state.iterations());
    state.counters["library_cpu_s"] = chain / static_cast<double>(state.iterations());
    state.counters["ratio_median"] = ratios[ratios.size() / 2];
    state.counters["ratio_best"] = ratios.front();
}
BENCHMARK(BM_LibraryToPlainCpuRatio)->Unit(benchmark::kMillisecond)->Iterations(7);

// Ten seconds of real-time playback: CPU time of the whole process over the
// wall time, in percent of one core.
void BM_RealTimePlaybackCpuShare(benchmark::State& state)
{
    testFile();
    const nuvo::DecoderApi& l = library();
    double share = 0.0;
    for (auto _ : state) {
        startEngine(1);
        l.play();
        std::this_thread::sleep_for(1s);  // past the start, where the buffers fill
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const auto wallStart = std::chrono::steady_clock::now();
        std::int32_t seconds = 0;
        for (int i = 0; i < 100; ++i) {  // polled like the player's timer
            std::this_thread::sleep_for(100ms);
            l.getState(&seconds);
        }
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        const auto cpu = [](const rusage& r) {
            return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec)
                + static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) * 1e-6;
        };
        share = 100.0 * (cpu(after) - cpu(before)) / wall;
        l.free();
    }
    state.counters["cpu_percent_of_one_core"] = share;
}
BENCHMARK(BM_RealTimePlaybackCpuShare)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// vbmp3_getFileInfo of one file, in seconds of the process's CPU time (the
// call runs on this thread; the engine's play thread is idle meanwhile), so
// that other work on the machine does not blur the ratio.
double fileInfoSeconds(const fs::path& path)
{
    TagRecord tag{};
    MpegRecord info{};
    const double start = processCpuSeconds();
    if (library().getFileInfo(path.c_str(), &tag, &info) != 1)
        throw std::runtime_error("the library cannot read " + path.string());
    return processCpuSeconds() - start;
}

void BM_FileInfo(benchmark::State& state, const fs::path& (*file)())
{
    library().init();
    file();
    for (auto _ : state)
        benchmark::DoNotOptimize(fileInfoSeconds(file()));
    library().free();
}
BENCHMARK_CAPTURE(BM_FileInfo, Intact, &testFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_CAPTURE(BM_FileInfo, WithFFRun, &damagedTestFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Both in turn; the median of the rounds' ratios (target: at most 3).
void BM_FileInfoDamagedToIntactRatio(benchmark::State& state)
{
    library().init();
    damagedTestFile();
    std::vector<double> ratios;
    for (auto _ : state) {
        const double intact = fileInfoSeconds(testFile());
        const double damaged = fileInfoSeconds(damagedTestFile());
        ratios.push_back(damaged / intact);
    }
    library().free();
    std::sort(ratios.begin(), ratios.end());
    state.counters["ratio_median"] = ratios[ratios.size() / 2];
}
BENCHMARK(BM_FileInfoDamagedToIntactRatio)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(7);

} // namespace

BENCHMARK_MAIN();
