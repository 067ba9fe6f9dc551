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

// Mpeg: a bare MPEG audio stream (layers 1-3, MPEG 1, 2 and 2.5; free-format
// streams excepted), ID3 tags around it allowed. Wav: anything libsndfile
// reads as WAV (RIFF/RIFX, WAVE_FORMAT_EXTENSIBLE, RF64, Wave64) with at least
// one sample frame. RiffMpeg: MPEG audio in the data chunk of a RIFF "RMP3"
// file, or of a WAVE file whose format tag says MPEG.
enum class Kind { Mpeg, Wav, RiffMpeg };

// Where the MPEG stream of a RIFF "RMP3" file lies.
struct ByteRange {
    std::int64_t offset = 0;
    std::int64_t size = 0;
};

// The kind of a readable, decodable file; nothing for anything else (missing,
// not a regular file, empty, cut before its first whole frame, not audio).
// Decided by content: an MPEG stream counts only where several frame headers
// chain, so text or random bytes are never taken for one.
std::optional<Kind> detectKind(const std::string& path);

// The bits of vbmp3_getFileType (VBMP3_TYPE_*), or -1:
//   MPEG        2, + 16 with an ID3v1 or ID3v2 tag
//   WAV         4 + 64, + 16 when it carries a tag readTag reads (an ID3v2
//               chunk, or a RIFF INFO list with one of the fields)
//   RIFF MPEG   8 + 64 (tags inside the container are neither read nor written)
//   + 1 when writeTag would be refused for permissions: the file's owner
//   write bit is off (for root too, whom the kernel would let write), access()
//   refuses, the directory cannot take the replacement file, or it is sticky
//   and neither it nor the file belongs to this user.
std::int32_t fileType(const std::string& path);

// The data chunk of an .rmp file (or of a WAVE file holding MPEG); nothing
// when the file is not one. The range never reaches past the file's end.
std::optional<ByteRange> riffMpegData(const std::string& path);

// Fills tag (ID3v2 preferred over ID3v1, field by field; for WAV the ID3v2
// chunk over RIFF INFO; empty fields and genre -1 when the file has none).
// Several values of one frame are joined with "/" ("Alice/Bob"). The genre
// number comes from "(17)", "17", a table name or a common other spelling of
// one (the first value's, where there are several); genreName is the table's
// name for a number and a text as the file spells it, -1 as the number when
// it names no genre of the table. An ID3v1 genre byte of 255 means none.
// False only when the file cannot be read.
bool readTag(const std::string& path, TagRecord& tag);

// Fills both records for any readable, decodable file; false otherwise (and
// both records cleared). MPEG: the first audio frame's header; frames are the
// frames carrying audio, counted by walking every header (an encoder's
// Xing/Info/VBRI frame is not one); seconds from the samples, with LAME's
// encoder delay and padding taken off as a gapless decoder does; bitRate the
// average for VBR. WAV: version and layer 0, sample frames.
bool readFileInfo(const std::string& path, TagRecord& tag, MpegRecord& info);

// Writes the fields of record (title, artist, album, year, comment, genre)
// whose value differs from the record readTag gives for the file now, into
// ID3v2 and ID3v1 alike: the ID3v2 tag keeps its version (2.2, 2.3 or 2.4),
// every other frame and the text encodings; a changed text keeps its
// frame's encoding where that can hold it. A file without ID3v2 gets an
// ID3v2.4 tag in UTF-8 (genre as its number), one without ID3v1 an ID3v1 tag
// (Latin-1, 30-byte fields, other characters transliterated or '?', genre
// byte 255 for none); an ID3v1.1 track number is kept. Fields are read
// within their bounds, invalid UTF-8 is replaced, a genre outside 0..255
// means none. Only bare MPEG files are written (WAV and RIFF MPEG are
// refused), and only ID3v2 tags that read whole. On failure (also read-only
// as fileType's bit 1 says) returns false and leaves the file byte for byte
// as it was, with no temporary file behind; nothing to change is success.
// A file that is open for playing keeps playing: the new file replaces the
// old one by rename, so a reader that holds the old one open is undisturbed.
// A symbolic link is followed; a second hard link keeps the old content.
bool writeTag(const std::string& path, const TagRecord& tag);

// Name of genre number index in the 256-entry genre table, "" outside it.
std::string_view genreName(int index);

// Copies src into a field of size bytes, zero-terminated, cut on a UTF-8
// character boundary.
void copyField(char* field, std::size_t size, std::string_view src);

} // namespace vbmp3::media
