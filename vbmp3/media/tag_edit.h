// What a tag write changes, and how each tag format takes the change: only
// the fields whose value the caller changed are touched.
#pragma once

#include "id3v1.h"
#include "id3v2_tag.h"
#include "tags.h"
#include "vbmp3.h"

#include <optional>
#include <string>

namespace vbmp3::media {

// The new values of the changed fields (texts valid UTF-8, genre -1..255).
struct TagChanges {
    std::optional<std::string> title;
    std::optional<std::string> artist;
    std::optional<std::string> album;
    std::optional<std::string> year;
    std::optional<std::string> comment;
    std::optional<int> genre;

    bool empty() const;
};

// The fields of wanted that differ from current, the record as the library
// reads the file now. A value longer than its record field is compared in
// the record's cut view of it, so passing back what was read changes nothing.
TagChanges changesBetween(const TagRecord& wanted, const TagRecord& current);

// current with the changes made.
TagFields withChanges(TagFields current, const TagChanges& changes);

// Changes the frames of the changed fields in the tag's own version and text
// encodings (an encoding that cannot hold the new text gives way to UTF-8 in
// 2.4, UTF-16 before); every other frame stays as it is.
void applyChanges(Id3v2Tag& tag, const TagChanges& changes);

// A new ID3v2.4 tag in UTF-8 with the non-empty fields and the track number
// (an ID3v1.1 one; 0 for none).
Id3v2Tag newId3v2Tag(const TagFields& fields, int track);

// Changes the fields of an ID3v1 block; the others, and a track number,
// stay byte for byte.
void applyChanges(Id3v1Block& block, const TagChanges& changes);

} // namespace vbmp3::media
