// The rules of the equalizer picture: where each band's row lies, how a
// band value maps to a pixel and back, the read-out texts and the key steps.
// Band values are tenths of a decibel, -120..120, 60 Hz first.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace nuvo {

inline constexpr int kBandCount = 10;
inline constexpr std::int32_t kBandLimit = 120;
using BandTable = std::array<std::int32_t, kBandCount>;

namespace curve {

inline constexpr int kRowHeight = 16;     // drawn rows of a band
inline constexpr int kMarkerWidth = 96;
inline constexpr int kEraseRight = 300;   // wider than the picture: rows are erased to its edge
inline constexpr int kTextOffset = 3;     // read-out below the row top
inline constexpr int kCurveTop = 4;
inline constexpr int kCurveBottom = 173;  // last mouse row of the last band

} // namespace curve

// "60Hz", "170Hz", ... "16kHz": the key label of a band and its key in a preset.
QString bandName(int band);

constexpr int bandRowTop(int band)
{
    return curve::kCurveTop + 17 * band;
}

// The band whose mouse rows (its drawn rows and the one below them) hold y;
// none above the first band or below the last.
std::optional<int> bandAt(int y);

// The value a pointer at x sets: x is kept inside 0..240 first.
std::int32_t valueAt(int x);

// The marker of a value ends (exclusive) at this x.
constexpr int markerRight(std::int32_t value)
{
    return value + kBandLimit;
}

// The mouse label of a band ends in a blank, the key label does not.
enum class ReadoutLabel { Mouse, Key };

// The value in decibels: up to 15 significant digits, no trailing zeros, no
// plus sign, with the given decimal separator ("-12", "-3,5", "0", "0.1").
QString decibelText(std::int32_t value, const QString& decimalPoint);

// "60Hz [ -3.5dB ]" (mouse) or "60Hz[ -3.5dB ]" (key).
QString readoutText(int band, std::int32_t value, ReadoutLabel label, const QString& decimalPoint);

// Left edge of a read-out of the given width: inside the marker, right-aligned,
// where the marker is wide enough to be seen whole; otherwise just right of it.
int readoutLeft(std::int32_t value, int textWidth);

// Whether a read-out right-aligned inside the marker reaches the marker's left
// border (a text wider than the marker leaves): it is then drawn on a cleared
// cell, so the border does not cut through it.
bool readoutReachesMarkerBorder(std::int32_t value, int textWidth);

// One key step up or down, kept inside -120..120; with HighSpeed the last
// step to an end is shortened so that the end is reached.
std::int32_t raisedValue(std::int32_t value, int step, bool highSpeed);
std::int32_t loweredValue(std::int32_t value, int step, bool highSpeed);

} // namespace nuvo
