#include "file_access.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vbmp3::media {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int FileDescriptor::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

std::optional<ByteSource> ByteSource::open(const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd.valid())
        return std::nullopt;
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0)
        ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    return ByteSource(std::move(fd), status);
}

ByteSource::ByteSource(FileDescriptor fd, const struct stat& status)
    : fd_(std::move(fd)), status_(status), size_(status.st_size)
{
}

std::size_t ByteSource::read(std::int64_t offset, std::span<std::uint8_t> out) const
{
    std::size_t done = 0;
    while (done < out.size() && offset + static_cast<std::int64_t>(done) < size_) {
        const ssize_t got = ::pread(fd_.get(), out.data() + done, out.size() - done,
                                    static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool ByteSource::holds(std::int64_t offset, std::size_t count) const
{
    return offset >= windowOffset_ &&
           offset + static_cast<std::int64_t>(count) <= windowOffset_ + static_cast<std::int64_t>(windowFill_);
}

void ByteSource::refill(std::int64_t offset)
{
    window_.resize(windowSize + lookBehind);
    windowOffset_ = std::max<std::int64_t>(0, offset - static_cast<std::int64_t>(lookBehind));
    windowFill_ = read(windowOffset_, window_);
}

const std::uint8_t* ByteSource::view(std::int64_t offset, std::size_t count)
{
    if (offset < 0 || count > windowSize || offset > size_ ||
        static_cast<std::int64_t>(count) > size_ - offset)
        return nullptr;
    if (!holds(offset, count)) {
        refill(offset);
        if (!holds(offset, count))
            return nullptr;
    }
    return window_.data() + (offset - windowOffset_);
}

std::span<const std::uint8_t> ByteSource::viewFrom(std::int64_t offset, std::size_t minimum)
{
    if (offset < 0 || offset >= size_)
        return {};
    const auto wanted = static_cast<std::size_t>(
        std::min<std::int64_t>({static_cast<std::int64_t>(std::min(minimum, windowSize)), size_ - offset}));
    if (!holds(offset, wanted))
        refill(offset);
    if (!holds(offset, 1))
        return {};
    const auto at = static_cast<std::size_t>(offset - windowOffset_);
    return {window_.data() + at, windowFill_ - at};
}

bool mayWrite(const std::string& path, const struct stat& status)
{
    const bool ownerMayWrite = (status.st_mode & S_IWUSR) != 0;
    const bool ownedOrRoot = ::geteuid() == 0 || ::geteuid() == status.st_uid;
    if (ownedOrRoot && !ownerMayWrite)
        return false;
    return ::access(path.c_str(), W_OK) == 0;
}

bool mayReplace(const std::string& path, const struct stat& status)
{
    const std::string directory = directoryOf(path);
    struct stat directoryStatus {};
    if (::stat(directory.c_str(), &directoryStatus) != 0 || !S_ISDIR(directoryStatus.st_mode))
        return false;
    // In a sticky directory (/tmp, shared music folders) only the file's or
    // the directory's owner may rename over the file.
    const uid_t user = ::geteuid();
    const bool stickyElsewhere = (directoryStatus.st_mode & S_ISVTX) != 0 && user != 0 &&
                                 user != status.st_uid && user != directoryStatus.st_uid;
    return !stickyElsewhere && mayWrite(path, status) && mayWrite(directory, directoryStatus) &&
           ::access(directory.c_str(), X_OK) == 0;
}

std::optional<std::string> resolvedPath(const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                                &std::free);
    if (!resolved)
        return std::nullopt;
    return std::string(resolved.get());
}

std::string directoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

} // namespace vbmp3::media
