#include "playback/SeekSteps.h"
#include "playback/VolumeSteps.h"

#include <gtest/gtest.h>

namespace nuvo {
namespace {

TEST(SeekTargetAt, TruncatesTheShareOfTheTrackUnderThePoint)
{
    struct Case {
        int track, width, x, target;
    } const cases[] = {
        {300, 216, 0, 0},
        {300, 216, 108, 150},
        {300, 216, 1, 1},     // 1.388 s
        {300, 216, 215, 298}, // 298.6 s
        {300, 216, 216, 300},
        {3, 216, 100, 1},
        {0, 216, 100, 0},
        // A bar that has no width yet seeks to the start instead of dividing by zero.
        {300, 0, 0, 0},
        {300, 0, 5, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(seekTargetAt(c.track, c.width, c.x), c.target) << c.track << " s, width " << c.width << ", x " << c.x;
}

TEST(SeekSteps, OneFiftiethOrOneHundredthAndTheEndsExactly)
{
    struct Case {
        int elapsed, track, divisor, back, forward;
    } const cases[] = {
        {100, 300, 50, 94, 106},
        {100, 300, 100, 97, 103},
        {6, 300, 50, 0, 12},      // the step is not below the position: back to 0
        {7, 300, 50, 1, 13},
        {294, 300, 50, 288, 300}, // forward would reach the end: exactly the end
        {293, 300, 50, 287, 299},
        {1, 30, 50, 1, 1},        // a track under 50 s has no step
    };
    for (const Case& c : cases) {
        EXPECT_EQ(seekStepBack(c.elapsed, c.track, c.divisor), c.back) << c.elapsed << "/" << c.track;
        EXPECT_EQ(seekStepForward(c.elapsed, c.track, c.divisor), c.forward) << c.elapsed << "/" << c.track;
    }
}

TEST(VolumeSteps, TheMenuStepsTenWhileTenFits)
{
    const auto up = [](int v) { return steppedVolume(v, VolumeDirection::Up, menuVolumeStep(v, VolumeDirection::Up)); };
    const auto down = [](int v) {
        return steppedVolume(v, VolumeDirection::Down, menuVolumeStep(v, VolumeDirection::Down));
    };
    EXPECT_EQ(down(95), 85);
    EXPECT_EQ(up(85), 95);
    EXPECT_EQ(up(95), 96);
    EXPECT_EQ(up(5), 15);
    EXPECT_EQ(up(90), 100);
    EXPECT_EQ(down(10), 0);
    EXPECT_EQ(down(9), 8);
    EXPECT_EQ(up(100), 100);
    EXPECT_EQ(down(0), 0);
}

} // namespace
} // namespace nuvo
