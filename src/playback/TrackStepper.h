// Moves the current entry: one step back or forward, to a given or a random
// entry, and the choice of the next entry after a track could not be opened.
#pragma once

#include "app/WindowSteps.h"

namespace Ui {
class Form1;
}

namespace nuvo {

class Availability;
class PlaylistModel;
class RandomGenerator;

// What the choice of the next track asks of the player.
enum class NextChoice {
    Moved,        // the current entry moved: try to start it
    CloseIfOpen,  // no other entry: close the player if a track is open
    Close,        // no other entry: show the closed state
};

class TrackStepper {
public:
    TrackStepper(Ui::Form1& ui, PlaylistModel& playlist, RandomGenerator& random, Availability& availability);

    void moveTo(int index);
    // One entry back or forward; with updateNavigation the navigation pairs follow.
    void stepBack(bool updateNavigation);
    void stepForward(bool updateNavigation);
    void moveToRandomEntry();
    NextChoice chooseNextTrack(Direction direction);

private:
    Ui::Form1& ui_;
    PlaylistModel& playlist_;
    RandomGenerator& random_;
    Availability& availability_;
};

} // namespace nuvo
