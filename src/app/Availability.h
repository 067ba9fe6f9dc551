// Which commands can be used: the one place that enables and disables the
// command groups of the window (list-wide, several entries, navigation,
// selection, transport, list file, volume), from the playlist, its
// selection, the current entry, the play state and the list binding.
#pragma once

#include <QObject>

namespace Ui {
class Form1;
}

namespace nuvo {

class PlaylistModel;
class WindowSteps;
struct PlayerState;

// Events of the play-state table: what each does to the transport group.
enum class PlayEvent {
    Started,     // a track was opened and started
    Restarted,   // Play started the open track again
    Paused,
    Resumed,
    Stopped,     // Stop while playing or paused
    Ended,       // the last track ended and stays open
    TrackClosed, // the open track was closed
    Reset,       // the closed state after failed opens or a removed track
};

class Availability : public QObject {
    Q_OBJECT
public:
    Availability(Ui::Form1& ui, const PlaylistModel& playlist, const PlayerState& state, WindowSteps& steps,
                 QObject* parent = nullptr);

    void refreshAfterAdd(bool bound);
    void refreshAfterRemove();
    void refreshSelectionCommands();
    // Both navigation pairs by the rule, from the options and the current entry.
    void applyNavigationRule();
    void enablePrevious(bool enabled);
    void enableNext(bool enabled);
    void applyPlayEvent(PlayEvent event);
    void setListFileCommandsEnabled(bool enabled);
    // The user edited the search text: the button follows whether it is empty.
    void enableSearchButton(bool enabled);
    // "Up" unless the volume is 100, "Down" unless it is 0.
    void showVolumeLimits(int volume);
    // The state at the end of the first show.
    void applyInitialAvailability();

private:
    enum class NextAtEnd { Disable, Keep };
    void enableCommandsForEntries(NextAtEnd nextAtEnd);
    void setListWideCommandsEnabled(bool enabled);
    void setSeveralEntriesCommandsEnabled(bool enabled);
    void setPauseCommand(bool enabled, const QString& caption);
    void setStopCommand(bool enabled, const QString& caption);
    void setTrackCommandsEnabled(bool trackOpen);
    bool allChecked() const;

    Ui::Form1& ui_;
    const PlaylistModel& playlist_;
    const PlayerState& state_;
    WindowSteps& steps_;
};

} // namespace nuvo
