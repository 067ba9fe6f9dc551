// The program-wide values of a run, one part per owning area. An area gets
// its own part to write and the whole to read, so the compiler says who may
// change what. The playlist and its current entry live in the PlaylistModel.
#pragma once

#include "app/OptionState.h"
#include "app/TrayState.h"
#include "equalizer/EqualizerState.h"
#include "playback/PlaybackState.h"
#include "playlist/ListBinding.h"
#include "tag/TagState.h"

namespace nuvo {

struct PlayerState {
    PlaybackState playback;
    ListBinding list;
    OptionState options;
    TagState tag;
    EqualizerState equalizer;
    TrayState tray;
};

} // namespace nuvo
