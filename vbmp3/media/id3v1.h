// The 128-byte ID3v1 (and v1.1) tag at the end of an MPEG file. Written here
// rather than through TagLib so the Latin-1 conversion and the year text are
// exactly ours.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vbmp3::media {

constexpr std::size_t id3v1Bytes = 128;
using Id3v1Block = std::array<std::uint8_t, id3v1Bytes>;

// Texts are UTF-8 here; the block holds Latin-1.
struct Id3v1Tag {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    int genre = 255;   // the byte; 255 means none
    int track = 0;     // ID3v1.1 track number, 0 for none
};

std::optional<Id3v1Tag> parseId3v1(const Id3v1Block& block);

enum class Id3v1Field { Title, Artist, Album, Year, Comment };

// Replaces one text of a block, leaving every other byte as it is. A new
// comment keeps to 28 bytes with a zero after it, and the track byte stays
// only where the block carried a track number.
void setId3v1Text(Id3v1Block& block, Id3v1Field field, const std::string& utf8);
// Genre -1 (none) is stored as 255.
void setId3v1Genre(Id3v1Block& block, int genre);

} // namespace vbmp3::media
