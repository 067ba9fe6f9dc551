#include "app/ColorText.h"

#include "app/IniFile.h"

#include <algorithm>

namespace nuvo {

namespace {

constexpr int kMaxColorRef = 0xFFFFFF;

int channel(int value)
{
    return std::clamp(value, 0, 255);
}

} // namespace

int colorRefFromRgb(int r, int g, int b)
{
    return channel(r) | channel(g) << 8 | channel(b) << 16;
}

Rgb rgbFromRef(int ref)
{
    return {ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF};
}

QString colorItemText(const QString& label, int ref)
{
    const Rgb rgb = rgbFromRef(ref);
    const int rrggbb = rgb.r << 16 | rgb.g << 8 | rgb.b;
    return QStringLiteral("%1 <%2>").arg(label, QStringLiteral("%1").arg(rrggbb, 6, 16, QChar(u'0')).toUpper());
}

int parseColorRef(const QString& text, int fallback)
{
    const auto value = parseIniInteger(text.trimmed());
    if (!value || *value < 0 || *value > kMaxColorRef)
        return fallback;
    return *value;
}

} // namespace nuvo
