// The 256-name genre table and the ways tags spell a genre.
#pragma once

#include <string_view>

namespace vbmp3::media {

// The genre number an ID3v2 genre text stands for: "(17)", "(17)Rock", "17",
// a name of the table or a common other spelling of one ("Psychedelic").
// -1 when the text names no genre of the table.
int genreFromText(std::string_view text);

// A genre text as it is shown: a bare number ("17", "(17)") as the table's
// name of it, any other text as the file spells it.
std::string_view genreLabel(std::string_view text);

} // namespace vbmp3::media
