// The files of the program, all in the program directory.
#pragma once

namespace nuvo {

inline constexpr const char* kSettingsFile = "Nuvo.ini";
inline constexpr const char* kPlaylistFile = "List.m3u";      // the playlist as it was left
inline constexpr const char* kPresetNamesFile = "Eqlz.lst";   // the equalizer preset names
inline constexpr const char* kPresetFile = "Eqlz.ini";        // the equalizer presets' curves

} // namespace nuvo
