// The steps that several areas of the window call. The main window
// implements them by handing each to the area that owns it; calls stay
// direct and run in the order the caller writes them.
#pragma once

#include <QString>

namespace nuvo {

// Which way to look for another track after one could not be opened.
enum class Direction { Automatic = 0, Backward = 1, Forward = 2 };

class WindowSteps {
public:
    // Playback
    virtual void startWithFallThrough(Direction direction) = 0;
    virtual void resetToClosed() = 0;
    // After a tag write to the open track: its type is read again and the
    // captions follow the written title.
    virtual void openTrackTagWritten(const QString& title) = 0;
    // A list edit takes away the open track's entry: the track is closed
    // first, and once the list has changed the closed state is shown.
    virtual void releaseCurrentTrack() = 0;
    virtual void resetClosedDisplay() = 0;
    virtual void showProgress() = 0;
    virtual void clearProgress() = 0;

    // Playlist
    // Starts the first added entry (CurrentIndex names it; the list grew).
    virtual void playFirstAdded() = 0;
    virtual void showCount() = 0;
    // Moves the list's focus (not its selection) to an entry and shows it.
    virtual void focusEntry(int index) = 0;
    virtual void bindListFile(const QString& path) = 0;
    virtual void markListChanged() = 0;
    virtual void unbindListFile() = 0;
    // The list menu's ClearAll: closes the open track, empties the list and forgets a bound file.
    virtual void clearAll() = 0;
    // A list file just saved joins the favourite lists.
    virtual void addFavoriteList(const QString& path) = 0;

    // Command availability
    virtual void refreshAfterAdd(bool bound) = 0;
    virtual void refreshAfterRemove() = 0;
    virtual void refreshSelectionCommands() = 0;

    // Tag view, tray, equalizer and engine
    virtual void showTagInfo() = 0;
    virtual void updateTrayTip() = 0;
    virtual void applyEqualizer() = 0;
    // The equalizer and the user's output format exclude each other.
    virtual void setEqualizerSwitchEnabled(bool enabled) = 0;
    virtual void setDecoderSettingEnabled(bool enabled) = 0;

    // The desktop's media controls: something they show may have changed, or the position jumped.
    virtual void announcePlayerChange() = 0;
    virtual void announceSeeked() = 0;

    // True once the window has closed; a handler that ran a modal dialog
    // checks it before it goes on (a signal can close the window meanwhile).
    virtual bool windowClosed() const = 0;

protected:
    ~WindowSteps() = default;
};

} // namespace nuvo
