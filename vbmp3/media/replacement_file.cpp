#include "replacement_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace vbmp3::media {

ReplacementFile::ReplacementFile(const std::string& target, ByteSource& original)
    : target_(target), originalStatus_(original.status())
{
    std::string pattern = directoryOf(target) + "/.nuvo-tag-XXXXXX";
    FileDescriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!fd.valid())
        return;
    path_ = pattern;
    fd_ = std::move(fd);
    if (!copyFrom(original))
        fd_ = FileDescriptor();
}

ReplacementFile::~ReplacementFile()
{
    if (!committed_ && !path_.empty())
        ::unlink(path_.c_str());
}

bool ReplacementFile::copyFrom(ByteSource& original)
{
    std::vector<std::uint8_t> buffer(1 << 20);
    std::int64_t offset = 0;
    while (offset < original.size()) {
        const std::size_t got = original.read(offset, buffer);
        if (got == 0)
            return false;
        std::size_t written = 0;
        while (written < got) {
            const ssize_t n = ::pwrite(fd_.get(), buffer.data() + written, got - written,
                                       static_cast<off_t>(offset + static_cast<std::int64_t>(written)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            written += static_cast<std::size_t>(n);
        }
        offset += static_cast<std::int64_t>(got);
    }
    return true;
}

bool ReplacementFile::commit()
{
    if (!fd_.valid() || committed_)
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
