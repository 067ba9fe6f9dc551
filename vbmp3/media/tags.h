// Tags as the library passes them: UTF-8 texts and a genre number, read
// from ID3v2 (preferred) and ID3v1 around MPEG audio, or from the ID3v2
// chunk (preferred) and the RIFF INFO list of a WAV file.
#pragma once

#include "file_access.h"
#include "probe.h"
#include "vbmp3.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace TagLib {
class FileStream;
}

namespace vbmp3::media {

struct TagFields {
    std::string title;
    std::string artist;
    std::vector<std::string> artists;  // the artist frame's values one by one
    std::string album;
    std::string year;
    std::string comment;
    int genre = -1;            // genre table number, -1 for none
    std::string genreText;     // the genre as the tag wrote it, when that is not the table's name of genre

    bool empty() const;
};

// The tag of a file; probe is null for a file of no known kind, which is
// still searched for ID3 tags.
TagFields readTags(ByteSource& source, const Probe* probe);

void fillRecord(const TagFields& fields, TagRecord& record);

// The fields of a record as a caller passed it: every field read within its
// bounds, texts made valid UTF-8, a genre outside the table taken as none.
TagFields fieldsOfRecord(const TagRecord& record);

// TagLib reports problems of damaged files on standard error; the library
// must print nothing, so they go nowhere.
void silenceTagLib();

// A read-only TagLib stream on the file behind source; null when none.
std::unique_ptr<TagLib::FileStream> openTagLibStream(const ByteSource& source);

} // namespace vbmp3::media
