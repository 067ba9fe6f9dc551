// The signal chain, measured on what the wav output received: volume, channel
// mix, down-sampling, frequency limit and equalizer.
#include "engine_test_support.h"

#include <cmath>

namespace engine_test {
namespace {

class SignalTest : public EngineTest {
protected:
    // Level in dB of a 1 s test tone as played, without the first and last
    // 50 ms where filters start and stop.
    static double steadyLevel(const Audio& audio, int channel = 0)
    {
        const auto edge = static_cast<std::size_t>(audio.rate / 20);
        return rmsDb(audio.slice(edge, audio.frames() - edge), channel);
    }

    void setDecode(std::int32_t downSampling, std::int32_t channels, std::int32_t limit)
    {
        const DecodeOptions options{downSampling, channels, limit};
        ASSERT_EQ(vb().setDecodeOption(&options), 1);
    }
};

TEST_F(SignalTest, VolumeFiftyLowersTheLevelByTwelveDecibels)
{
    const Audio source = reference(fixture("tone_1k.wav"));
    ASSERT_EQ(vb().setVolume(50, 50), 1);
    const Audio played = playWhole(fixture("tone_1k.wav"));
    ASSERT_EQ(played.frames(), source.frames());
    // The documented curve: (volume / 100)^2, 40 * log10(0.5) = -12.04 dB.
    EXPECT_NEAR(steadyLevel(played) - steadyLevel(source), 40.0 * std::log10(0.5), 0.05);
}

TEST_F(SignalTest, VolumeIsKeptAcrossCloseAndAppliesPerChannel)
{
    ASSERT_EQ(vb().setVolume(100, 0), 1);
    ASSERT_TRUE(openFile(fixture("cbr_v1.mp3")));
    ASSERT_EQ(vb().close(), 1);
    const Audio source = reference(fixture("pcm16_stereo.wav"));
    const Audio played = playWhole(fixture("pcm16_stereo.wav"));
    ASSERT_EQ(played.channels, 2);
    EXPECT_NEAR(steadyLevel(played, 0), steadyLevel(source, 0), 0.01);
    EXPECT_LT(steadyLevel(played, 1), -200.0);  // silent
}

TEST_F(SignalTest, MonoOutputHasOneChannelMixedFromBoth)
{
    setDecode(0, 1, 24000);
    const Audio source = reference(fixture("pcm16_stereo.wav"));
    const Audio played = playWhole(fixture("pcm16_stereo.wav"));
    ASSERT_EQ(played.channels, 1);
    ASSERT_EQ(played.frames(), source.frames());
    EXPECT_EQ(played.rate, 22050);
    double worst = 0.0;
    for (std::size_t i = 0; i < played.frames(); ++i)
        worst = std::max(worst, static_cast<double>(std::abs(played.at(i) - 0.5f * (source.at(i, 0) + source.at(i, 1)))));
    EXPECT_LT(worst, 1e-6);
}

TEST_F(SignalTest, DownSamplingByTwoHalvesTheRateAndKeepsTheTone)
{
    setDecode(1, 0, 24000);
    const Audio source = reference(fixture("tone_1k.wav"));
    const Audio played = playWhole(fixture("tone_1k.wav"));
    EXPECT_EQ(played.rate, 22050);
    EXPECT_EQ(played.frames(), 22050u);
    EXPECT_NEAR(steadyLevel(played), steadyLevel(source), 0.1);
}

TEST_F(SignalTest, DownSamplingByFourFiltersWhatTheLowerRateCannotHold)
{
    setDecode(2, 0, 24000);
    const Audio source = reference(fixture("tone_10k.wav"));
    const Audio played = playWhole(fixture("tone_10k.wav"));
    EXPECT_EQ(played.rate, 11025);
    EXPECT_EQ(played.frames(), 11025u);
    // 10 kHz is above the new Nyquist frequency: it must go, not fold down.
    EXPECT_LT(steadyLevel(played) - steadyLevel(source), -60.0);
}

TEST_F(SignalTest, DownSamplingOfAnMpegStream)
{
    setDecode(1, 0, 24000);
    const Audio source = reference(fixture("cbr_v1.mp3"));
    const Audio played = playWhole(fixture("cbr_v1.mp3"));
    EXPECT_EQ(played.rate, 22050);
    EXPECT_EQ(played.channels, 2);
    EXPECT_EQ(played.frames(), (source.frames() + 1) / 2);
}

TEST_F(SignalTest, FrequencyLimitRemovesTheTenKilohertzTone)
{
    setDecode(0, 0, 4000);
    const Audio source = reference(fixture("tone_10k.wav"));
    const Audio played = playWhole(fixture("tone_10k.wav"));
    ASSERT_EQ(played.frames(), source.frames());
    EXPECT_LT(steadyLevel(played) - steadyLevel(source), -40.0);
}

TEST_F(SignalTest, FrequencyLimitKeepsTheOneKilohertzTone)
{
    setDecode(0, 0, 4000);
    const Audio source = reference(fixture("tone_1k.wav"));
    const Audio played = playWhole(fixture("tone_1k.wav"));
    EXPECT_NEAR(steadyLevel(played), steadyLevel(source), 0.5);
}

TEST_F(SignalTest, FrequencyLimitAtTwentyFourKilohertzLeavesTheSoundUntouched)
{
    setDecode(0, 0, 30000);
    const Audio source = reference(fixture("tone_10k.wav"));
    const Audio played = playWhole(fixture("tone_10k.wav"));
    EXPECT_LT(maxDifference(played, source), 1e-6);
}

class EqualizerTest : public SignalTest {
protected:
    static constexpr std::int32_t kBoost1k[VBMP3_EQUALIZER_BANDS]{0, 0, 0, 0, 120, 0, 0, 0, 0, 0};
};

TEST_F(EqualizerTest, OneKilohertzBandRaisesTheOneKilohertzToneByTwelveDecibelsWithoutClipping)
{
    ASSERT_EQ(vb().setEqualizer(kBoost1k), 1);
    const Audio source = reference(fixture("tone_1k.wav"));
    const Audio played = playWhole(fixture("tone_1k.wav"));
    EXPECT_NEAR(steadyLevel(played) - steadyLevel(source), 12.0, 1.5);
    EXPECT_LT(peak(played), 1.0);
}

TEST_F(EqualizerTest, OneKilohertzBandLeavesTheHundredHertzTone)
{
    ASSERT_EQ(vb().setEqualizer(kBoost1k), 1);
    const Audio source = reference(fixture("tone_100.wav"));
    const Audio played = playWhole(fixture("tone_100.wav"));
    EXPECT_NEAR(steadyLevel(played), steadyLevel(source), 1.0);
}

TEST_F(EqualizerTest, FullBoostOfAHotSignalIsLimitedInsteadOfClipped)
{
    const std::int32_t all[VBMP3_EQUALIZER_BANDS]{120, 120, 120, 120, 120, 120, 120, 120, 120, 120};
    ASSERT_EQ(vb().setEqualizer(all), 1);
    const Audio played = playWhole(fixture("cbr_v1.mp3"));
    EXPECT_LE(peak(played), 0.99 + 1e-6);
    EXPECT_GT(peak(played), 0.9);  // it did get loud
}

TEST_F(EqualizerTest, BandsAboveTheNyquistFrequencyAreLeftOut)
{
    // At a quarter of 44.1 kHz the 6 kHz band and those above cannot be shaped.
    setDecode(2, 0, 24000);
    const std::int32_t high[VBMP3_EQUALIZER_BANDS]{0, 0, 0, 0, 0, 0, 120, 120, 120, 120};
    ASSERT_EQ(vb().setEqualizer(high), 1);
    const Audio source = reference(fixture("tone_1k.wav"));
    const Audio played = playWhole(fixture("tone_1k.wav"));
    EXPECT_NEAR(steadyLevel(played), steadyLevel(source), 0.2);
}

TEST_F(EqualizerTest, NullSwitchesTheEqualizerOff)
{
    ASSERT_EQ(vb().setEqualizer(kBoost1k), 1);
    ASSERT_EQ(vb().setEqualizer(nullptr), 1);
    const Audio source = reference(fixture("tone_1k.wav"));
    const Audio played = playWhole(fixture("tone_1k.wav"));
    EXPECT_LT(maxDifference(played, source), 1e-6);
}

TEST_F(EqualizerTest, MpegPathRaisesTheToneToo)
{
    ASSERT_EQ(vb().setEqualizer(kBoost1k), 1);
    const Audio source = reference(fixture("tone_1k.mp3"));
    const Audio played = playWhole(fixture("tone_1k.mp3"));
    ASSERT_EQ(played.frames(), source.frames());
    for (int channel = 0; channel < 2; ++channel)
        EXPECT_NEAR(steadyLevel(played, channel) - steadyLevel(source, channel), 12.0, 1.5);
    EXPECT_LT(peak(played), 1.0);
}

} // namespace
} // namespace engine_test
