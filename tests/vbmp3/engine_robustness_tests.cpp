// Bad input, the option records, the library's life cycle and the output when
// no device can be opened.
#include "engine_test_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace engine_test {
namespace {

class BadInput : public EngineTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadInput, IsRefusedEverywhere)
{
    const fs::path path = GetParam()[0] == '/' ? fs::path(GetParam()) : fixture(GetParam());
    OpenRecord record{};
    EXPECT_EQ(vb().open(path.c_str(), &record), 0);
    EXPECT_EQ(vb().getFileType(path.c_str()), -1);
    TagRecord tag{};
    MpegRecord info{};
    EXPECT_EQ(vb().getFileInfo(path.c_str(), &tag, &info), 0);
    // Nothing is open afterwards.
    EXPECT_EQ(vb().play(), 0);
    EXPECT_EQ(vb().getTagInfo(&tag), 0);
    EXPECT_EQ(vb().getMpegInfo(&info), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, BadInput,
                         ::testing::Values("empty.mp3", "notaudio.mp3", "no-such-file.mp3", "/",
                                           "/nonexistent/dir/file.wav"),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(EngineTest, UnreadableFileIsRefused)
{
    const fs::path copy = pathIn("locked.mp3");
    fs::copy_file(fixture("cbr_v1.mp3"), copy);
    fs::permissions(copy, fs::perms::none);
    if (::access(copy.c_str(), R_OK) == 0)
        GTEST_SKIP() << "running with rights that read any file";
    EXPECT_FALSE(openFile(copy));
    EXPECT_EQ(vb().getFileType(copy.c_str()), -1);
}

TEST_F(EngineTest, NamedPipeIsRefusedWithoutWaitingForAWriter)
{
    const fs::path pipe = pathIn("pipe.mp3");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(openFile(pipe));
    EXPECT_EQ(vb().getFileType(pipe.c_str()), -1);
}

TEST_F(EngineTest, TruncatedFilePlaysWhatItHoldsThenEnds)
{
    OpenRecord record{};
    ASSERT_TRUE(openFile(fixture("truncated.mp3"), &record));
    EXPECT_EQ(record.seconds, 1);
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForEnd());
    const Audio played = finishAndRead();
    // 46 whole frames of 1152 samples (the cut-off 47th is not played), less
    // the encoder's and the decoder's delay at the start, as in the intact
    // file: what is played is the intact file's beginning, bit for bit.
    EXPECT_EQ(played.frames(), 46u * 1152u - 576u - 529u);
    const Audio whole = reference(fixture("cbr_v1.mp3"));
    EXPECT_EQ(audioHash(played), audioHash(whole.slice(0, played.frames())));
}

// Bytes the process has read so far (read, pread and the like).
long long bytesRead()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return -1;
}

// A run of 0xFF bytes is a sync candidate at every byte; each one that fails
// must not read the file again. The run (1 MiB, put into cbr_v1.mp3) is
// longer than the reading window of 256 KiB.
TEST_F(EngineTest, DamagedFileIsReadAFewTimesAtMost)
{
    std::ifstream in(fixture("cbr_v1.mp3"), std::ios::binary);
    const std::string intact((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string damaged = intact.substr(0, 24000) + std::string(1 << 20, '\xFF') + intact.substr(24000);
    const fs::path path = pathIn("ff_run_long.mp3");
    std::ofstream(path, std::ios::binary) << damaged;

    TagRecord tag{};
    MpegRecord info{};
    const long long before = bytesRead();
    ASSERT_EQ(vb().getFileInfo(path.c_str(), &tag, &info), 1);
    const long long read = bytesRead() - before;
    EXPECT_EQ(info.frames, 116);
    EXPECT_LT(read, 10 * static_cast<long long>(damaged.size())) << read << " bytes read";
}

// Junk inside a stream, however long, is skipped: the file plays to its end,
// as long as the intact file within a frame, and the stream information
// counts the same frames.
class DamagedStream : public EngineTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(DamagedStream, PlaysToItsEnd)
{
    const Audio intact = reference(fixture("cbr_v1.mp3"));
    TagRecord tag{};
    MpegRecord info{};
    ASSERT_EQ(vb().getFileInfo(fixture(GetParam()).c_str(), &tag, &info), 1);
    EXPECT_EQ(info.frames, 116);
    EXPECT_EQ(info.seconds, 3);
    const Audio played = playWhole(fixture(GetParam()));
    EXPECT_NEAR(static_cast<double>(played.frames()), static_cast<double>(intact.frames()), 1152.0);
    const auto lastTenth = [](const Audio& a) { return a.slice(a.frames() - 4410, a.frames()); };
    EXPECT_NEAR(rmsDb(lastTenth(played)), rmsDb(lastTenth(intact)), 1.0) << "the end is there";
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedStream, ::testing::Values("ff_run.mp3", "junk_inside.mp3"),
                         [](const auto& info) { return info.index == 0 ? "ff_run" : "junk_inside"; });

// What the file type and the stream information call playable opens, and
// the other way round; damaged starts made by cutting bytes out of fixtures.
TEST_F(EngineTest, FileTypeInformationAndOpeningAgree)
{
    struct Cut {
        const char* file;
        std::size_t keep;   // bytes kept from the start
        std::size_t at;     // then these removed
        std::size_t count;
    };
    for (const Cut cut : {Cut{"mpeg25_8k_mono.mp3", 782, 126, 22}, Cut{"vbr_v2.mp3", 2249, 670, 97},
                          Cut{"cbr_v1.mp3", 2290, 134, 739}, Cut{"notag.mp3", 2558, 197, 976},
                          Cut{"cbr_v1.mp3", 49028, 0, 0}}) {
        SCOPED_TRACE(std::string(cut.file) + " " + std::to_string(cut.keep));
        std::ifstream in(fixture(cut.file), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bytes.resize(std::min(bytes.size(), cut.keep));
        bytes.erase(cut.at, cut.count);
        const fs::path path = pathIn("cut.mp3");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

        TagRecord tag{};
        MpegRecord info{};
        const bool typed = vb().getFileType(path.c_str()) != -1;
        const bool described = vb().getFileInfo(path.c_str(), &tag, &info) == 1;
        const bool opened = openFile(path);
        EXPECT_EQ(typed, opened);
        EXPECT_EQ(described, opened);
        vb().close();
    }
}

TEST_F(EngineTest, NotANumberInAFloatFileIsPlayedAsSilence)
{
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    const fs::path path = pathIn("damaged.wav");
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> samples(8000, 0.25f);
    samples[100] = std::nanf("");
    samples[200] = INFINITY;
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
    const std::int32_t table[VBMP3_EQUALIZER_BANDS]{60, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(vb().setEqualizer(table), 1);  // filters that would keep a NaN
    const Audio played = playWhole(path);
    ASSERT_EQ(played.frames(), samples.size());
    for (float s : played.samples)
        ASSERT_TRUE(std::isfinite(s));
    EXPECT_GT(std::abs(played.samples.back()), 0.1f);  // still sounding at the end
}

TEST_F(EngineTest, NullArgumentsAreRefused)
{
    OpenRecord record{};
    TagRecord tag{};
    MpegRecord info{};
    EXPECT_EQ(vb().open(nullptr, &record), 0);
    EXPECT_EQ(vb().open(fixture("cbr_v1.mp3").c_str(), nullptr), 0);
    EXPECT_EQ(vb().getFileType(nullptr), -1);
    EXPECT_EQ(vb().getFileInfo(nullptr, &tag, &info), 0);
    EXPECT_EQ(vb().getFileInfo(fixture("cbr_v1.mp3").c_str(), nullptr, &info), 0);
    EXPECT_EQ(vb().setTagInfo(nullptr, &tag, 0, 1), 0);
    EXPECT_EQ(vb().getTagInfo(nullptr), 0);
    EXPECT_EQ(vb().getMpegInfo(nullptr), 0);
    EXPECT_EQ(vb().setVbmp3Option(nullptr), 0);
    EXPECT_EQ(vb().getVbmp3Option(nullptr), 0);
    EXPECT_EQ(vb().setDecodeOption(nullptr), 0);
    EXPECT_EQ(vb().getDecodeOption(nullptr), 0);
    EXPECT_EQ(vb().getState(nullptr), 0);
}

TEST_F(EngineTest, OpenFileInformation)
{
    ASSERT_TRUE(openFile(fixture("cbr_v1.mp3")));
    TagRecord tag{};
    MpegRecord info{};
    ASSERT_EQ(vb().getTagInfo(&tag), 1);
    EXPECT_STREQ(tag.title, "Fixture Title");
    ASSERT_EQ(vb().getMpegInfo(&info), 1);
    EXPECT_EQ(info.sampleRate, 44100);
    EXPECT_EQ(info.layer, 3);
    EXPECT_EQ(info.seconds, 3);
    EXPECT_EQ(vb().getFileType(fixture("cbr_v1.mp3").c_str()) & VBMP3_TYPE_MPEG, VBMP3_TYPE_MPEG);
}

TEST_F(EngineTest, OptionsStartAtTheLibraryDefaults)
{
    BufferOptions buffers{};
    DecodeOptions decode{};
    ASSERT_EQ(vb().getVbmp3Option(&buffers), 1);
    ASSERT_EQ(vb().getDecodeOption(&decode), 1);
    EXPECT_EQ(buffers.inputFrames, 30);
    EXPECT_EQ(buffers.outputFrames, 20);
    EXPECT_EQ(buffers.inputSleepMs, 5);
    EXPECT_EQ(buffers.outputSleepMs, 0);
    EXPECT_EQ(decode.downSampling, 0);
    EXPECT_EQ(decode.channels, 0);
    EXPECT_EQ(decode.frequencyLimit, 24000);
}

TEST_F(EngineTest, OptionsInRangeAreKeptAndOthersClamped)
{
    const BufferOptions inRange{100, 50, 10, 2};
    ASSERT_EQ(vb().setVbmp3Option(&inRange), 1);
    BufferOptions buffers{};
    vb().getVbmp3Option(&buffers);
    EXPECT_EQ(buffers.inputFrames, 100);
    EXPECT_EQ(buffers.outputFrames, 50);
    EXPECT_EQ(buffers.inputSleepMs, 10);
    EXPECT_EQ(buffers.outputSleepMs, 2);

    const BufferOptions outside{0, 5000, -1, 2000};
    ASSERT_EQ(vb().setVbmp3Option(&outside), 1);
    vb().getVbmp3Option(&buffers);
    EXPECT_EQ(buffers.inputFrames, 1);
    EXPECT_EQ(buffers.outputFrames, 1000);
    EXPECT_EQ(buffers.inputSleepMs, 0);
    EXPECT_EQ(buffers.outputSleepMs, 1000);

    const DecodeOptions decodeInRange{2, 1, 8000};
    ASSERT_EQ(vb().setDecodeOption(&decodeInRange), 1);
    DecodeOptions decode{};
    vb().getDecodeOption(&decode);
    EXPECT_EQ(decode.downSampling, 2);
    EXPECT_EQ(decode.channels, 1);
    EXPECT_EQ(decode.frequencyLimit, 8000);

    const DecodeOptions decodeOutside{7, -3, 0};
    ASSERT_EQ(vb().setDecodeOption(&decodeOutside), 1);
    vb().getDecodeOption(&decode);
    EXPECT_EQ(decode.downSampling, 2);
    EXPECT_EQ(decode.channels, 0);
    EXPECT_EQ(decode.frequencyLimit, 100);
}

TEST_F(EngineTest, SmallestBuffersStillPlayEverything)
{
    const BufferOptions smallest{1, 1, 0, 0};
    ASSERT_EQ(vb().setVbmp3Option(&smallest), 1);
    setSpeed(20);
    const Audio source = reference(fixture("pcm16_stereo.wav"));
    const Audio played = playWhole(fixture("pcm16_stereo.wav"));
    EXPECT_EQ(played.frames(), source.frames());
    EXPECT_LT(maxDifference(played, source), 1e-6);
}

TEST_F(EngineTest, FreeThenInitWorksAgainAndCallsWithoutAnEngineDoNothing)
{
    ASSERT_TRUE(openFile(fixture("tone_1k.wav")));
    ASSERT_EQ(vb().play(), 1);
    ASSERT_EQ(vb().free(), 1);
    EXPECT_EQ(vb().free(), 0);

    OpenRecord record{};
    TagRecord tag{};
    MpegRecord info{};
    BufferOptions buffers{};
    DecodeOptions decode{};
    std::int32_t seconds = 99;
    const std::int32_t table[VBMP3_EQUALIZER_BANDS]{};
    EXPECT_EQ(vb().open(fixture("tone_1k.wav").c_str(), &record), 0);
    EXPECT_EQ(vb().close(), 0);
    EXPECT_EQ(vb().play(), 0);
    EXPECT_EQ(vb().stop(), 0);
    EXPECT_EQ(vb().pause(), 0);
    EXPECT_EQ(vb().restart(), 0);
    EXPECT_EQ(vb().getFileType(fixture("tone_1k.wav").c_str()), -1);
    EXPECT_EQ(vb().getState(&seconds), 0);
    EXPECT_EQ(seconds, 0);
    EXPECT_EQ(vb().getPlayBitRate(), 0);
    EXPECT_EQ(vb().setVolume(50, 50), 0);
    EXPECT_EQ(vb().seek(1), 0);
    EXPECT_EQ(vb().getTagInfo(&tag), 0);
    EXPECT_EQ(vb().getMpegInfo(&info), 0);
    EXPECT_EQ(vb().getFileInfo(fixture("tone_1k.wav").c_str(), &tag, &info), 0);
    EXPECT_EQ(vb().setTagInfo(fixture("tone_1k.wav").c_str(), &tag, 0, 1), 0);
    EXPECT_EQ(vb().setEqualizer(table), 0);
    EXPECT_EQ(vb().reload(), 0);
    EXPECT_EQ(vb().setVbmp3Option(&buffers), 0);
    EXPECT_EQ(vb().setDecodeOption(&decode), 0);
    EXPECT_EQ(vb().getVbmp3Option(&buffers), 0);
    EXPECT_EQ(vb().getDecodeOption(&decode), 0);

    // A new engine starts from the library's defaults again.
    setenv("NUVO_AUDIO_DEVICE", pathIn("again.wav").c_str(), 1);
    ASSERT_EQ(vb().init(), 1);
    ASSERT_EQ(vb().getVbmp3Option(&buffers), 1);
    EXPECT_EQ(buffers.outputFrames, 20);
    const Audio played = playWhole(fixture("tone_1k.wav"));
    EXPECT_EQ(readAudio(pathIn("again.wav")).frames(), 44100u);
    (void)played;
}

TEST_F(EngineTest, OutputFileIsCompleteWhenTheProcessEndsWithoutFree)
{
    // The player may end without vbmp3_free; the library finishes the file
    // when it is unloaded or the process exits.
    vb().free();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        vb().init();
        OpenRecord record{};
        vb().open(fixture("tone_1k.wav").c_str(), &record);
        vb().play();
        std::int32_t seconds = 0;
        while (vb().getState(&seconds) != 0)
            ::usleep(1000);
        std::exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readAudio(output()).frames(), 44100u);
}

TEST_F(EngineTest, DummyOutputIsPacedAndWritesNothing)
{
    vb().free();
    setenv("NUVO_AUDIO_DRIVER", "dummy", 1);
    setSpeed(10);
    ASSERT_EQ(vb().init(), 1);
    ASSERT_TRUE(openFile(fixture("cbr_v1.mp3")));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForEnd());
    // 3 s of audio at ten times real time, less the last moment the device
    // still holds when the end is reported.
    EXPECT_GE(std::chrono::steady_clock::now() - start, 240ms);
    vb().free();
    EXPECT_TRUE(fs::is_empty(dir_ / "home"));
    EXPECT_FALSE(fs::exists(output()));
}

TEST_F(EngineTest, WithoutADeviceItPlaysSilentlyInRealTimeAndSaysSoOnce)
{
    vb().free();
    setenv("NUVO_AUDIO_DRIVER", "no-such-driver", 1);
    const fs::path errors = pathIn("stderr.txt");
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    const int file = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(file, 0);
    ::dup2(file, STDERR_FILENO);
    ::close(file);

    ASSERT_EQ(vb().init(), 1);
    writeRamp(pathIn("short.wav"), 8000, 1, 2400);  // 0.3 s
    const auto start = std::chrono::steady_clock::now();
    bool ended = false;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(openFile(pathIn("short.wav")));
        ASSERT_EQ(vb().play(), 1);
        ended = waitForEnd(5s);
    }
    const auto took = std::chrono::steady_clock::now() - start;
    vb().free();

    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    EXPECT_TRUE(ended);
    // Twice 0.3 s in real time; the second end is reported while the last
    // 0.25 s are still to be heard.
    EXPECT_GE(took, 330ms);
    std::ifstream in(errors);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "vbmp3: no sound output could be opened; playing silently\n");
    EXPECT_FALSE(fs::exists(output()));
}

} // namespace
} // namespace engine_test
