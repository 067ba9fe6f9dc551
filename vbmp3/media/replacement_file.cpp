#include "replacement_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace vbmp3::media {

ReplacementFile::ReplacementFile(const std::string& target, const ByteSource& original)
    : target_(target), originalStatus_(original.status())
{
    std::string pattern = directoryOf(target) + "/.nuvo-tag-XXXXXX";
    FileDescriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!fd.valid())
        return;
    path_ = pattern;
    fd_ = std::move(fd);
}

ReplacementFile::~ReplacementFile()
{
    if (!committed_ && !path_.empty())
        ::unlink(path_.c_str());
}

bool ReplacementFile::append(std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (!failed_ && done < bytes.size()) {
        const ssize_t n = ::pwrite(fd_.get(), bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(written_));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            failed_ = true;
        else {
            done += static_cast<std::size_t>(n);
            written_ += n;
        }
    }
    return !failed_;
}

bool ReplacementFile::appendFrom(const ByteSource& source, std::int64_t offset, std::int64_t size)
{
    std::vector<std::uint8_t> buffer(1 << 20);
    while (!failed_ && size > 0) {
        const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(size, static_cast<std::int64_t>(buffer.size())));
        const std::size_t got = source.read(offset, std::span(buffer.data(), wanted));
        if (got == 0) {
            failed_ = true;
            break;
        }
        append(std::span(buffer.data(), got));
        offset += static_cast<std::int64_t>(got);
        size -= static_cast<std::int64_t>(got);
    }
    return !failed_;
}

bool ReplacementFile::commit()
{
    if (!fd_.valid() || failed_ || committed_)
        return false;
    if (::fchmod(fd_.get(), originalStatus_.st_mode & 07777) != 0)
        return false;
    // Only root may give a file away; anyone else keeps the new file as theirs.
    if (::fchown(fd_.get(), originalStatus_.st_uid, originalStatus_.st_gid) != 0 && errno != EPERM)
        return false;
    // Write errors (a full disk) show up here at the latest.
    if (::fsync(fd_.get()) != 0 || ::close(fd_.release()) != 0)
        return false;
    if (::rename(path_.c_str(), target_.c_str()) != 0)
        return false;
    committed_ = true;
    FileDescriptor directory(::open(directoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid())
        ::fsync(directory.get());
    return true;
}

} // namespace vbmp3::media
