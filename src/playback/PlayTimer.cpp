#include "playback/PlayTimer.h"

#include "app/Availability.h"
#include "app/Options.h"
#include "app/PlayerState.h"
#include "playback/TimeText.h"
#include "playback/TrackStepper.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace nuvo {

PlayTimer::PlayTimer(const AreaContext& context, PlaybackState& own, TrackStepper& stepper, QObject* parent)
    : QObject(parent), context_(context), own_(own), stepper_(stepper)
{
    // The window owns it, as it owns every object of its description.
    timer1_ = new QTimer(&context_.window);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, &PlayTimer::timer1Timer);
}

void PlayTimer::start()
{
    heldForSeek_ = false;
    timer1_->start();
}

void PlayTimer::stop()
{
    heldForSeek_ = false;
    timer1_->stop();
}

void PlayTimer::holdForSeek()
{
    timer1_->stop();
    heldForSeek_ = true;
}

void PlayTimer::resumeAfterSeek()
{
    const bool resume = heldForSeek_ && own_.trackOpen();
    heldForSeek_ = false;
    if (resume)
        timer1_->start();
}

void PlayTimer::timer1Timer()
{
    int32_t position = 0;
    if (context_.decoder.getState(&position) != 0) {
        own_.elapsedSeconds = position;
        showProgress();
        context_.ui.StatusPanel2->setText(formatTime(own_.elapsedSeconds, own_.trackSeconds));
        context_.ui.StatusPanel1->setText(formatBitRate(context_.decoder.getPlayBitRate()));
        return;
    }
    timer1_->stop();
    trackEnded();
}

// Plays the same track again, or the next one by the loop mode, or leaves
// the last one open and stopped.
void PlayTimer::trackEnded()
{
    const PlaylistModel& playlist = context_.playlist;
    const int count = playlist.count();
    const int current = playlist.currentIndex();
    const bool all = isOptionChecked(context_.ui, Option::All);
    if (isOptionChecked(context_.ui, Option::Single)) {
        replay();
    } else if (isOptionChecked(context_.ui, Option::Random)) {
        if (count < 2) {
            replay();
            return;
        }
        context_.decoder.close();
        stepper_.moveToRandomEntry();
        context_.steps.startWithFallThrough(Direction::Automatic);
    } else if (current < playlist.lastIndex()) {
        context_.decoder.close();
        stepper_.stepForward(!all);
        context_.steps.startWithFallThrough(Direction::Automatic);
    } else if (all) {
        if (current == 0) {
            replay();
            return;
        }
        context_.decoder.close();
        stepper_.moveTo(0);
        context_.steps.startWithFallThrough(Direction::Automatic);
    } else {
        showStoppedAtEnd();
    }
}

// The same track once more, without opening it again.
void PlayTimer::replay()
{
    resetProgress();
    context_.decoder.play();
    timer1_->start();
}

void PlayTimer::showStoppedAtEnd()
{
    context_.ui.StatusPanel0->setText(QStringLiteral(" Stop"));
    resetProgress();
    context_.ui.StatusPanel2->setText(formatTime(0, own_.trackSeconds));
    context_.availability.applyPlayEvent(PlayEvent::Ended);
}

void PlayTimer::showProgress()
{
    const int width = context_.ui.Image2->width();
    int filled = 0;
    // A track of length 0 shows an empty bar rather than dividing by zero.
    if (own_.trackSeconds > 0) {
        const long double share = static_cast<long double>(static_cast<float>(width)) / own_.trackSeconds;
        filled = static_cast<int>(
            std::clamp(std::trunc(share * own_.elapsedSeconds), 0.0L, static_cast<long double>(width)));
    }
    context_.ui.Image2->showFilled(filled, context_.state.options.colours.progress);
}

void PlayTimer::clearProgress()
{
    context_.ui.Image2->clear();
}

void PlayTimer::resetProgress()
{
    own_.elapsedSeconds = 0;
    clearProgress();
}

void PlayTimer::repaintProgress()
{
    int32_t position = 0;
    if (own_.trackOpen() && context_.decoder.getState(&position) != 0) {
        showProgress();
        return;
    }
    resetProgress();
}

} // namespace nuvo
