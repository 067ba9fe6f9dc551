// Reading files safely: only regular files are opened (a FIFO or a device
// could block or never end), every read is bounded by the file's size.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vbmp3::media {

// An open file descriptor, closed when this goes.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release();

private:
    int fd_ = -1;
};

// A regular file opened for reading, with random access through a window
// that is refilled as the reader moves along.
class ByteSource {
public:
    // Nothing when path is missing, unreadable or not a regular file.
    static std::optional<ByteSource> open(const std::string& path);

    std::int64_t size() const { return size_; }
    const struct stat& status() const { return status_; }
    int descriptor() const { return fd_.get(); }

    // Pointer to count bytes at offset, valid until the next call; null when
    // they are not all inside the file. count is at most windowSize.
    const std::uint8_t* view(std::int64_t offset, std::size_t count);
    // The bytes from offset on that the window holds, at least minimum of
    // them (at most windowSize) unless the file ends first; empty at the end.
    std::span<const std::uint8_t> viewFrom(std::int64_t offset, std::size_t minimum);

    // Copies up to out.size() bytes from offset; returns how many were read.
    std::size_t read(std::int64_t offset, std::span<std::uint8_t> out) const;

    static constexpr std::size_t windowSize = 256 * 1024;

private:
    // A refill also keeps this much before the asked offset, so a reader that
    // looks a few frames ahead and then steps back finds its bytes still there
    // (the stream walk does, at every sync candidate); without it, each step
    // back would read the window again.
    static constexpr std::size_t lookBehind = 32 * 1024;

    ByteSource(FileDescriptor fd, const struct stat& status);
    bool holds(std::int64_t offset, std::size_t count) const;
    void refill(std::int64_t offset);

    FileDescriptor fd_;
    struct stat status_ {};
    std::int64_t size_ = 0;
    std::vector<std::uint8_t> window_;
    std::int64_t windowOffset_ = 0;
    std::size_t windowFill_ = 0;
};

// Whether this process may change the file at path: the permission bits must
// allow its owner to write (also for root, whom the kernel would let through
// anyway) and access() must agree (read-only mounts, other users' files).
bool mayWrite(const std::string& path, const struct stat& status);

// Whether the file at path (symbolic links resolved) may be replaced by a
// new one: the file itself writable, its directory too, and, where the
// directory is sticky, the file or the directory ours.
bool mayReplace(const std::string& path, const struct stat& status);

// The absolute path with symbolic links resolved; nothing when it is missing.
std::optional<std::string> resolvedPath(const std::string& path);

std::string directoryOf(const std::string& path);

} // namespace vbmp3::media
