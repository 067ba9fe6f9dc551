#include "playback/TimeText.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

TEST(FormatTime, UnderAnHourShowsMinutesAndSeconds)
{
    EXPECT_EQ(formatTime(5, 3599), " 00:05/59:59");
    EXPECT_EQ(formatTime(0, 0), " 00:00/00:00");
    EXPECT_EQ(formatTime(754, 1234), " 12:34/20:34");
}

TEST(FormatTime, TheTotalAloneChoosesTheHourForm)
{
    EXPECT_EQ(formatTime(5, 3600), " 00:00:05/01:00:00");
    EXPECT_EQ(formatTime(3725, 3725), " 01:02:05/01:02:05");
    // Past the end of a short track the minutes simply grow.
    EXPECT_EQ(formatTime(3725, 100), " 62:05/01:40");
    EXPECT_EQ(formatTime(360000, 360000), " 100:00:00/100:00:00");
}

TEST(FormatTime, NegativeSecondsCountAsZero)
{
    EXPECT_EQ(formatTime(-5, 100), " 00:00/01:40");
    EXPECT_EQ(formatTime(10, -1), " 00:10/00:00");
}

TEST(FormatBitRate, ThreeDigitFieldAfterTheBlank)
{
    EXPECT_EQ(formatBitRate(64), "  64Kbps");
    EXPECT_EQ(formatBitRate(128), " 128Kbps");
    EXPECT_EQ(formatBitRate(8), "   8Kbps");
    EXPECT_EQ(formatBitRate(1411), " 1411Kbps");
    EXPECT_EQ(formatBitRate(-1), "   0Kbps");
}

} // namespace
} // namespace nuvo
