// A new version of a file, written beside it under a temporary name and
// renamed over it at the end. Whoever has the old file open keeps reading
// the old bytes; a failure at any step leaves the old file untouched, and
// the temporary file never outlives this object unless it was committed.
#pragma once

#include "file_access.h"

#include <string>

namespace vbmp3::media {

class ReplacementFile {
public:
    // Starts with a copy of original's bytes; check valid().
    ReplacementFile(const std::string& target, ByteSource& original);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile();

    bool valid() const { return fd_.valid(); }
    const std::string& path() const { return path_; }
    int descriptor() const { return fd_.get(); }

    // Gives the new file the old one's permission bits (and owner, where
    // allowed), flushes it to disk and renames it over the target.
    bool commit();

private:
    bool copyFrom(ByteSource& original);

    std::string target_;
    std::string path_;
    struct stat originalStatus_ {};
    FileDescriptor fd_;
    bool committed_ = false;
};

} // namespace vbmp3::media
