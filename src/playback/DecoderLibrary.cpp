#include "playback/DecoderLibrary.h"

#include <dlfcn.h>

namespace nuvo {

std::unique_ptr<DecoderLibrary> DecoderLibrary::load(const QString& path)
{
    void* handle = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return nullptr;
    std::unique_ptr<DecoderLibrary> library(new DecoderLibrary(handle));
    DecoderApi& api = library->api_;
#define NUVO_DECODER_RESOLVE(name) \
    api.name = reinterpret_cast<decltype(api.name)>(dlsym(handle, "vbmp3_" #name));
    NUVO_DECODER_ENTRY_POINTS(NUVO_DECODER_RESOLVE)
#undef NUVO_DECODER_RESOLVE
    if (!api.complete())
        return nullptr;
    return library;
}

DecoderLibrary::~DecoderLibrary()
{
    dlclose(handle_);
}

} // namespace nuvo
