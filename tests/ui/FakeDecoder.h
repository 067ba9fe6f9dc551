// An in-process stand-in for the decoder library: the window under test
// drives it through the same table of entry points, the test sets what it
// answers ("this file opens", "the track ended now") and reads what it was
// asked.
#pragma once

#include "vbmp3_api.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace nuvo::test {

struct FakeTrack {
    std::string title;        // tag title handed back by open
    int seconds = 180;
    int fileType = 2;         // MPEG without tag
    int bitRate = 128;
    TagRecord tag{};          // what the tag calls report for this file
    MpegRecord mpeg{};
};

// One call of setTagInfo.
struct TagWrite {
    std::string path;
    TagRecord tag;
    int openedFile;
    int mode;
};

struct FakeDecoder {
    // What the fake knows: paths that open, everything else fails.
    std::map<std::string, FakeTrack> tracks;
    // The engine's state as getState reports it.
    int state = 0;
    int position = 0;
    std::string openPath;     // empty when nothing is open
    BufferOptions buffer{30, 20, 5, 0};
    DecodeOptions decode{0, 0, 24000};
    DecodeOptions decodeSent{};   // as last handed to setDecodeOption, before clamping
    int volumeLeft = -1;
    int volumeRight = -1;
    bool equalizerOn = false;
    std::array<int32_t, VBMP3_EQUALIZER_BANDS> equalizer{};   // the last table handed over

    // Every call, in order: "open /a.mp3", "play", "close", ...
    std::vector<std::string> calls;
    std::vector<TagWrite> tagWrites;
    // A written tag reads back (and the file then has the tag bit) unless this is set.
    bool tagWritesFail = false;

    // Fresh fake for each test.
    static FakeDecoder& reset();
    static FakeDecoder& instance();
    static DecoderApi api();

    int count(const std::string& call) const;
    // Calls since the given position in the log.
    std::vector<std::string> callsSince(std::size_t from) const;
    void endTrack() { state = 0; }
};

} // namespace nuvo::test
