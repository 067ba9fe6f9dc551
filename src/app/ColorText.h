#pragma once

#include <QString>

namespace nuvo {

// Colours are stored as the decimal text of the value 0x00BBGGRR (red in the low byte).
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Channels are clamped to 0..255.
int colorRefFromRgb(int r, int g, int b);
Rgb rgbFromRef(int ref);

// label + " <RRGGBB>" with upper-case hexadecimal digits, e.g. "Played/Standby <123456>".
QString colorItemText(const QString& label, int ref);

// A stored colour text: an integer in the settings file's form (decimal, "0x" or "$" hexadecimal)
// from 0 to 0xFFFFFF. Anything else (not a number, negative, flag bits above the blue byte) is no
// colour this program wrote, and gives fallback.
int parseColorRef(const QString& text, int fallback);

} // namespace nuvo
