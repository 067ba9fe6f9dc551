#include "equalizer/PresetFile.h"

#include "app/IniFile.h"

#include <algorithm>

namespace nuvo {

BandTable readPreset(const IniFile& ini, const QString& name)
{
    BandTable table{};
    for (int band = 0; band < kBandCount; ++band)
        table[band] = std::clamp(ini.readInteger(name, bandName(band), 0), -kBandLimit, kBandLimit);
    return table;
}

void writePreset(IniFile& ini, const QString& name, const BandTable& table)
{
    for (int band = 0; band < kBandCount; ++band)
        ini.writeInteger(name, bandName(band), table[band]);
}

} // namespace nuvo
