#include "equalizer/PresetFile.h"

#include "app/IniFile.h"

#include <gtest/gtest.h>

namespace nuvo {
namespace {

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

} // namespace
} // namespace nuvo
