#pragma once

#include <QString>

namespace nuvo {

// The directory that holds all of the program's files (settings, saved playlist, presets,
// favourites): $NUVO_HOME when set and not empty (created when missing); otherwise executableDir
// when the program may write there and is not an installed copy (kInstalledMarker beside it);
// otherwise $XDG_CONFIG_HOME/nuvo (~/.config/nuvo when that
// variable is unset or not absolute), created. The result is absolute and lexically clean, without
// a trailing "/" (except for "/" itself); join file names with QDir(dir).filePath(name).
QString resolveProgramDirectory(const QString& executableDir);

// Put beside the executable by the installation: an installed copy keeps each user's files in
// that user's configuration folder, even where it could write beside itself.
inline constexpr const char* kInstalledMarker = "nuvo.installed";

} // namespace nuvo
