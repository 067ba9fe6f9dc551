// Stream information: what the header of each fixture says, frame counts
// checked against libmpg123's decoding, lengths against the sources.
#include "media.h"
#include "media_test_support.h"

#include <chrono>
#include <cstring>
#include <filesystem>

namespace {

using namespace media_test;
namespace fs = std::filesystem;

struct InfoCase {
    const char* file;
    int version;
    int layer;
    int mode;
    int channels;
    int sampleRate;
    int seconds;      // of the source, see tests/fixtures/README
    int bitRate;      // first frame; 0: variable, checked apart
};

void PrintTo(const InfoCase& c, std::ostream* out) { *out << c.file; }

class InfoOfMpegFixture : public MediaTest, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(InfoOfMpegFixture, MatchesTheStreamAndTheDecoder)
{
    const auto& c = GetParam();
    const auto path = copyOf(c.file);
    TagRecord tag{};
    MpegRecord info{};
    ASSERT_TRUE(vbmp3::media::readFileInfo(path, tag, info));
    EXPECT_EQ(info.version, c.version);
    EXPECT_EQ(info.layer, c.layer);
    EXPECT_EQ(info.mode, c.mode);
    EXPECT_EQ(info.channels, c.channels);
    EXPECT_EQ(info.sampleRate, c.sampleRate);
    EXPECT_EQ(info.seconds, c.seconds);
    EXPECT_EQ(info.fileSize, static_cast<std::int32_t>(fs::file_size(path)));
    if (c.bitRate > 0) {
        EXPECT_EQ(info.bitRate, c.bitRate);
        EXPECT_EQ(info.vbr, 0);
    }

    const DecodedCount decoded = decodeWithMpg123(path);
    ASSERT_GT(decoded.frames, 0);
    EXPECT_EQ(info.frames, decoded.frames);
    EXPECT_EQ(info.seconds, decoded.samples / c.sampleRate);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, InfoOfMpegFixture, ::testing::Values(
    InfoCase{"cbr_v1.mp3", 1, 3, 1, 2, 44100, 3, 128},
    InfoCase{"vbr_v2.mp3", 1, 3, 1, 2, 44100, 3, 0},
    InfoCase{"notag.mp3", 1, 3, 0, 2, 32000, 3, 96},
    InfoCase{"layer2_48k.mp2", 1, 2, 2, 2, 48000, 3, 160},
    InfoCase{"mpeg2_22k_mono.mp3", 2, 3, 3, 1, 22050, 4, 32},
    InfoCase{"mpeg25_8k_mono.mp3", 25, 3, 3, 1, 8000, 2, 16},
    InfoCase{"layer1_32k_mono.mp1", 1, 1, 3, 1, 32000, 1, 64},
    InfoCase{"tone_1k.mp3", 1, 3, 1, 2, 44100, 2, 192},
    InfoCase{"truncated.mp3", 1, 3, 1, 2, 44100, 1, 128}),
    nameOfFileCase<InfoCase>);

TEST_F(MediaTest, FrameCountsAreTheKnownOnes)
{
    const std::pair<const char*, int> known[] = {
        {"cbr_v1.mp3", 116}, {"vbr_v2.mp3", 116}, {"notag.mp3", 85}, {"layer2_48k.mp2", 125},
        {"mpeg2_22k_mono.mp3", 156}, {"mpeg25_8k_mono.mp3", 30}, {"layer1_32k_mono.mp1", 100},
        {"tone_1k.mp3", 78}, {"truncated.mp3", 46}, {"riff_mpeg.rmp", 85},
    };
    for (const auto& [file, frames] : known) {
        TagRecord tag{};
        MpegRecord info{};
        ASSERT_TRUE(vbmp3::media::readFileInfo(fixture(file), tag, info)) << file;
        EXPECT_EQ(info.frames, frames) << file;
    }
}

TEST_F(MediaTest, VariableBitRateIsFlaggedWithTheAverage)
{
    TagRecord tag{};
    MpegRecord info{};
    ASSERT_TRUE(vbmp3::media::readFileInfo(copyOf("vbr_v2.mp3"), tag, info));
    EXPECT_EQ(info.vbr, 1);
    // The average of the audio frames: tag and Xing frame excluded.
    const auto audioBytes = static_cast<double>(fs::file_size(fixture("vbr_v2.mp3"))) - 533 - 417;
    const double seconds = 116.0 * 1152 / 44100;
    EXPECT_NEAR(info.bitRate, audioBytes * 8 / seconds / 1000, 1.0);
}

TEST_F(MediaTest, HeaderFlagsAreReported)
{
    TagRecord tag{};
    MpegRecord layer2{};
    ASSERT_TRUE(vbmp3::media::readFileInfo(copyOf("layer2_48k.mp2"), tag, layer2));
    EXPECT_EQ(layer2.copyright, 1);
    MpegRecord layer1{};
    ASSERT_TRUE(vbmp3::media::readFileInfo(copyOf("layer1_32k_mono.mp1"), tag, layer1));
    EXPECT_EQ(layer1.copyright, 0);
    EXPECT_EQ(layer1.original, 1);
    EXPECT_EQ(layer1.emphasis, 0);
}

TEST_F(MediaTest, RmpIsTheMpegStreamItWraps)
{
    TagRecord tag{};
    MpegRecord rmp{};
    MpegRecord plain{};
    ASSERT_TRUE(vbmp3::media::readFileInfo(copyOf("riff_mpeg.rmp"), tag, rmp));
    ASSERT_TRUE(vbmp3::media::readFileInfo(copyOf("notag.mp3"), tag, plain));
    EXPECT_EQ(rmp.frames, plain.frames);
    EXPECT_EQ(rmp.seconds, plain.seconds);
    EXPECT_EQ(rmp.sampleRate, plain.sampleRate);
    EXPECT_EQ(rmp.fileSize, plain.fileSize + 20);
}

struct WavCase {
    const char* file;
    int mode;
    int channels;
    int sampleRate;
    int frames;
    int seconds;
    int bitRate;
};

void PrintTo(const WavCase& c, std::ostream* out) { *out << c.file; }

class InfoOfWavFixture : public MediaTest, public ::testing::WithParamInterface<WavCase> {};

TEST_P(InfoOfWavFixture, MatchesTheKnownFormat)
{
    const auto& c = GetParam();
    const auto path = copyOf(c.file);
    TagRecord tag{};
    MpegRecord info{};
    ASSERT_TRUE(vbmp3::media::readFileInfo(path, tag, info));
    EXPECT_EQ(info.version, 0);
    EXPECT_EQ(info.layer, 0);
    EXPECT_EQ(info.mode, c.mode);
    EXPECT_EQ(info.channels, c.channels);
    EXPECT_EQ(info.sampleRate, c.sampleRate);
    EXPECT_EQ(info.frames, c.frames);
    EXPECT_EQ(info.seconds, c.seconds);
    EXPECT_EQ(info.bitRate, c.bitRate);
    EXPECT_EQ(info.fileSize, static_cast<std::int32_t>(fs::file_size(path)));
    EXPECT_EQ(tag.genre, -1);
    EXPECT_STREQ(tag.title, "");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, InfoOfWavFixture, ::testing::Values(
    WavCase{"pcm16_stereo.wav", 0, 2, 22050, 22050, 1, 705},
    WavCase{"pcm24_mono.wav", 3, 1, 16000, 32000, 2, 384},
    WavCase{"tone_1k.wav", 3, 1, 44100, 44100, 1, 705}),
    nameOfFileCase<WavCase>);

TEST_F(MediaTest, UnreadableFilesGiveFalseAndClearedRecords)
{
    for (const char* file : {"empty.mp3", "notaudio.mp3"}) {
        TagRecord tag{};
        MpegRecord info{};
        std::memset(&tag, 'x', sizeof tag);
        std::memset(&info, 0x55, sizeof info);
        EXPECT_FALSE(vbmp3::media::readFileInfo(copyOf(file), tag, info)) << file;
        EXPECT_EQ(info.frames, 0);
        EXPECT_EQ(info.sampleRate, 0);
        EXPECT_STREQ(tag.title, "");
        EXPECT_EQ(tag.genre, -1);
    }
    TagRecord tag{};
    MpegRecord info{};
    EXPECT_FALSE(vbmp3::media::readFileInfo(pathIn("missing.mp3"), tag, info));
    EXPECT_FALSE(vbmp3::media::readTag(pathIn("missing.mp3"), tag));
}

TEST_F(MediaTest, DamageInsideTheStreamIsSkippedLikeTheDecoderDoes)
{
    Bytes mp3 = readBytes(fixture("layer2_48k.mp2"));
    // Overwrite frames 40 and 41 (480 bytes each) with zeros.
    std::fill(mp3.begin() + 40 * 480, mp3.begin() + 42 * 480, 0);
    writeBytes(pathIn("damaged.mp2"), mp3);
    TagRecord tag{};
    MpegRecord info{};
    ASSERT_TRUE(vbmp3::media::readFileInfo(pathIn("damaged.mp2"), tag, info));
    EXPECT_EQ(info.frames, 123);
    EXPECT_EQ(info.frames, decodeWithMpg123(pathIn("damaged.mp2")).frames);
}

// Five minutes of MPEG audio (the layer 2 fixture a hundred times over,
// 12 500 frames, 6 MB) must be measured fast enough to list a playlist.
TEST_F(MediaTest, FiveMinutesScanWellUnderOneTenthOfASecond)
{
    const Bytes three = readBytes(fixture("layer2_48k.mp2"));
    Bytes five;
    for (int i = 0; i < 100; ++i)
        append(five, three);
    writeBytes(pathIn("five_minutes.mp2"), five);

    TagRecord tag{};
    MpegRecord info{};
    auto best = std::chrono::steady_clock::duration::max();
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(vbmp3::media::readFileInfo(pathIn("five_minutes.mp2"), tag, info));
        best = std::min(best, std::chrono::steady_clock::now() - start);
    }
    EXPECT_EQ(info.frames, 12500);
    EXPECT_EQ(info.seconds, 300);
    const auto ms = std::chrono::duration<double, std::milli>(best).count();
    RecordProperty("scan_ms", std::to_string(ms));
    EXPECT_LT(ms, 100.0);
}

} // namespace
