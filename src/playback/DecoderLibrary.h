// Loads libvbmp3.so and resolves its entry points by name.
#pragma once

#include "vbmp3_api.h"

#include <QString>

#include <memory>

namespace nuvo {

// Owns the loaded library: unloading it is what the destructor does.
class DecoderLibrary {
public:
    // Loads the library file and resolves all entry points; null when the
    // file is missing, cannot be loaded or lacks an entry point.
    static std::unique_ptr<DecoderLibrary> load(const QString& path);
    ~DecoderLibrary();

    DecoderLibrary(const DecoderLibrary&) = delete;
    DecoderLibrary& operator=(const DecoderLibrary&) = delete;

    const DecoderApi& api() const { return api_; }

private:
    explicit DecoderLibrary(void* handle) : handle_(handle) {}

    void* handle_;
    DecoderApi api_;
};

// The file name of the library, looked for beside the executable.
inline constexpr const char* kDecoderLibraryFileName = "libvbmp3.so";

} // namespace nuvo
