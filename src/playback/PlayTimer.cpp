// The 100 ms play timer: the position display while a track plays, and the
// move to the next track by the loop mode when it has ended.
#include "app/MainWindow.h"

#include "playback/TimeText.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace nuvo {

void MainWindow::timer1Timer()
{
    int32_t position = 0;
    if (decoder_.api.getState(&position) != 0) {
        elapsedSeconds_ = position;
        showProgress();
        setStatusText(2, formatTime(elapsedSeconds_, trackSeconds_));
        setStatusText(1, formatBitRate(decoder_.api.getPlayBitRate()));
        return;
    }

    // The track has ended.
    timer1_->stop();
    const int count = playlist_->count();
    const int current = playlist_->currentIndex();
    if (isOptionChecked(Option::Single)) {
        replay();
    } else if (isOptionChecked(Option::Random)) {
        if (count < 2) {
            replay();
            return;
        }
        decoder_.api.close();
        moveToRandomEntry();
        startWithFallThrough(Direction::Automatic);
    } else if (current < playlist_->lastIndex()) {
        decoder_.api.close();
        stepForward(!isOptionChecked(Option::All));
        startWithFallThrough(Direction::Automatic);
    } else if (isOptionChecked(Option::All)) {
        if (current == 0) {
            replay();
            return;
        }
        decoder_.api.close();
        moveCurrent(0);
        startWithFallThrough(Direction::Automatic);
    } else {
        showStoppedAtEnd();
    }
}

// The same track once more, without opening it again.
void MainWindow::replay()
{
    elapsedSeconds_ = 0;
    clearProgress();
    decoder_.api.play();
    timer1_->start();
}

// The last track of the list has ended: it stays open and stopped.
void MainWindow::showStoppedAtEnd()
{
    setStatusText(0, QStringLiteral(" Stop"));
    elapsedSeconds_ = 0;
    clearProgress();
    setStatusText(2, formatTime(0, trackSeconds_));
    setPauseCommand(false, ui_->Pause->text());
    ui_->Stop->setText(QStringLiteral("Close"));
}

void MainWindow::showProgress()
{
    const int width = ui_->Image2->width();
    int filled = 0;
    // A track of length 0 shows an empty bar rather than dividing by zero.
    if (trackSeconds_ > 0) {
        const long double share = static_cast<long double>(static_cast<float>(width)) / trackSeconds_;
        filled = static_cast<int>(std::clamp(std::trunc(share * elapsedSeconds_), 0.0L, static_cast<long double>(width)));
    }
    ui_->Image2->showFilled(filled, progressColor_);
}

void MainWindow::clearProgress()
{
    ui_->Image2->clear();
}

} // namespace nuvo
