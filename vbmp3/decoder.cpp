#include "decoder.h"

#include "media/media.h"
#include "mpeg_decoder.h"
#include "wav_decoder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace vbmp3 {

UniqueFd openForReading(const char* path)
{
    int fd;
    // O_NONBLOCK: a FIFO must not make the open wait for a writer.
    do {
        fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    UniqueFd file(fd);
    struct stat st {};
    if (!file.valid() || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    return file;
}

namespace {

std::int64_t sizeOf(const UniqueFd& file)
{
    struct stat st {};
    return ::fstat(file.get(), &st) == 0 ? st.st_size : -1;
}

} // namespace

std::unique_ptr<Decoder> openDecoder(const std::string& path, DecoderUse use)
{
    const auto kind = media::detectKind(path);
    if (!kind)
        return nullptr;
    // The descriptor is opened before the range is looked up, so a file
    // replaced in between is at worst refused, never misread.
    UniqueFd file = openForReading(path.c_str());
    const std::int64_t size = file.valid() ? sizeOf(file) : -1;
    if (size <= 0)
        return nullptr;
    switch (*kind) {
    case media::Kind::Wav:
        return openWavDecoder(std::move(file));
    case media::Kind::Mpeg:
        return openMpegDecoder(std::move(file), {0, size}, use);
    case media::Kind::RiffMpeg: {
        const auto range = media::riffMpegData(path);
        if (!range || range->offset < 0 || range->offset >= size)
            return nullptr;
        const std::int64_t available = std::min(range->size, size - range->offset);
        return openMpegDecoder(std::move(file), {range->offset, available}, use);
    }
    }
    return nullptr;
}

bool decodes(const std::string& path)
{
    return openDecoder(path, DecoderUse::FormatOnly) != nullptr;
}

} // namespace vbmp3
