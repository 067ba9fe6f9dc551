#include "tag/TrackChoice.h"

namespace nuvo {

namespace {

bool validRow(const PlaySituation& s, int row)
{
    return row >= 0 && row < s.entryCount;
}

std::optional<TrackChoice> inList(const PlaySituation& s, TrackChoice choice)
{
    return validRow(s, choice.row) ? std::optional(choice) : std::nullopt;
}

} // namespace

std::optional<TrackChoice> chooseTagTrack(const PlaySituation& s)
{
    if (s.entryCount <= 0)
        return std::nullopt;
    if (!s.trackOpen)
        return inList(s, {s.hasSelection ? s.focusedIndex : s.currentIndex, false});
    if (s.trackRunning)
        return inList(s, {s.currentIndex, true});
    // Stopped: another entry the user picked is read from its file.
    if (s.hasSelection && s.focusedIndex != s.currentIndex)
        return inList(s, {s.focusedIndex, false});
    return inList(s, {s.currentIndex, true});
}

std::optional<int> chooseRenameTrack(const PlaySituation& s)
{
    if (s.entryCount <= 0)
        return std::nullopt;
    int row = -1;
    if (!s.trackOpen)
        row = s.hasSelection ? s.focusedIndex : s.currentIndex;
    else if (!s.trackRunning && s.hasSelection && s.focusedIndex != s.currentIndex)
        row = s.focusedIndex;
    return validRow(s, row) ? std::optional(row) : std::nullopt;
}

} // namespace nuvo
