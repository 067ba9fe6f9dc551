#include "playback/SeekControl.h"

#include "app/PlayerState.h"
#include "app/WindowSteps.h"
#include "playback/PlayTimer.h"
#include "playback/SeekSteps.h"
#include "playback/TimeText.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QMouseEvent>

#include <algorithm>

namespace nuvo {

SeekControl::SeekControl(const AreaContext& context, PlaybackState& own, PlayTimer& timer, QObject* parent)
    : QObject(parent), context_(context), own_(own), timer_(timer)
{
    context_.ui.Image2->installEventFilter(this);
}

bool SeekControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == context_.ui.Image2) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: // the second press of a quick pair
            image2MouseDown(*static_cast<QMouseEvent*>(event));
            break;
        case QEvent::MouseMove:
            image2MouseMove(*static_cast<QMouseEvent*>(event));
            break;
        case QEvent::MouseButtonRelease:
            image2MouseUp(*static_cast<QMouseEvent*>(event));
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool SeekControl::decoderRunning() const
{
    int32_t position = 0;
    return own_.trackOpen() && context_.decoder.getState(&position) != 0;
}

int SeekControl::targetAt(int x) const
{
    return seekTargetAt(own_.trackSeconds, context_.ui.Image2->width(), x);
}

void SeekControl::paintAt(int x)
{
    context_.ui.Image2->showFilled(x, context_.state.options.colours.progress);
    context_.ui.StatusPanel2->setText(formatTime(own_.elapsedSeconds, own_.trackSeconds));
}

void SeekControl::image2MouseDown(const QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton || !decoderRunning())
        return;
    timer_.holdForSeek();
    const int x = qRound(event.position().x());
    own_.elapsedSeconds = targetAt(x);
    paintAt(x);
    own_.seekDragging = true;
}

void SeekControl::image2MouseMove(const QMouseEvent& event)
{
    if (!own_.seekDragging || !(event.buttons() & Qt::LeftButton) || !decoderRunning())
        return;
    // Beyond either end the bar's end is the target.
    const int x = std::clamp(qRound(event.position().x()), 0, context_.ui.Image2->width());
    own_.elapsedSeconds = targetAt(x);
    paintAt(x);
}

void SeekControl::image2MouseUp(const QMouseEvent& event)
{
    if (!own_.seekDragging || event.button() != Qt::LeftButton)
        return;
    own_.seekDragging = false;
    finishSeek();
}

void SeekControl::keySeekBack()
{
    keyStep(seekStepBack(own_.elapsedSeconds, own_.trackSeconds, context_.state.options.seekDivisor));
}

void SeekControl::keySeekForward()
{
    keyStep(seekStepForward(own_.elapsedSeconds, own_.trackSeconds, context_.state.options.seekDivisor));
}

void SeekControl::keyStep(int target)
{
    if (!decoderRunning())
        return;
    timer_.holdForSeek();
    own_.elapsedSeconds = target;
    timer_.showProgress();
    context_.ui.StatusPanel2->setText(formatTime(own_.elapsedSeconds, own_.trackSeconds));
    keySeekPending_ = true;
}

void SeekControl::keySeekRelease()
{
    if (!keySeekPending_)
        return;
    keySeekPending_ = false;
    finishSeek();
}

void SeekControl::seekTo(int seconds)
{
    keyStep(std::clamp(seconds, 0, own_.trackSeconds));
    keySeekRelease();
}

void SeekControl::finishSeek()
{
    // A track that ended while the seek was held is not sought, but the
    // timer still comes back so that its end is handled.
    if (decoderRunning()) {
        context_.decoder.seek(own_.elapsedSeconds);
        context_.steps.announceSeeked();
    }
    timer_.resumeAfterSeek();
}

} // namespace nuvo
