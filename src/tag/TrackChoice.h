// Which playlist entry the tag page works on, from the play state and the
// playlist's selection: the playing or paused track, else the entry the user
// picked, else the current one.
#pragma once

#include <optional>

namespace nuvo {

// What the choice depends on, read at the moment of choosing.
struct PlaySituation {
    int entryCount = 0;
    int currentIndex = 0;
    bool hasSelection = false;
    int focusedIndex = -1;    // the list's focused entry; meaningful with a selection
    bool trackOpen = false;   // a track is open in the decoder
    bool trackRunning = false; // ... and playing or paused (the decoder's state is not stopped)
};

struct TrackChoice {
    int row = -1;
    // The entry is the track open in the decoder: it is read through the
    // open-file calls, and a write to it tells the library so.
    bool openedFile = false;

    bool operator==(const TrackChoice&) const = default;
};

// The entry the tag view shows and a tag write goes to; none for an empty list.
std::optional<TrackChoice> chooseTagTrack(const PlaySituation& situation);

// The entry whose file may be renamed: never the open track's; none when renaming is not allowed.
std::optional<int> chooseRenameTrack(const PlaySituation& situation);

} // namespace nuvo
