// The window's font: the desktop's sans-serif at the largest pixel size
// whose line fits the 12-pixel item height the window is laid out for.
#pragma once

#include <QFont>

class QWidget;

namespace nuvo {

inline constexpr int kDesignedLineHeight = 12;

// The given family at the largest pixel size whose line (ascent plus
// descent) is at most lineHeight; the size of the lowest line where none fits.
QFont fontForLineHeight(const QFont& family, int lineHeight);

// Makes the window font the application's, so the menus and every dialog
// use it, and the window's own (a widget under a style sheet keeps the font
// it was polished with unless its window's font changes).
void applyWindowFont(QWidget& window);

} // namespace nuvo
