// What every area of the window is built with: the shared window
// description, the decoder table, the playlist, the random generator, the
// whole state of the run to read, the shared steps and the availability
// rules. Each area also gets its own part of the state to write.
#pragma once

class QMainWindow;

namespace Ui {
class Form1;
}

namespace nuvo {

class Availability;
class PlaylistModel;
class RandomGenerator;
class WindowSteps;
struct DecoderApi;
struct PlayerState;

struct AreaContext {
    QMainWindow& window;
    Ui::Form1& ui;
    const DecoderApi& decoder;
    PlaylistModel& playlist;
    RandomGenerator& random;
    const PlayerState& state;
    WindowSteps& steps;
    Availability& availability;
};

} // namespace nuvo
