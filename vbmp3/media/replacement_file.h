// A new version of a file, written beside it under a temporary name and
// renamed over it at the end. Whoever has the old file open keeps reading
// the old bytes; a failure at any step leaves the old file untouched, and
// the temporary file never outlives this object unless it was committed.
#pragma once

#include "file_access.h"

#include <span>
#include <string>

namespace vbmp3::media {

class ReplacementFile {
public:
    // Starts empty; check valid(). The new file gets original's permissions.
    ReplacementFile(const std::string& target, const ByteSource& original);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile();

    bool valid() const { return fd_.valid(); }
    const std::string& path() const { return path_; }
    int descriptor() const { return fd_.get(); }

    // Add to the end of the new file; false (and the file stays invalid for
    // commit) when a write fails.
    bool append(std::span<const std::uint8_t> bytes);
    bool appendFrom(const ByteSource& source, std::int64_t offset, std::int64_t size);

    // Gives the new file the old one's permission bits (and owner, where
    // allowed), flushes it to disk and renames it over the target.
    bool commit();

private:
    std::string target_;
    std::string path_;
    struct stat originalStatus_ {};
    FileDescriptor fd_;
    std::int64_t written_ = 0;
    bool failed_ = false;
    bool committed_ = false;
};

} // namespace vbmp3::media
