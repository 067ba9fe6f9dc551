#include "equalizer/CurveRules.h"

#include <gtest/gtest.h>

namespace nuvo {
namespace {

TEST(CurveRules, EachBandTakesItsSeventeenMouseRows)
{
    const struct {
        int y;
        std::optional<int> band;
    } cases[] = {
        {3, std::nullopt}, {4, 0}, {20, 0}, {21, 1}, {37, 1}, {38, 2},
        {156, 8}, {157, 9}, {173, 9}, {174, std::nullopt}, {-20, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bandAt(c.y), c.band) << "y = " << c.y;
}

TEST(CurveRules, DecibelsInTheShortestFormWithTheUsersSeparator)
{
    const struct {
        std::int32_t value;
        const char* separator;
        const char* text;
    } cases[] = {
        {-120, ".", "-12"}, {-35, ".", "-3.5"}, {0, ".", "0"}, {1, ".", "0.1"},
        {3, ".", "0.3"}, {-7, ".", "-0.7"}, {120, ".", "12"}, {-35, ",", "-3,5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decibelText(c.value, QString::fromLatin1(c.separator)).toStdString(), c.text) << c.value;
}

TEST(CurveRules, KeyStepsStopAtTheEndsAndHighSpeedReachesThem)
{
    const struct {
        std::int32_t value;
        int step;
        bool highSpeed;
        std::int32_t raised;
        std::int32_t lowered;
    } cases[] = {
        {100, 5, true, 105, 95},
        {115, 5, true, 120, 110},
        {116, 5, true, 120, 111},
        {120, 5, true, 120, 115},
        {-116, 5, true, -111, -120},
        {-120, 5, true, -115, -120},
        {119, 1, false, 120, 118},
        {120, 1, false, 120, 119},
        {-120, 1, false, -119, -120},
        // A step that does not match the option still keeps the range.
        {118, 5, false, 120, 113},
        {-118, 5, false, -113, -120},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(raisedValue(c.value, c.step, c.highSpeed), c.raised) << c.value << " step " << c.step;
        EXPECT_EQ(loweredValue(c.value, c.step, c.highSpeed), c.lowered) << c.value << " step " << c.step;
    }
}

} // namespace
} // namespace nuvo
