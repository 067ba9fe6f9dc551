// The texts of the hot key and of the tray icon.
#pragma once

#include <QString>

namespace nuvo {

// What the hot-key box keeps of a typed, pasted or dropped text: ASCII
// letters and digits only.
QString hotKeyCharacters(const QString& text);

// The key of a hot-key text: its first character, upper-cased, when that is
// an ASCII letter or digit; 0 (no hot key) otherwise.
char16_t hotKeyCharacter(const QString& text);

// The icon's tip holds 63 characters at most; a pair of surrogates is never split.
QString trayTip(const QString& title);

inline constexpr int kTrayTipLength = 63;

} // namespace nuvo
