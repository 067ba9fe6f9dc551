#include "app/Availability.h"

#include "app/Options.h"
#include "app/PlayerState.h"
#include "app/WindowSteps.h"
#include "playlist/ListSelection.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

namespace nuvo {

namespace {

void setMenuEnabled(QMenu* menu, bool enabled)
{
    menu->setEnabled(enabled);
    menu->menuAction()->setEnabled(enabled);
}

} // namespace

Availability::Availability(Ui::Form1& ui, const PlaylistModel& playlist, const PlayerState& state,
                           WindowSteps& steps, QObject* parent)
    : QObject(parent), ui_(ui), playlist_(playlist), state_(state), steps_(steps)
{
}

bool Availability::allChecked() const
{
    return isOptionChecked(ui_, Option::All);
}

void Availability::setListWideCommandsEnabled(bool enabled)
{
    ui_.Edit2->setEnabled(enabled);
    setMenuEnabled(ui_.SaveList1, enabled);
    ui_.SaveList->setEnabled(enabled);
    ui_.SaveListR->setEnabled(enabled);
    ui_.Clear->setEnabled(enabled);
    ui_.SweepIvld->setEnabled(enabled);
    ui_.Play->setEnabled(enabled);
}

void Availability::setSeveralEntriesCommandsEnabled(bool enabled)
{
    setMenuEnabled(ui_.Sort1, enabled);
    ui_.Sort->setEnabled(enabled);
    ui_.SortD->setEnabled(enabled);
    ui_.Shuffle->setEnabled(enabled);
    setMenuEnabled(ui_.RemoveDuplicate1, enabled);
    ui_.DuplicateP->setEnabled(enabled);
    ui_.DuplicateN->setEnabled(enabled);
}

void Availability::setListFileCommandsEnabled(bool enabled)
{
    setMenuEnabled(ui_.SaveList2, enabled);
    ui_.UpDateC->setEnabled(enabled);
    // The relative form is M3U's; an ".m3u8" is an M3U known to be UTF-8, as the player writes it.
    const QString extension = upperExtension(state_.list.openedListPath);
    ui_.UpDateR->setEnabled(enabled && (extension == QLatin1String(".M3U") || extension == QLatin1String(".M3U8")));
}

void Availability::enableSearchButton(bool enabled)
{
    ui_.Button1->setEnabled(enabled);
}

void Availability::applyNavigationRule()
{
    const int count = playlist_.count();
    const int current = playlist_.currentIndex();
    if (allChecked() && count >= 2) {
        enablePrevious(true);
        enableNext(true);
        return;
    }
    enablePrevious(current > 0);
    enableNext(current < count - 1);
}

void Availability::enablePrevious(bool enabled)
{
    ui_.Previous->setEnabled(enabled);
}

void Availability::enableNext(bool enabled)
{
    ui_.Next->setEnabled(enabled);
}

void Availability::refreshAfterAdd(bool bound)
{
    if (playlist_.isEmpty())
        return;
    if (!bound)
        steps_.markListChanged();
    enableCommandsForEntries(NextAtEnd::Disable);
}

void Availability::refreshAfterRemove()
{
    if (playlist_.count() >= 2) {
        if (!allChecked())
            applyNavigationRule();
        return;
    }
    enablePrevious(false);
    enableNext(false);
    setSeveralEntriesCommandsEnabled(false);
    if (playlist_.isEmpty()) {
        setListWideCommandsEnabled(false);
        ui_.Button1->setEnabled(false);
        ui_.PageControl1->setFocus();
    }
}

void Availability::refreshSelectionCommands()
{
    if (!hasSelection(*ui_.ListBox1)) {
        ui_.Delete->setEnabled(false);
        ui_.ClearS->setEnabled(false);
        ui_.Up->setEnabled(false);
        ui_.Down->setEnabled(false);
        return;
    }
    const int focused = focusedIndex(*ui_.ListBox1);
    ui_.Delete->setEnabled(true);
    ui_.ClearS->setEnabled(true);
    ui_.Up->setEnabled(focused > 0);
    ui_.Down->setEnabled(focused >= 0 && focused < playlist_.count() - 1);
}

void Availability::applyPlayEvent(PlayEvent event)
{
    switch (event) {
    case PlayEvent::Started:
        ui_.OpenSearch->setEnabled(true);
        ui_.TabSheet4->setEnabled(false);
        [[fallthrough]];
    case PlayEvent::Restarted:
        setPauseCommand(true, QStringLiteral("Pause"));
        setStopCommand(true, QStringLiteral("Stop"));
        break;
    case PlayEvent::Paused:
        ui_.Pause->setText(QStringLiteral("Resume"));
        break;
    case PlayEvent::Resumed:
        ui_.Pause->setText(QStringLiteral("Pause"));
        break;
    case PlayEvent::Stopped:
        ui_.Stop->setText(QStringLiteral("Close"));
        setPauseCommand(false, QStringLiteral("Pause"));
        break;
    case PlayEvent::Ended:
        ui_.Pause->setEnabled(false);
        ui_.Stop->setText(QStringLiteral("Close"));
        break;
    case PlayEvent::TrackClosed:
        setTrackCommandsEnabled(false);
        setStopCommand(false, QStringLiteral("Stop"));
        break;
    case PlayEvent::Reset:
        setTrackCommandsEnabled(false);
        setPauseCommand(false, QStringLiteral("Pause"));
        setStopCommand(false, QStringLiteral("Stop"));
        break;
    }
}

void Availability::setTrackCommandsEnabled(bool trackOpen)
{
    // The engine settings can change only while no track is open.
    ui_.TabSheet4->setEnabled(!trackOpen);
    ui_.OpenSearch->setEnabled(trackOpen);
}

void Availability::setPauseCommand(bool enabled, const QString& caption)
{
    ui_.Pause->setEnabled(enabled);
    ui_.Pause->setText(caption);
}

void Availability::setStopCommand(bool enabled, const QString& caption)
{
    ui_.Stop->setEnabled(enabled);
    ui_.Stop->setText(caption);
}

void Availability::showVolumeLimits(int volume)
{
    ui_.VolumeUp->setEnabled(volume != 100);
    ui_.VolumeDown->setEnabled(volume != 0);
}

void Availability::applyInitialAvailability()
{
    if (playlist_.isEmpty())
        return;
    if (playlist_.currentIndex() != 0)
        steps_.focusEntry(playlist_.currentIndex());
    // The next pair is disabled by design, so the first show never disables it.
    enableCommandsForEntries(NextAtEnd::Keep);
}

void Availability::enableCommandsForEntries(NextAtEnd nextAtEnd)
{
    setListWideCommandsEnabled(true);
    ui_.Button1->setEnabled(!ui_.Edit2->text().isEmpty());
    if (playlist_.count() < 2)
        return;
    setSeveralEntriesCommandsEnabled(true);
    if (allChecked()) {
        enablePrevious(true);
        enableNext(true);
        return;
    }
    if (playlist_.currentIndex() > 0)
        enablePrevious(true);
    const bool nextFollows = playlist_.currentIndex() < playlist_.lastIndex();
    if (nextFollows || nextAtEnd == NextAtEnd::Disable)
        enableNext(nextFollows);
}

} // namespace nuvo
