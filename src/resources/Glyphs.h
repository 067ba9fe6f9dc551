// The tool bar's glyphs and the window icon, drawn by the program itself.
#pragma once

#include <QIcon>
#include <QImage>

namespace nuvo {

// Glyph order of the tool bar.
enum class Glyph { Previous, Play, Pause, Stop, Next, Open, MoveUp, MoveDown, ClearAll };

// A 16 x 16 glyph with its own greyed form for the disabled state.
QIcon glyphIcon(Glyph glyph);
// The program's own icon, at the sizes desktops ask for; the installed
// icon theme files are drawn from the same pictures.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
QImage programIconImage(int size);
QIcon programIcon();

} // namespace nuvo
