// An ID3v2 tag (versions 2.2, 2.3 and 2.4) as a list of frames kept byte for
// byte. Tag writing changes the frames of the fields the user changed and
// nothing else, so every other frame keeps its content, flags and text
// encoding, and the tag keeps its version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vbmp3::media {

using Bytes = std::vector<std::uint8_t>;

struct Id3v2Frame {
    std::string id;                  // "TIT2" (2.3, 2.4) or "TT2" (2.2)
    std::uint8_t statusFlags = 0;    // 2.3 and 2.4 only
    std::uint8_t formatFlags = 0;    // compression, encryption, unsynchronisation, ...
    Bytes payload;                   // as stored, under the format flags

    // The payload holds plain frame content: not compressed, encrypted or
    // unsynchronised, so its text can be read.
    bool plain(int version) const;
};

struct Id3v2Tag {
    int version = 4;                 // 2, 3 or 4
    int revision = 0;
    std::uint8_t flags = 0;          // header flags
    std::vector<Id3v2Frame> frames;
    // What follows the last frame that reads, up to the padding: damage that
    // readers stop at. It is kept as it is, after the frames.
    Bytes unreadable;
    std::int64_t size = 0;           // bytes the tag took in the file, header to padding or footer

    bool hasFooter() const { return version == 4 && (flags & 0x10) != 0; }
    // The first frame with this id, or null.
    Id3v2Frame* find(const std::string& id);
    void remove(const std::string& id);
    // Gives frame new plain content, stored as this tag stores frames (a 2.4
    // tag marked as unsynchronised has every frame unsynchronised).
    void setContent(Id3v2Frame& frame, Bytes content) const;
};

// The header at the start of bytes: the whole tag's size, or nothing.
std::optional<std::int64_t> id3v2Size(std::span<const std::uint8_t> header);

// The tag at the start of bytes, which must hold all of it; nothing when it
// is not one or cannot be read (a compressed 2.2 tag, an extended header
// running past the tag).
std::optional<Id3v2Tag> parseId3v2(std::span<const std::uint8_t> bytes);

// The tag in its own version. Padding fills it to at least minimumSize
// unless it has a footer (2.4 allows no padding then). Whole-tag
// unsynchronisation of 2.2 and 2.3 and the extended header are dropped; the
// frames are stored plainly instead.
Bytes renderId3v2(const Id3v2Tag& tag, std::int64_t minimumSize);

// Unsynchronisation: a zero after every 0xFF that could be taken for a sync.
Bytes unsynchronised(std::span<const std::uint8_t> bytes);

} // namespace vbmp3::media
