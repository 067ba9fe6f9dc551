#include "playback/SeekSteps.h"
#include "playback/VolumeSteps.h"

#include <gtest/gtest.h>

namespace nuvo {
namespace {

TEST(SeekSteps, TargetsOfThePointAndOfTheKeys)
{
    EXPECT_EQ(seekTargetAt(300, 216, 108), 150);
    EXPECT_EQ(seekTargetAt(300, 216, 215), 298) << "298.6 s, truncated";
    EXPECT_EQ(seekTargetAt(300, 216, 216), 300);
    EXPECT_EQ(seekTargetAt(300, 0, 0), 0) << "a bar without width: the start, no division by zero";
    EXPECT_EQ(seekTargetAt(300, 0, 5), 0);

    EXPECT_EQ(seekStepBack(100, 300, 50), 94);
    EXPECT_EQ(seekStepBack(100, 300, 100), 97);
    EXPECT_EQ(seekStepBack(6, 300, 50), 0) << "the step is not below the position";
    EXPECT_EQ(seekStepForward(293, 300, 50), 299);
    EXPECT_EQ(seekStepForward(294, 300, 50), 300) << "the end exactly";
}

TEST(VolumeSteps, TheMenuStepsTenWhileTenFits)
{
    EXPECT_EQ(menuVolumeStep(90, VolumeDirection::Up), 10);
    EXPECT_EQ(menuVolumeStep(91, VolumeDirection::Up), 1);
    EXPECT_EQ(menuVolumeStep(10, VolumeDirection::Down), 10);
    EXPECT_EQ(menuVolumeStep(9, VolumeDirection::Down), 1);
}

} // namespace
} // namespace nuvo
