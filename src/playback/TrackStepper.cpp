#include "playback/TrackStepper.h"

#include "app/Availability.h"
#include "app/Options.h"
#include "playback/RandomIndex.h"
#include "playlist/PlaylistModel.h"

namespace nuvo {

TrackStepper::TrackStepper(Ui::Form1& ui, PlaylistModel& playlist, RandomGenerator& random,
                           Availability& availability)
    : ui_(ui), playlist_(playlist), random_(random), availability_(availability)
{
}

void TrackStepper::moveTo(int index)
{
    playlist_.setCurrentIndex(index);
}

void TrackStepper::stepBack(bool updateNavigation)
{
    moveTo(playlist_.currentIndex() - 1);
    if (!updateNavigation)
        return;
    if (playlist_.currentIndex() == 0)
        availability_.enablePrevious(false);
    availability_.enableNext(true);
}

void TrackStepper::stepForward(bool updateNavigation)
{
    moveTo(playlist_.currentIndex() + 1);
    if (!updateNavigation)
        return;
    availability_.enablePrevious(true);
    if (playlist_.currentIndex() == playlist_.lastIndex())
        availability_.enableNext(false);
}

void TrackStepper::moveToRandomEntry()
{
    moveTo(random_.index(playlist_.count()));
    availability_.enablePrevious(playlist_.currentIndex() > 0);
    availability_.enableNext(playlist_.currentIndex() < playlist_.lastIndex());
}

NextChoice TrackStepper::chooseNextTrack(Direction direction)
{
    const int current = playlist_.currentIndex();
    const int last = playlist_.lastIndex();
    const bool all = isOptionChecked(ui_, Option::All);
    const bool twoOrMore = playlist_.count() >= 2;

    if (isOptionChecked(ui_, Option::Single))
        return NextChoice::CloseIfOpen;

    if (isOptionChecked(ui_, Option::Random)) {
        if (!twoOrMore)
            return NextChoice::CloseIfOpen;
        if (direction == Direction::Automatic) {
            moveToRandomEntry();
            return NextChoice::Moved;
        }
        // Previous and Next keep to list order, and stop at its ends.
        const bool backward = direction == Direction::Backward;
        if (current == (backward ? 0 : last))
            return NextChoice::Close;
        if (backward)
            stepBack(true);
        else
            stepForward(true);
        return NextChoice::Moved;
    }

    if (direction != Direction::Backward) {
        if (current < last) {
            stepForward(!all);
            return NextChoice::Moved;
        }
        if (all && twoOrMore) {
            moveTo(0);
            return NextChoice::Moved;
        }
        return NextChoice::CloseIfOpen;
    }

    if (current > 0) {
        stepBack(!all);
        return NextChoice::Moved;
    }
    if (all && twoOrMore) {
        moveTo(last);
        return NextChoice::Moved;
    }
    return NextChoice::Close;
}

} // namespace nuvo
