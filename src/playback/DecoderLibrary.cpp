#include "playback/DecoderLibrary.h"

#include <dlfcn.h>

namespace nuvo {

std::unique_ptr<DecoderLibrary> DecoderLibrary::load(const QString& path)
{
    void* handle = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return nullptr;
    std::unique_ptr<DecoderLibrary> library(new DecoderLibrary(handle));
    if (!resolveDecoderApi(handle, library->api_))
        return nullptr;
    return library;
}

DecoderLibrary::~DecoderLibrary()
{
    dlclose(handle_);
}

} // namespace nuvo
