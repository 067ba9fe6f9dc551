#include "app/ColorText.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

TEST(ColorText, RedIsInTheLowByte)
{
    EXPECT_EQ(colorRefFromRgb(255, 0, 0), 255);
    EXPECT_EQ(colorRefFromRgb(0x12, 0x34, 0x56), 5649426);
    EXPECT_EQ(colorRefFromRgb(0, 0, 255), 0xFF0000);
    EXPECT_EQ(colorRefFromRgb(300, -4, 256), 0xFF00FF);
    EXPECT_EQ(rgbFromRef(5649426), (Rgb{0x12, 0x34, 0x56}));
    EXPECT_EQ(rgbFromRef(0xFFFFFF), (Rgb{255, 255, 255}));
}

TEST(ColorText, ItemTextShowsRedGreenBlueInUpperCaseHex)
{
    EXPECT_EQ(colorItemText("Played/Standby", 5649426), "Played/Standby <123456>");
    EXPECT_EQ(colorItemText("Played/Standby", 255), "Played/Standby <FF0000>");
    EXPECT_EQ(colorItemText("ProgressBar", colorRefFromRgb(0xAB, 0x0C, 0xDE)), "ProgressBar <AB0CDE>");
    EXPECT_EQ(colorItemText("ProgressBar", 0), "ProgressBar <000000>");
}

TEST(ColorText, StoredTextParsesAsTheSettingsFileDoes)
{
    EXPECT_EQ(parseColorRef("5649426", 7), 5649426);
    EXPECT_EQ(parseColorRef(" 255 ", 7), 255);
    EXPECT_EQ(parseColorRef("0xFF00", 7), 0xFF00);
    EXPECT_EQ(parseColorRef("$FF", 7), 255);
    EXPECT_EQ(parseColorRef("0", 7), 0);
}

TEST(ColorText, TextThatIsNoColourGivesTheFallback)
{
    for (const char* text : {"", "red", "12x", "-1", "16777216", "0x1000000", "99999999999"})
        EXPECT_EQ(parseColorRef(text, 1234), 1234) << text;
}

} // namespace
} // namespace nuvo
