// Playing files to the wav output: lengths, pause, stop, seek, the end of a
// track, equalizer reload and tag writing while a file plays.
#include "engine_test_support.h"

#include <cctype>
#include <cstring>
#include <set>
#include <thread>

namespace engine_test {
namespace {

struct PlayCase {
    const char* file;
    const char* referenceFile;  // decoded independently for comparison
};

class PlaysEveryFixture : public EngineTest, public ::testing::WithParamInterface<PlayCase> {};

TEST_P(PlaysEveryFixture, WholeFileWithItsLengthFormatAndContent)
{
    const Audio expected = reference(fixture(GetParam().referenceFile));
    ASSERT_GT(expected.frames(), 0u);
    OpenRecord record{};
    ASSERT_TRUE(openFile(fixture(GetParam().file), &record));
    EXPECT_EQ(record.seconds, static_cast<std::int32_t>(expected.frames() / static_cast<std::size_t>(expected.rate)));
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForEnd());
    const Audio played = finishAndRead();
    EXPECT_EQ(played.rate, expected.rate);
    EXPECT_EQ(played.channels, expected.channels);
    EXPECT_EQ(played.frames(), expected.frames());
    // Nothing is asked of the signal (equalizer off, volume 100, no decode
    // options): the decoder's own samples, bit for bit, also where a loud
    // master passes full scale.
    EXPECT_EQ(audioHash(played), audioHash(expected)) << maxDifference(played, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PlaysEveryFixture,
    ::testing::Values(PlayCase{"cbr_v1.mp3", "cbr_v1.mp3"}, PlayCase{"vbr_v2.mp3", "vbr_v2.mp3"},
                      PlayCase{"notag.mp3", "notag.mp3"}, PlayCase{"layer2_48k.mp2", "layer2_48k.mp2"},
                      PlayCase{"mpeg2_22k_mono.mp3", "mpeg2_22k_mono.mp3"},
                      PlayCase{"mpeg25_8k_mono.mp3", "mpeg25_8k_mono.mp3"},
                      PlayCase{"layer1_32k_mono.mp1", "layer1_32k_mono.mp1"},
                      PlayCase{"riff_mpeg.rmp", "notag.mp3"}, PlayCase{"pcm16_stereo.wav", "pcm16_stereo.wav"},
                      PlayCase{"pcm24_mono.wav", "pcm24_mono.wav"}, PlayCase{"tone_1k.mp3", "tone_1k.mp3"},
                      PlayCase{"loud_clipped.mp3", "loud_clipped.mp3"}),
    [](const auto& info) {
        std::string name = info.param.file;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST_F(EngineTest, OutputStaysOpenWhileTheFormatStaysAndMovesOnWhenItChanges)
{
    for (const char* name : {"tone_1k.wav", "tone_100.wav"}) {
        ASSERT_TRUE(openFile(fixture(name)));
        ASSERT_EQ(vb().play(), 1);
        ASSERT_TRUE(waitForEnd());
    }
    ASSERT_TRUE(openFile(fixture("pcm16_stereo.wav")));
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForEnd());
    vb().free();
    const Audio first = readAudio(output(0));
    const Audio second = readAudio(output(1));
    EXPECT_EQ(first.rate, 44100);
    EXPECT_EQ(first.frames(), 2u * 44100u);  // both 1 s tones, one after the other
    EXPECT_EQ(second.rate, 22050);
    EXPECT_EQ(second.channels, 2);
    EXPECT_EQ(second.frames(), 22050u);
    EXPECT_FALSE(fs::exists(output(2)));
}

// Playback at ten times real time of a 4 s ramp: every sample tells where it
// came from.
class PacedRampTest : public EngineTest {
protected:
    static constexpr int kRate = 44100;
    static constexpr std::size_t kFrames = 4 * kRate;

    void SetUp() override
    {
        EngineTest::SetUp();
        setSpeed(10);
        writeRamp(pathIn("ramp.wav"), kRate, 1, kFrames);
        ASSERT_TRUE(openFile(pathIn("ramp.wav")));
    }

    // Source frame of every frame played.
    std::vector<long> playedIndexes()
    {
        const Audio played = finishAndRead();
        std::vector<long> indexes;
        for (std::size_t i = 0; i < played.frames(); ++i)
            indexes.push_back(rampIndex(played.at(i)));
        return indexes;
    }

    // Where the played frames stop following each other.
    static std::vector<std::size_t> jumps(const std::vector<long>& indexes)
    {
        std::vector<std::size_t> at;
        for (std::size_t i = 1; i < indexes.size(); ++i)
            if (indexes[i] != indexes[i - 1] + 1)
                at.push_back(i);
        return at;
    }

    static bool isWholeSource(const std::vector<long>& indexes)
    {
        if (indexes.size() != kFrames)
            return false;
        for (std::size_t i = 0; i < indexes.size(); ++i)
            if (indexes[i] != static_cast<long>(i))
                return false;
        return true;
    }
};

TEST_F(PacedRampTest, PauseHoldsThePositionAndRestartGoesOnWithoutLossOrRepeat)
{
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForPosition(1));
    ASSERT_EQ(vb().pause(), 1);
    std::int32_t pausedAt = -1;
    EXPECT_EQ(state(&pausedAt), 2);
    EXPECT_GE(pausedAt, 1);
    std::this_thread::sleep_for(150ms);  // 1.5 s of audio at this pace
    std::int32_t later = -1;
    EXPECT_EQ(state(&later), 2);
    EXPECT_EQ(later, pausedAt);
    EXPECT_EQ(vb().pause(), 0);  // already paused
    ASSERT_EQ(vb().restart(), 1);
    EXPECT_EQ(state(), 1);
    EXPECT_EQ(vb().restart(), 0);  // not paused any more
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(isWholeSource(playedIndexes()));
}

TEST_F(PacedRampTest, StopKeepsTheFileOpenAndPlayStartsFromTheBeginning)
{
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForPosition(1));
    ASSERT_EQ(vb().stop(), 1);
    std::int32_t seconds = -1;
    EXPECT_EQ(state(&seconds), 0);
    EXPECT_EQ(seconds, 0);
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForEnd());
    const std::vector<long> indexes = playedIndexes();
    const std::vector<std::size_t> at = jumps(indexes);
    ASSERT_EQ(at.size(), 1u);
    EXPECT_EQ(indexes.front(), 0);
    EXPECT_GE(at[0], static_cast<std::size_t>(kRate));  // at least the second heard before the stop
    EXPECT_EQ(indexes[at[0]], 0);                           // then from the start again
    EXPECT_EQ(indexes.size() - at[0], kFrames);             // to the end
}

TEST_F(PacedRampTest, SeekWhilePlayingResumesAtTheAskedSecond)
{
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForPosition(1));
    ASSERT_EQ(vb().seek(3), 1);
    std::int32_t seconds = -1;
    EXPECT_EQ(state(&seconds), 1);
    EXPECT_EQ(seconds, 3);
    ASSERT_TRUE(waitForEnd());
    const std::vector<long> indexes = playedIndexes();
    const std::vector<std::size_t> at = jumps(indexes);
    ASSERT_EQ(at.size(), 1u);
    EXPECT_NEAR(indexes[at[0]], 3 * kRate, 1152);  // within one frame
    EXPECT_EQ(indexes.back(), static_cast<long>(kFrames) - 1);
}

TEST_F(PacedRampTest, SeekWhilePausedMovesWhereRestartGoesOn)
{
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForPosition(1));
    ASSERT_EQ(vb().pause(), 1);
    ASSERT_EQ(vb().seek(2), 1);
    std::int32_t seconds = -1;
    EXPECT_EQ(state(&seconds), 2);
    EXPECT_EQ(seconds, 2);
    ASSERT_EQ(vb().restart(), 1);
    ASSERT_TRUE(waitForEnd());
    const std::vector<long> indexes = playedIndexes();
    const std::vector<std::size_t> at = jumps(indexes);
    ASSERT_EQ(at.size(), 1u);
    EXPECT_NEAR(indexes[at[0]], 2 * kRate, 1152);
}

TEST_F(PacedRampTest, ReloadPlaysOnFromTheHeardPosition)
{
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForPosition(1));
    const std::int32_t table[VBMP3_EQUALIZER_BANDS]{};  // flat: the sound stays the same
    ASSERT_EQ(vb().setEqualizer(table), 1);
    ASSERT_EQ(vb().reload(), 1);
    EXPECT_EQ(state(), 1);
    EXPECT_GE(position(), 1);
    ASSERT_TRUE(waitForEnd());
    // No restart, no gap and nothing twice.
    EXPECT_TRUE(isWholeSource(playedIndexes()));
}

// The end is reported once everything is with the device, while it still
// plays the last moment (the output buffer, here 52 ms of real time), and the
// position then reads the whole length.
TEST_F(PacedRampTest, EndIsReportedOnceEverythingIsWithTheDevice)
{
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(vb().play(), 1);
    std::int32_t last = 0;
    bool forward = true;
    ASSERT_TRUE(waitFor(
        [&] {
            std::int32_t seconds = 0;
            const std::int32_t s = state(&seconds);
            forward = forward && seconds >= last;
            last = seconds;
            return s == 0;
        },
        5s));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(forward);
    EXPECT_EQ(last, 4);
    // 4 s of audio at ten times real time, less what the device holds.
    EXPECT_GE(took, 300ms);
    EXPECT_TRUE(isWholeSource(playedIndexes()));
}

// Two halves of one tone, played as the player does at the end of a track:
// it polls every 100 ms, then closes, opens and plays the next. The paced
// output writes silence where it runs dry, so a gap shows in the file.
class GaplessJoin : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        setSpeed(2);
        first_ = reference(fixture("gapless_a.mp3"));
        second_ = reference(fixture("gapless_b.mp3"));
    }

    // Plays both, with a pause of lateBy after the first end is seen.
    Audio playBoth(std::chrono::milliseconds lateBy)
    {
        EXPECT_TRUE(openFile(fixture("gapless_a.mp3")));
        EXPECT_EQ(vb().play(), 1);
        std::int32_t seconds = 0;
        while (vb().getState(&seconds) != 0)
            std::this_thread::sleep_for(100ms);
        EXPECT_EQ(seconds, 1) << "the position reaches the whole length";
        std::this_thread::sleep_for(lateBy);
        vb().close();
        EXPECT_TRUE(openFile(fixture("gapless_b.mp3")));
        EXPECT_EQ(vb().play(), 1);
        EXPECT_TRUE(waitForEnd());
        return finishAndRead();
    }

    // The longest run of silent frames.
    static std::size_t longestSilence(const Audio& audio)
    {
        std::size_t longest = 0;
        std::size_t run = 0;
        for (std::size_t i = 0; i < audio.frames(); ++i) {
            run = audio.at(i, 0) == 0.0f && audio.at(i, 1) == 0.0f ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        return longest;
    }

    Audio first_;
    Audio second_;
};

TEST_F(GaplessJoin, TracksJoinWithoutAGap)
{
    const Audio played = playBoth(0ms);
    const std::size_t fiveMs = 44100 / 200;
    EXPECT_LE(played.frames(), first_.frames() + second_.frames() + fiveMs);
    EXPECT_LE(longestSilence(played), fiveMs);
    // Both halves whole and in order.
    Audio both = first_;
    both.samples.insert(both.samples.end(), second_.samples.begin(), second_.samples.end());
    EXPECT_EQ(audioHash(withoutInsertedSilence(played, both)), audioHash(both));
}

TEST_F(GaplessJoin, ALateNextTrackIsHeardAsAGap)
{
    // The end is seen while at most 250 ms are still to be heard, then 700 ms
    // pass: 450 ms or more of silence, 0.9 s of audio at twice real time.
    const Audio played = playBoth(700ms);
    EXPECT_GE(longestSilence(played), 40000u);
    EXPECT_LE(longestSilence(played), 62000u);
    EXPECT_EQ(played.frames(), first_.frames() + second_.frames() + longestSilence(played));
}

TEST_F(EngineTest, EqualizerReloadChangesTheSoundWithoutRestartingTheTrack)
{
    // Twice real time: the reload lands between 1 s and 1.5 s of the 2 s
    // tone unless the test is held up for a quarter of a second.
    setSpeed(2);
    const Audio expected = reference(fixture("tone_1k.mp3"));
    ASSERT_TRUE(openFile(fixture("tone_1k.mp3")));
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForPosition(1));
    const std::int32_t boost[VBMP3_EQUALIZER_BANDS]{0, 0, 0, 0, 120, 0, 0, 0, 0, 0};
    ASSERT_EQ(vb().setEqualizer(boost), 1);
    ASSERT_EQ(vb().reload(), 1);
    ASSERT_EQ(position(), 1);
    ASSERT_TRUE(waitForEnd());
    const Audio played = finishAndRead();
    ASSERT_EQ(played.frames(), expected.frames());
    const std::size_t quarter = played.frames() / 4;
    const Audio before = played.slice(quarter / 2, quarter);
    const Audio after = played.slice(3 * quarter, played.frames() - quarter / 2);
    EXPECT_NEAR(rmsDb(before), rmsDb(expected.slice(quarter / 2, quarter)), 0.2);
    EXPECT_NEAR(rmsDb(after) - rmsDb(before), 12.0, 1.5);
}

TEST_F(EngineTest, TagWrittenToThePlayingFileLeavesPlaybackUndisturbed)
{
    setSpeed(10);
    const fs::path copy = pathIn("playing.mp3");
    fs::copy_file(fixture("cbr_v1.mp3"), copy);
    const Audio expected = reference(copy);
    ASSERT_TRUE(openFile(copy));
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForPosition(1));
    TagRecord tag{};
    std::strcpy(tag.title, "Written While Playing");
    std::strcpy(tag.artist, "Nuvo Tests");
    tag.genre = 17;
    ASSERT_EQ(vb().setTagInfo(copy.c_str(), &tag, 1, 1), 1);
    EXPECT_EQ(state(), 1);
    TagRecord readBack{};
    ASSERT_EQ(vb().getTagInfo(&readBack), 1);
    EXPECT_STREQ(readBack.title, "Written While Playing");
    ASSERT_TRUE(waitForEnd());
    const Audio played = finishAndRead();
    EXPECT_EQ(played.frames(), expected.frames());
    EXPECT_LT(maxDifference(played, expected), 1e-4);
}

TEST_F(EngineTest, OpeningAnotherFileClosesTheOneThatPlays)
{
    setSpeed(10);
    ASSERT_TRUE(openFile(fixture("cbr_v1.mp3")));
    ASSERT_EQ(vb().play(), 1);
    ASSERT_TRUE(waitForPosition(1));
    OpenRecord record{};
    ASSERT_TRUE(openFile(fixture("vbr_v2.mp3"), &record));
    EXPECT_STREQ(record.title, "Fixture Title");
    EXPECT_EQ(record.seconds, 3);
    std::int32_t seconds = -1;
    EXPECT_EQ(state(&seconds), 0);
    EXPECT_EQ(seconds, 0);
    ASSERT_EQ(vb().close(), 1);
    EXPECT_EQ(vb().close(), 0);
    EXPECT_EQ(vb().play(), 0);
}

TEST_F(EngineTest, BitRateFollowsTheFramesOfAVariableStream)
{
    setSpeed(10);
    ASSERT_TRUE(openFile(fixture("vbr_v2.mp3")));
    ASSERT_EQ(vb().play(), 1);
    std::set<std::int32_t> seen;
    ASSERT_TRUE(waitFor(
        [&] {
            seen.insert(vb().getPlayBitRate());
            return state() == 0;
        },
        5s));
    EXPECT_GE(seen.size(), 2u);
    for (std::int32_t rate : seen)
        EXPECT_TRUE(rate >= 32 && rate <= 320) << rate;
}

TEST_F(EngineTest, BitRateOfConstantStreamsAndWav)
{
    ASSERT_TRUE(openFile(fixture("cbr_v1.mp3")));
    EXPECT_EQ(vb().getPlayBitRate(), 128);
    ASSERT_TRUE(openFile(fixture("pcm16_stereo.wav")));
    EXPECT_EQ(vb().getPlayBitRate(), 22050 * 16 * 2 / 1000);
    ASSERT_TRUE(openFile(fixture("pcm24_mono.wav")));
    EXPECT_EQ(vb().getPlayBitRate(), 16000 * 24 / 1000);
    vb().close();
    EXPECT_EQ(vb().getPlayBitRate(), 0);
}

} // namespace
} // namespace engine_test
