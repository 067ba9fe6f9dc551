#include "playback/Playback.h"

#include "app/Availability.h"
#include "app/Options.h"
#include "app/PlayerState.h"
#include "playback/FileType.h"
#include "playback/TimeText.h"
#include "playlist/ListSelection.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistListView.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QFile>
#include <QKeyEvent>

#include <cstring>

namespace nuvo {

namespace {

QString titleOf(const OpenRecord& record)
{
    return QString::fromUtf8(record.title, static_cast<qsizetype>(strnlen(record.title, sizeof record.title)));
}

} // namespace

Playback::Playback(const AreaContext& context, PlaybackState& own, QObject* parent)
    : QObject(parent),
      context_(context),
      own_(own),
      stepper_(context.ui, context.playlist, context.random, context.availability),
      timer_(context, own, stepper_, this),
      seek_(context, own, timer_),
      volume_(context, own)
{
    Ui::Form1& ui = context_.ui;
    connect(ui.Play, &QAction::triggered, this, &Playback::playExecute);
    connect(ui.Pause, &QAction::triggered, this, &Playback::pauseExecute);
    connect(ui.Stop, &QAction::triggered, this, &Playback::stopExecute);
    connect(ui.Previous, &QAction::triggered, this, &Playback::previousExecute);
    connect(ui.Next, &QAction::triggered, this, &Playback::nextExecute);
    connect(ui.ListBox1, &QAbstractItemView::doubleClicked, this, &Playback::listBox1DblClick);
    connect(ui.ListBox1, &PlaylistListView::emptyAreaDoubleClicked, this, &Playback::listBox1DblClick);
    ui.ListBox1->installEventFilter(this);
}

bool Playback::eventFilter(QObject* watched, QEvent* event)
{
    // ListBox1KeyDown: Enter plays the selection as a double click does.
    if (watched == context_.ui.ListBox1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && hasSelection(*context_.ui.ListBox1)) {
            listBox1DblClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void Playback::listBox1DblClick()
{
    playExecute();
    context_.ui.PageControl1->setFocus();
}

void Playback::playExecute()
{
    PlaylistModel& playlist = context_.playlist;
    if (playlist.isEmpty())
        return;
    if (hasSelection(*context_.ui.ListBox1)) {
        const int item = focusedIndex(*context_.ui.ListBox1);
        if (own_.trackOpen()) {
            if (item == playlist.currentIndex()) {
                playAgain();
                return;
            }
            context_.decoder.close();
        } else {
            volume_.send();
        }
        stepper_.moveTo(item);
    } else if (own_.trackOpen()) {
        playAgain();
        return;
    } else {
        volume_.send();
    }
    startWithFallThrough(Direction::Automatic);
}

void Playback::playAgain()
{
    int32_t position = 0;
    if (context_.decoder.getState(&position) != 0) {
        context_.decoder.stop();
        timer_.resetProgress();
    }
    context_.decoder.play();
    context_.ui.StatusPanel0->setText(QStringLiteral(" Play"));
    context_.availability.applyPlayEvent(PlayEvent::Restarted);
    timer_.start();
}

void Playback::pauseExecute()
{
    if (!own_.trackOpen())
        return;
    int32_t position = 0;
    if (context_.decoder.getState(&position) == 1) {
        timer_.stop();
        context_.decoder.pause();
        context_.ui.StatusPanel0->setText(QStringLiteral(" Pause"));
        context_.availability.applyPlayEvent(PlayEvent::Paused);
    } else if (context_.decoder.getState(&position) == 2) {
        context_.decoder.restart();
        context_.ui.StatusPanel0->setText(QStringLiteral(" Play"));
        context_.availability.applyPlayEvent(PlayEvent::Resumed);
        timer_.start();
    }
}

void Playback::stopExecute()
{
    if (!own_.trackOpen())
        return;
    int32_t position = 0;
    if (context_.decoder.getState(&position) == 0) {
        closeOpenTrack();
        return;
    }
    timer_.stop();
    context_.decoder.stop();
    context_.ui.StatusPanel0->setText(QStringLiteral(" Stop"));
    timer_.resetProgress();
    context_.ui.StatusPanel2->setText(formatTime(0, own_.trackSeconds));
    context_.availability.applyPlayEvent(PlayEvent::Stopped);
}

void Playback::previousExecute()
{
    stepExecute(Direction::Backward);
}

void Playback::nextExecute()
{
    stepExecute(Direction::Forward);
}

// One entry back or forward in list order, round the end only with All,
// and the open track follows.
void Playback::stepExecute(Direction direction)
{
    const PlaylistModel& playlist = context_.playlist;
    const bool all = isOptionChecked(context_.ui, Option::All);
    const bool backward = direction == Direction::Backward;
    if (playlist.count() < 2)
        return;
    if (playlist.currentIndex() != (backward ? 0 : playlist.lastIndex())) {
        if (backward)
            stepper_.stepBack(!all);
        else
            stepper_.stepForward(!all);
    } else if (all) {
        stepper_.moveTo(backward ? playlist.lastIndex() : 0);
    } else {
        return;
    }
    followMove(direction);
}

// After Previous or Next moved the current entry: a playing or paused track
// is followed by the new one, a stopped one is closed.
void Playback::followMove(Direction direction)
{
    if (own_.trackOpen()) {
        int32_t position = 0;
        if (context_.decoder.getState(&position) != 0) {
            context_.decoder.close();
            startWithFallThrough(direction);
            return;
        }
        context_.decoder.close();
        own_.playState = -1;
        selectCurrentWhenNothingSelected();
        showTrackClosed();
        return;
    }
    selectCurrentWhenNothingSelected();
    focusPageControlOnTagPage();
}

bool Playback::startCurrentTrack()
{
    const PlaylistModel& playlist = context_.playlist;
    const int current = playlist.currentIndex();
    if (current < 0 || current >= playlist.count())
        return false;
    const QString& path = playlist.path(current);
    const QByteArray nativePath = QFile::encodeName(path);
    if (!context_.decoder.open(nativePath.constData(), &own_.openRecord))
        return false;

    selectCurrentWhenNothingSelected();
    context_.ui.Label2->setText(QString::number(current + 1));
    own_.playState = context_.decoder.getFileType(nativePath.constData());
    const QString title = titleOf(own_.openRecord);
    setTitles(hasTag(own_.playState) && !title.isEmpty() ? title : fileNamePart(path));

    own_.trackSeconds = own_.openRecord.seconds;
    timer_.resetProgress();
    context_.ui.StatusPanel2->setText(formatTime(0, own_.trackSeconds));

    context_.decoder.play();
    context_.ui.StatusPanel0->setText(QStringLiteral(" Play"));
    context_.availability.applyPlayEvent(PlayEvent::Started);
    context_.ui.StatusPanel1->setText(formatBitRate(context_.decoder.getPlayBitRate()));
    if (!isOptionChecked(context_.ui, Option::All)) {
        context_.availability.enablePrevious(current != 0);
        context_.availability.enableNext(current != playlist.lastIndex());
    }
    focusPageControlOnTagPage();
    timer_.start();
    return true;
}

void Playback::startWithFallThrough(Direction direction)
{
    // One try per entry at most: a list of files that all fail ends closed.
    for (int tries = 0;;) {
        if (startCurrentTrack())
            return;
        switch (stepper_.chooseNextTrack(direction)) {
        case NextChoice::Moved:
            break;
        case NextChoice::CloseIfOpen:
            if (own_.trackOpen())
                resetToClosed();
            return;
        case NextChoice::Close:
            resetToClosed();
            return;
        }
        if (++tries >= context_.playlist.count()) {
            resetToClosed();
            return;
        }
    }
}

void Playback::resetToClosed()
{
    timer_.stop();
    own_.playState = -1;
    showClosedPanels();
    timer_.resetProgress();
    context_.ui.Label2->setText(QString::number(context_.playlist.currentIndex() + 1));
    context_.availability.applyPlayEvent(PlayEvent::Reset);
}

void Playback::openTrackTagWritten(const QString& title)
{
    const QString& path = context_.playlist.path(context_.playlist.currentIndex());
    const int fileType = context_.decoder.getFileType(QFile::encodeName(path).constData());
    // The track stays open whatever the file reads like now; -1 would say it was closed.
    if (fileType == -1)
        return;
    own_.playState = fileType;
    if (hasTag(fileType))
        setTitles(title.isEmpty() ? fileNamePart(path) : title);
}

void Playback::releaseCurrentTrack()
{
    timer_.stop();
    context_.decoder.close();
    own_.playState = -1;
}

void Playback::resetClosedDisplay()
{
    showClosedPanels();
    timer_.resetProgress();
    context_.ui.Label2->setText(QStringLiteral("0"));
    context_.steps.showCount();
    context_.availability.applyPlayEvent(PlayEvent::Reset);
}

void Playback::closeOpenTrack()
{
    context_.decoder.close();
    own_.playState = -1;
    showTrackClosed();
}

void Playback::showTrackClosed()
{
    showClosedPanels();
    context_.ui.Label2->setText(QStringLiteral("0"));
    context_.availability.applyPlayEvent(PlayEvent::TrackClosed);
    focusPageControlOnTagPage();
}

void Playback::showClosedPanels()
{
    context_.ui.StatusPanel0->setText(QStringLiteral(" Close"));
    context_.ui.StatusPanel1->clear();
    context_.ui.StatusPanel2->clear();
    setTitles(QStringLiteral("Nuvo"));
}

void Playback::selectCurrentWhenNothingSelected()
{
    if (!hasSelection(*context_.ui.ListBox1))
        context_.steps.focusEntry(context_.playlist.currentIndex());
}

void Playback::focusPageControlOnTagPage()
{
    refreshTagViewOnTagPage(context_.ui, context_.steps);
}

void Playback::setTitles(const QString& title)
{
    context_.window.setWindowTitle(title);
    own_.applicationTitle = title;
    context_.steps.announcePlayerChange();
    if (context_.state.tray.trayIconShown)
        context_.steps.updateTrayTip();
}

void Playback::showInitialState()
{
    context_.ui.StatusPanel0->setText(QStringLiteral(" Close"));
}

void Playback::closeAtExit()
{
    timer_.stop();
    if (own_.trackOpen())
        context_.decoder.close();
    own_.playState = -1;
}

} // namespace nuvo
