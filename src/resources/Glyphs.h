// The tool bar's glyphs and the window icon, drawn by the program itself.
#pragma once

#include <QIcon>

namespace nuvo {

// Glyph order of the tool bar.
enum class Glyph { Previous, Play, Pause, Stop, Next, Open, MoveUp, MoveDown, ClearAll };

// A 16 x 16 glyph with its own greyed form for the disabled state.
QIcon glyphIcon(Glyph glyph);
// The program's own icon, at the sizes desktops ask for.
QIcon programIcon();

} // namespace nuvo
