#include "equalizer/CurveRules.h"

#include <algorithm>
#include <cstdio>

namespace nuvo {

namespace {

constexpr std::array<const char*, kBandCount> kBandNames = {
    "60Hz", "170Hz", "310Hz", "600Hz", "1kHz", "3kHz", "6kHz", "12kHz", "14kHz", "16kHz",
};

// HighSpeed steps by 5; from closer than that to an end, the step goes to the end.
constexpr std::int32_t kHighSpeedStep = 5;

std::int32_t clampToBand(std::int32_t value)
{
    return std::clamp(value, -kBandLimit, kBandLimit);
}

} // namespace

QString bandName(int band)
{
    return QString::fromLatin1(kBandNames.at(static_cast<std::size_t>(band)));
}

std::optional<int> bandAt(int y)
{
    if (y < curve::kCurveTop || y > curve::kCurveBottom)
        return std::nullopt;
    return (y - curve::kCurveTop) / 17;
}

std::int32_t valueAt(int x)
{
    return std::clamp(x, 0, 2 * kBandLimit) - kBandLimit;
}

QString decibelText(std::int32_t value, const QString& decimalPoint)
{
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.15g", value * 0.1);
    return QString::fromLatin1(digits).replace(QLatin1Char('.'), decimalPoint);
}

QString readoutText(int band, std::int32_t value, ReadoutLabel label, const QString& decimalPoint)
{
    const QString separator = label == ReadoutLabel::Mouse ? QStringLiteral(" [ ") : QStringLiteral("[ ");
    return bandName(band) + separator + decibelText(value, decimalPoint) + QStringLiteral("dB ]");
}

int readoutLeft(std::int32_t value, int textWidth)
{
    const int x = markerRight(value);
    return x >= curve::kMarkerWidth ? x - textWidth - 5 : x + 4;
}

bool readoutReachesMarkerBorder(std::int32_t value, int textWidth)
{
    const int x = markerRight(value);
    // One pixel of space inside the border keeps the first letter off it.
    return x >= curve::kMarkerWidth && readoutLeft(value, textWidth) <= x - curve::kMarkerWidth + 1;
}

std::int32_t raisedValue(std::int32_t value, int step, bool highSpeed)
{
    if (value >= kBandLimit)
        return value;
    if (highSpeed && value > kBandLimit - kHighSpeedStep)
        return kBandLimit;
    return clampToBand(value + step);
}

std::int32_t loweredValue(std::int32_t value, int step, bool highSpeed)
{
    if (value <= -kBandLimit)
        return value;
    if (highSpeed && value < kHighSpeedStep - kBandLimit)
        return -kBandLimit;
    return clampToBand(value - step);
}

} // namespace nuvo
