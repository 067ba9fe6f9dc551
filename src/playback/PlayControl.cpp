// Play, Pause/Resume, Stop/Close, Previous and Next, and the routines that
// open a track, fall through to another one and close the player.
#include "app/MainWindow.h"

#include "playback/FileType.h"
#include "playback/TimeText.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QFile>
#include <QTimer>

#include <cstring>

namespace nuvo {

namespace {

QString titleOf(const OpenRecord& record)
{
    return QString::fromUtf8(record.title, static_cast<qsizetype>(strnlen(record.title, sizeof record.title)));
}

} // namespace

void MainWindow::listBox1DblClick()
{
    playExecute();
    ui_->PageControl1->setFocus();
}

void MainWindow::playExecute()
{
    if (playlist_->isEmpty())
        return;
    if (hasSelection()) {
        const int item = focusedIndex();
        if (trackOpen()) {
            if (item == playlist_->currentIndex()) {
                playAgain();
                return;
            }
            decoder_.api.close();
        } else {
            sendVolume();
        }
        moveCurrent(item);
    } else if (trackOpen()) {
        playAgain();
        return;
    } else {
        sendVolume();
    }
    startWithFallThrough(Direction::Automatic);
}

void MainWindow::playAgain()
{
    int32_t position = 0;
    if (decoder_.api.getState(&position) != 0) {
        decoder_.api.stop();
        elapsedSeconds_ = 0;
        clearProgress();
    }
    decoder_.api.play();
    setStatusText(0, QStringLiteral(" Play"));
    setPauseCommand(true, QStringLiteral("Pause"));
    setStopCommand(true, QStringLiteral("Stop"));
    timer1_->start();
}

void MainWindow::pauseExecute()
{
    if (!trackOpen())
        return;
    int32_t position = 0;
    if (decoder_.api.getState(&position) == 1) {
        timer1_->stop();
        decoder_.api.pause();
        setStatusText(0, QStringLiteral(" Pause"));
        ui_->Pause->setText(QStringLiteral("Resume"));
    } else if (decoder_.api.getState(&position) == 2) {
        decoder_.api.restart();
        setStatusText(0, QStringLiteral(" Play"));
        ui_->Pause->setText(QStringLiteral("Pause"));
        timer1_->start();
    }
}

void MainWindow::stopExecute()
{
    if (!trackOpen())
        return;
    int32_t position = 0;
    if (decoder_.api.getState(&position) == 0) {
        closeOpenTrack();
        return;
    }
    timer1_->stop();
    decoder_.api.stop();
    setStatusText(0, QStringLiteral(" Stop"));
    elapsedSeconds_ = 0;
    clearProgress();
    setStatusText(2, formatTime(0, trackSeconds_));
    ui_->Stop->setText(QStringLiteral("Close"));
    setPauseCommand(false, QStringLiteral("Pause"));
}

void MainWindow::previousExecute()
{
    if (playlist_->count() < 2)
        return;
    if (playlist_->currentIndex() > 0)
        stepBack(!isOptionChecked(Option::All));
    else if (isOptionChecked(Option::All))
        moveCurrent(playlist_->lastIndex());
    else
        return;
    followMove(Direction::Backward);
}

void MainWindow::nextExecute()
{
    if (playlist_->count() < 2)
        return;
    if (playlist_->currentIndex() < playlist_->lastIndex())
        stepForward(!isOptionChecked(Option::All));
    else if (isOptionChecked(Option::All))
        moveCurrent(0);
    else
        return;
    followMove(Direction::Forward);
}

// After Previous or Next moved the current entry: a playing or paused track
// is followed by the new one, a stopped one is closed.
void MainWindow::followMove(Direction direction)
{
    if (trackOpen()) {
        int32_t position = 0;
        if (decoder_.api.getState(&position) != 0) {
            decoder_.api.close();
            startWithFallThrough(direction);
            return;
        }
        decoder_.api.close();
        playState_ = -1;
        selectCurrentWhenNothingSelected();
        showTrackClosed();
        return;
    }
    selectCurrentWhenNothingSelected();
    focusPageControlOnTagPage();
}

bool MainWindow::startCurrentTrack()
{
    const int current = playlist_->currentIndex();
    if (current < 0 || current >= playlist_->count())
        return false;
    const QString& path = playlist_->path(current);
    const QByteArray nativePath = QFile::encodeName(path);
    if (!decoder_.api.open(nativePath.constData(), &openRecord_))
        return false;

    if (!hasSelection())
        setFocusedIndex(current);
    ui_->Label2->setText(QString::number(current + 1));
    playState_ = decoder_.api.getFileType(nativePath.constData());
    const QString title = titleOf(openRecord_);
    setTitles(hasTag(playState_) && !title.isEmpty() ? title : fileNamePart(path));

    trackSeconds_ = openRecord_.seconds;
    elapsedSeconds_ = 0;
    clearProgress();
    setStatusText(2, formatTime(0, trackSeconds_));

    decoder_.api.play();
    setStatusText(0, QStringLiteral(" Play"));
    ui_->OpenSearch->setEnabled(true);
    setStatusText(1, formatBitRate(decoder_.api.getPlayBitRate()));

    ui_->TabSheet4->setEnabled(false);
    setPauseCommand(true, QStringLiteral("Pause"));
    setStopCommand(true, QStringLiteral("Stop"));
    if (!isOptionChecked(Option::All)) {
        ui_->Previous->setEnabled(current != 0);
        ui_->Next->setEnabled(current != playlist_->lastIndex());
    }
    focusPageControlOnTagPage();
    timer1_->start();
    return true;
}

void MainWindow::startWithFallThrough(Direction direction)
{
    // One try per entry at most: a list of files that all fail ends closed.
    for (int tries = 0;;) {
        if (startCurrentTrack())
            return;
        if (!chooseNextTrack(direction))
            return;
        if (++tries >= playlist_->count()) {
            resetToClosed();
            return;
        }
    }
}

bool MainWindow::closePlayer()
{
    if (trackOpen())
        resetToClosed();
    return false;
}

bool MainWindow::chooseNextTrack(Direction direction)
{
    const int current = playlist_->currentIndex();
    const int last = playlist_->lastIndex();
    const bool all = isOptionChecked(Option::All);
    const bool twoOrMore = playlist_->count() >= 2;

    if (isOptionChecked(Option::Single))
        return closePlayer();

    if (isOptionChecked(Option::Random)) {
        if (!twoOrMore)
            return closePlayer();
        if (direction == Direction::Automatic) {
            moveToRandomEntry();
            return true;
        }
        // Previous and Next keep to list order, and stop at its ends.
        const bool backward = direction == Direction::Backward;
        if (current == (backward ? 0 : last)) {
            resetToClosed();
            return false;
        }
        if (backward)
            stepBack(true);
        else
            stepForward(true);
        return true;
    }

    if (direction != Direction::Backward) {
        if (current < last) {
            stepForward(!all);
            return true;
        }
        if (all && twoOrMore) {
            moveCurrent(0);
            return true;
        }
        return closePlayer();
    }

    if (current > 0) {
        stepBack(!all);
        return true;
    }
    if (all && twoOrMore) {
        moveCurrent(last);
        return true;
    }
    resetToClosed();
    return false;
}

void MainWindow::resetToClosed()
{
    timer1_->stop();
    playState_ = -1;
    setStatusText(0, QStringLiteral(" Close"));
    setStatusText(1, QString());
    setStatusText(2, QString());
    setTitles(QStringLiteral("Nuvo"));
    elapsedSeconds_ = 0;
    clearProgress();
    ui_->Label2->setText(QString::number(playlist_->currentIndex() + 1));
    ui_->TabSheet4->setEnabled(true);
    ui_->OpenSearch->setEnabled(false);
    setPauseCommand(false, QStringLiteral("Pause"));
    setStopCommand(false, QStringLiteral("Stop"));
}

void MainWindow::closeOpenTrack()
{
    decoder_.api.close();
    playState_ = -1;
    showTrackClosed();
}

void MainWindow::showTrackClosed()
{
    setStatusText(0, QStringLiteral(" Close"));
    setStatusText(1, QString());
    setStatusText(2, QString());
    setTitles(QStringLiteral("Nuvo"));
    ui_->Label2->setText(QStringLiteral("0"));
    ui_->TabSheet4->setEnabled(true);
    setStopCommand(false, QStringLiteral("Stop"));
    ui_->OpenSearch->setEnabled(false);
    focusPageControlOnTagPage();
}

void MainWindow::setPauseCommand(bool enabled, const QString& caption)
{
    ui_->Pause->setEnabled(enabled);
    ui_->Pause->setText(caption);
}

void MainWindow::setStopCommand(bool enabled, const QString& caption)
{
    ui_->Stop->setEnabled(enabled);
    ui_->Stop->setText(caption);
}

void MainWindow::moveCurrent(int index)
{
    playlist_->setCurrentIndex(index);
}

void MainWindow::stepBack(bool updateNavigation)
{
    moveCurrent(playlist_->currentIndex() - 1);
    if (!updateNavigation)
        return;
    if (playlist_->currentIndex() == 0)
        ui_->Previous->setEnabled(false);
    ui_->Next->setEnabled(true);
}

void MainWindow::stepForward(bool updateNavigation)
{
    moveCurrent(playlist_->currentIndex() + 1);
    if (!updateNavigation)
        return;
    ui_->Previous->setEnabled(true);
    if (playlist_->currentIndex() == playlist_->lastIndex())
        ui_->Next->setEnabled(false);
}

void MainWindow::moveToRandomEntry()
{
    moveCurrent(random_.index(playlist_->count()));
    ui_->Previous->setEnabled(playlist_->currentIndex() > 0);
    ui_->Next->setEnabled(playlist_->currentIndex() < playlist_->lastIndex());
}

void MainWindow::selectCurrentWhenNothingSelected()
{
    if (!hasSelection())
        setFocusedIndex(playlist_->currentIndex());
}

void MainWindow::focusPageControlOnTagPage()
{
    // The tag view follows the current track once the tag page exists;
    // the keys keep working because the page control keeps the focus.
    if (ui_->PageControl1->currentIndex() == kTagEditPage && !ui_->PageControl1->hasFocus())
        ui_->PageControl1->setFocus();
}

void MainWindow::setTitles(const QString& title)
{
    setWindowTitle(title);
    applicationTitle_ = title;
}

void MainWindow::sendVolume()
{
    decoder_.api.setVolume(volumeLeft_, volumeRight_);
}

} // namespace nuvo
