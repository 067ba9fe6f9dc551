// The table of the library's entry points as a program that loads
// libvbmp3.so with dlopen sees them: the player (every call it makes into the
// decoder goes through this table), and the library's own tests and
// benchmarks. The player's window tests fill it with an in-process fake.
#pragma once

#include "vbmp3.h"

#include <dlfcn.h>

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

// Resolves every entry point of a library loaded with dlopen; false when
// one is missing.
inline bool resolveDecoderApi(void* handle, DecoderApi& api)
{
#define NUVO_DECODER_RESOLVE(name) \
    api.name = reinterpret_cast<decltype(api.name)>(dlsym(handle, "vbmp3_" #name));
    NUVO_DECODER_ENTRY_POINTS(NUVO_DECODER_RESOLVE)
#undef NUVO_DECODER_RESOLVE
    return api.complete();
}

} // namespace nuvo
