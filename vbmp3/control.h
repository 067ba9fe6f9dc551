// State shared by the entry points and the play thread, guarded by one mutex.
#pragma once

#include "decoder.h"
#include "equalizer.h"
#include "signal_chain.h"
#include "vbmp3.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace vbmp3 {

enum class PlayState { Closed, Stopped, Playing, Paused, Ended };

// The open file. The decoder is used by the play thread only; the rest is
// fixed when the file is opened.
struct Track {
    std::string path;
    std::unique_ptr<Decoder> decoder;
    ChainConfig chain;
    StreamFormat output;
    std::int64_t length = 0;  // source frames
    TagRecord tag{};
    MpegRecord info{};
    bool hasInfo = false;
};

struct Control {
    std::mutex mutex;
    std::condition_variable wake;
    std::uint64_t changes = 0;  // counts every command, so the play thread notices them
    bool quit = false;

    PlayState state = PlayState::Closed;
    std::shared_ptr<Track> track;
    // Audio made before the last jump (play, seek, pause, resume, reload,
    // stop, open, close) carries an older generation and is thrown away.
    std::atomic<std::uint64_t> generation{0};
    std::optional<std::int64_t> startFrom;  // source frame the play thread goes to next
    std::int64_t anchor = 0;                // source frame where the current segment starts
    std::int64_t pausedAt = 0;              // source frame heard when paused
    bool allHanded = false;                 // the segment's audio is all with the device
    // The track ended while the device still held its last moment; close,
    // open and play since then carry on after it instead of cutting it off.
    bool continuing = false;

    BufferOptions buffers{};
    int volumeLeft = 100;
    int volumeRight = 100;
    std::optional<EqualizerGains> equalizer;
    std::uint64_t equalizerVersion = 0;

    std::atomic<int> bitRate{0};
};

} // namespace vbmp3
