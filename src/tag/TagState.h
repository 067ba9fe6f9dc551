// What the tag page remembers between its handlers: the records of the file
// the view shows, read together on every refresh, and the values last written.
#pragma once

#include "tag/TagFields.h"
#include "tag/TrackChoice.h"
#include "vbmp3.h"

#include <QString>

#include <optional>

namespace nuvo {

// The entry whose records the view read, and how it read them.
struct ShownTrack {
    TrackChoice choice;
    QString path;
};

struct TagState {
    TagRecord record{};
    MpegRecord mpeg{};
    // The shown file's type: the decoder's for its path, or the play state for the open track.
    int tagFileType = -1;
    QString shownFileName;
    // None while the view is empty: then nothing may be written or renamed.
    std::optional<ShownTrack> shown;
    // Lives for the run; not saved.
    TagMemo memo;
};

} // namespace nuvo
