// What the engine needs to know about a file without playing it: its kind,
// its tag and its stream information. Plain functions, safe to call from any
// thread; none of them keeps a file open after it returns.
#pragma once

#include "vbmp3.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vbmp3::media {

enum class Kind { Mpeg, Wav, RiffMpeg };

// Where the MPEG stream of a RIFF "RMP3" file lies.
struct ByteRange {
    std::int64_t offset = 0;
    std::int64_t size = 0;
};

// The kind of a readable, decodable file; nothing for anything else.
std::optional<Kind> detectKind(const std::string& path);

// The bits of vbmp3_getFileType (VBMP3_TYPE_*), or -1.
std::int32_t fileType(const std::string& path);

// The data chunk of an .rmp file; nothing when the file is not one.
std::optional<ByteRange> riffMpegData(const std::string& path);

// Fills tag (ID3v2 preferred over ID3v1; empty fields and genre -1 when the
// file has none). False only when the file cannot be read.
bool readTag(const std::string& path, TagRecord& tag);

// Fills both records for any readable, decodable file; false otherwise.
bool readFileInfo(const std::string& path, TagRecord& tag, MpegRecord& info);

// Writes title, artist, album, year, comment and genre, keeping ID3v1 and
// ID3v2 in step. On failure returns false and leaves the file as it was.
// A file that is open for playing keeps playing: the new file replaces the
// old one by rename, so a reader that holds the old one open is undisturbed.
bool writeTag(const std::string& path, const TagRecord& tag);

// Name of genre number index in the 256-entry genre table, "" outside it.
std::string_view genreName(int index);

// Copies src into a field of size bytes, zero-terminated, cut on a UTF-8
// character boundary.
void copyField(char* field, std::size_t size, std::string_view src);

} // namespace vbmp3::media
