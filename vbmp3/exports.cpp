// The 23 entry points. The library lock keeps init and free from racing with
// a call in progress: they take it alone, every other call shares it (the
// engine guards its own state), so a slow call never holds up another. Calls
// that only read or write a file that need not be open do not hold it at all
// while they work. A call without an engine (before init, after free) does
// nothing and returns 0, or -1 where -1 means failure.
#include "decoder.h"
#include "engine.h"
#include "media/media.h"
#include "vbmp3.h"

#include <memory>
#include <mutex>
#include <shared_mutex>

namespace {

std::shared_mutex libraryMutex;
// Destroyed when the library is unloaded or the process exits, which stops
// the play thread and finishes an output file even without vbmp3_free.
std::unique_ptr<vbmp3::Engine> engine;

template <typename Call>
std::int32_t withEngine(std::int32_t fallback, Call&& call)
{
    std::shared_lock lock(libraryMutex);
    if (!engine)
        return fallback;
    return call(*engine);
}

// For work on files alone: the media functions keep no state, so only the
// presence of an engine is checked under the lock.
template <typename Call>
std::int32_t whileInitialised(std::int32_t fallback, Call&& call)
{
    {
        std::shared_lock lock(libraryMutex);
        if (!engine)
            return fallback;
    }
    return call();
}

std::int32_t boolean(bool value)
{
    return value ? 1 : 0;
}

} // namespace

extern "C" {

VBMP3_API int32_t vbmp3_init(void)
{
    std::unique_lock lock(libraryMutex);
    if (!engine)
        engine = std::make_unique<vbmp3::Engine>();
    return 1;
}

VBMP3_API int32_t vbmp3_free(void)
{
    std::unique_lock lock(libraryMutex);
    if (!engine)
        return 0;
    engine.reset();
    return 1;
}

VBMP3_API int32_t vbmp3_open(const char* path, OpenRecord* record)
{
    if (!path || !record)
        return 0;
    return withEngine(0, [&](vbmp3::Engine& e) { return boolean(e.open(path, *record)); });
}

VBMP3_API int32_t vbmp3_close(void)
{
    return withEngine(0, [](vbmp3::Engine& e) { return boolean(e.close()); });
}

VBMP3_API int32_t vbmp3_play(void)
{
    return withEngine(0, [](vbmp3::Engine& e) { return boolean(e.play()); });
}

VBMP3_API int32_t vbmp3_stop(void)
{
    return withEngine(0, [](vbmp3::Engine& e) { return boolean(e.stop()); });
}

VBMP3_API int32_t vbmp3_pause(void)
{
    return withEngine(0, [](vbmp3::Engine& e) { return boolean(e.pause()); });
}

VBMP3_API int32_t vbmp3_restart(void)
{
    return withEngine(0, [](vbmp3::Engine& e) { return boolean(e.restart()); });
}

VBMP3_API int32_t vbmp3_getFileType(const char* path)
{
    if (!path)
        return -1;
    return whileInitialised(-1, [&] {
        const std::int32_t type = vbmp3::media::fileType(path);
        return type >= 0 && vbmp3::decodes(path) ? type : -1;
    });
}

VBMP3_API int32_t vbmp3_getState(int32_t* seconds)
{
    int32_t heard = 0;
    const int32_t state = withEngine(0, [&](vbmp3::Engine& e) { return e.state(heard); });
    if (seconds)
        *seconds = heard;
    return state;
}

VBMP3_API int32_t vbmp3_getPlayBitRate(void)
{
    return withEngine(0, [](vbmp3::Engine& e) { return e.playBitRate(); });
}

VBMP3_API int32_t vbmp3_setVolume(int32_t left, int32_t right)
{
    return withEngine(0, [&](vbmp3::Engine& e) {
        e.setVolume(left, right);
        return 1;
    });
}

VBMP3_API int32_t vbmp3_seek(int32_t seconds)
{
    return withEngine(0, [&](vbmp3::Engine& e) { return boolean(e.seek(seconds)); });
}

VBMP3_API int32_t vbmp3_getTagInfo(TagRecord* tag)
{
    if (!tag)
        return 0;
    return withEngine(0, [&](vbmp3::Engine& e) { return boolean(e.tagInfo(*tag)); });
}

VBMP3_API int32_t vbmp3_getMpegInfo(MpegRecord* info)
{
    if (!info)
        return 0;
    return withEngine(0, [&](vbmp3::Engine& e) { return boolean(e.mpegInfo(*info)); });
}

VBMP3_API int32_t vbmp3_getFileInfo(const char* path, TagRecord* tag, MpegRecord* info)
{
    if (!path || !tag || !info)
        return 0;
    return whileInitialised(0, [&] {
        if (vbmp3::media::readFileInfo(path, *tag, *info) && vbmp3::decodes(path))
            return 1;
        *tag = TagRecord{};
        tag->genre = -1;
        *info = MpegRecord{};
        return 0;
    });
}

VBMP3_API int32_t vbmp3_setTagInfo(const char* path, const TagRecord* tag, int32_t openedFile, int32_t mode)
{
    // The engine reads the open file through a descriptor of its own and the
    // tag writer replaces the file by rename, so writing the playing file
    // (openedFile 1) needs nothing further here; mode 1 is the only mode.
    (void)openedFile;
    (void)mode;
    if (!path || !tag)
        return 0;
    return whileInitialised(0, [&] { return boolean(vbmp3::media::writeTag(path, *tag)); });
}

VBMP3_API int32_t vbmp3_setEqualizer(const int32_t* table)
{
    return withEngine(0, [&](vbmp3::Engine& e) {
        e.setEqualizer(table);
        return 1;
    });
}

VBMP3_API int32_t vbmp3_reload(void)
{
    return withEngine(0, [](vbmp3::Engine& e) { return boolean(e.reload()); });
}

VBMP3_API int32_t vbmp3_setVbmp3Option(const BufferOptions* options)
{
    if (!options)
        return 0;
    return withEngine(0, [&](vbmp3::Engine& e) {
        e.setBufferOptions(*options);
        return 1;
    });
}

VBMP3_API int32_t vbmp3_setDecodeOption(const DecodeOptions* options)
{
    if (!options)
        return 0;
    return withEngine(0, [&](vbmp3::Engine& e) {
        e.setDecodeOptions(*options);
        return 1;
    });
}

VBMP3_API int32_t vbmp3_getVbmp3Option(BufferOptions* options)
{
    if (!options)
        return 0;
    return withEngine(0, [&](vbmp3::Engine& e) {
        *options = e.bufferOptions();
        return 1;
    });
}

VBMP3_API int32_t vbmp3_getDecodeOption(DecodeOptions* options)
{
    if (!options)
        return 0;
    return withEngine(0, [&](vbmp3::Engine& e) {
        *options = e.decodeOptions();
        return 1;
    });
}

} // extern "C"
