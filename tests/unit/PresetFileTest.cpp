#include "equalizer/PresetFile.h"

#include "app/IniFile.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

using test::TempDirTest;

TEST(PresetFile, TheTenBandsAreWrittenInBandOrderUnderTheirNames)
{
    IniFile ini;
    writePreset(ini, QStringLiteral("Rock"), {-120, -35, 0, 1, 2, 3, 4, 5, 6, 120});
    EXPECT_EQ(ini.toBytes(), QByteArray("[Rock]\r\n60Hz=-120\r\n170Hz=-35\r\n310Hz=0\r\n600Hz=1\r\n1kHz=2\r\n"
                                        "3kHz=3\r\n6kHz=4\r\n12kHz=5\r\n14kHz=6\r\n16kHz=120\r\n\r\n"));
}

TEST(PresetFile, NamesAndKeysMatchInAnyCaseAndValuesAreKeptInRange)
{
    const IniFile ini = IniFile::fromBytes("[Jazz]\r\n60Hz=7\r\n[ROCK]\r\n60HZ=500\r\n170hz=-999\r\n"
                                           "1KHZ=12\r\n3kHz=loud\r\n");
    const BandTable expected{120, -120, 0, 0, 12, 0, 0, 0, 0, 0};
    EXPECT_EQ(readPreset(ini, QStringLiteral("rock")), expected);
    EXPECT_EQ(readPreset(ini, QStringLiteral("Pop")), BandTable{}) << "a missing preset is flat";
}

TEST(PresetFile, OverwritingKeepsTheSectionAndTheOtherPresets)
{
    IniFile ini = IniFile::fromBytes("[Soft]\r\n60Hz=1\r\n\r\n[rock]\r\n60Hz=9\r\n");
    writePreset(ini, QStringLiteral("Rock"), {5, 0, 0, 0, 0, 0, 0, 0, 0, -5});
    EXPECT_EQ(ini.sectionNames(), (QStringList{"Soft", "rock"}));
    EXPECT_EQ(readPreset(ini, QStringLiteral("Rock"))[0], 5);
    EXPECT_EQ(readPreset(ini, QStringLiteral("Rock"))[9], -5);
    EXPECT_EQ(readPreset(ini, QStringLiteral("Soft"))[0], 1);
}

using PresetFileOnDisk = TempDirTest;

TEST_F(PresetFileOnDisk, APresetComesBackFromTheFileItWasSavedTo)
{
    const QString file = path("Eqlz.ini");
    const BandTable curve{10, 20, -30, 40, 120, -120, 0, 1, -1, 55};
    IniFile ini = IniFile::load(file);
    writePreset(ini, QStringLiteral("My Curve"), curve);
    ASSERT_TRUE(ini.save(file, nullptr));
    EXPECT_EQ(readPreset(IniFile::load(file), QStringLiteral("my curve")), curve);
}

} // namespace
} // namespace nuvo
