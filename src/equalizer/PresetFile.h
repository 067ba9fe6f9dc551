// The named equalizer curves of "Eqlz.ini": one section per preset, named as
// the preset, with the ten band values under the bands' names in band order.
#pragma once

#include "equalizer/CurveRules.h"

#include <QString>

namespace nuvo {

class IniFile;

// A missing section or key reads as 0; values are kept inside -120..120.
BandTable readPreset(const IniFile& ini, const QString& name);
// Overwrites a section of the same name (in any case) key by key.
void writePreset(IniFile& ini, const QString& name, const BandTable& table);

} // namespace nuvo
