// The table of the decoder library's entry points. Every call of the player
// into the decoder goes through one of these; the table is filled from
// libvbmp3.so at start (DecoderLibrary) or, in tests, by an in-process fake.
#pragma once

#include "vbmp3.h"

// The 23 entry points in table order; X(name) for vbmp3_<name>.
#define NUVO_DECODER_ENTRY_POINTS(X)                                                              \
    X(init) X(free) X(open) X(close) X(play) X(stop) X(pause) X(restart) X(getFileType)           \
    X(getState) X(getPlayBitRate) X(setVolume) X(seek) X(getTagInfo) X(getMpegInfo)               \
    X(getFileInfo) X(setTagInfo) X(setEqualizer) X(reload) X(setVbmp3Option) X(setDecodeOption)   \
    X(getVbmp3Option) X(getDecodeOption)

namespace nuvo {

struct DecoderApi {
#define NUVO_DECODER_FIELD(name) decltype(&vbmp3_##name) name = nullptr;
    NUVO_DECODER_ENTRY_POINTS(NUVO_DECODER_FIELD)
#undef NUVO_DECODER_FIELD

    // True when every entry point is present.
    bool complete() const
    {
        bool all = true;
#define NUVO_DECODER_PRESENT(name) all = all && name != nullptr;
        NUVO_DECODER_ENTRY_POINTS(NUVO_DECODER_PRESENT)
#undef NUVO_DECODER_PRESENT
        return all;
    }
};

} // namespace nuvo
