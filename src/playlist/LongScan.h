// Collecting tracks that may take long (a folder tree, "/" even) without
// leaving the window blank: the work runs on a thread of its own under a
// busy cursor, and once it has taken half a second a small window shows how
// many audio files were found so far, with a Cancel button.
#pragma once

#include "app/AreaContext.h"
#include "playlist/TrackSources.h"

#include <chrono>
#include <optional>
#include <vector>

namespace nuvo {

// The tracks of the sources, or nothing when the user cancelled or the window closed meanwhile
// (the caller then adds nothing). Sources without a folder are collected at once.
std::optional<CollectedTracks> collectWithProgress(const AreaContext& context, const std::vector<TrackSource>& sources);

// The same, with a list file that could not be read said in a message box (nothing then).
std::optional<QStringList> collectOrReport(const AreaContext& context, const std::vector<TrackSource>& sources);

// How long a scan runs before its progress window appears (half a second; window tests change it).
void setScanProgressDelay(std::chrono::milliseconds delay);

} // namespace nuvo
