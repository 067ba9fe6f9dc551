// The player's one window. It owns the widgets, the decoder binding and the
// state of a run; the handlers of each area live in that area's folder
// (playback/, playlist/, ...), the lifecycle and availability rules in app/.
#pragma once

#include "vbmp3_api.h"
#include "playback/RandomIndex.h"

#include <QColor>
#include <QMainWindow>
#include <QStringList>

#include <array>
#include <memory>

class QLabel;
class QListWidget;
class QTimer;

namespace Ui {
class Form1;
}

namespace nuvo {

class DecoderLibrary;
class PlaylistDelegate;
class PlaylistModel;
struct Settings;
struct SettingsDefaults;

// The decoder as the window receives it: a table of entry points and,
// when it came from libvbmp3.so, the library that has to stay loaded.
struct DecoderBinding {
    DecoderApi api;
    std::unique_ptr<DecoderLibrary> library;
    bool loaded = false;

    DecoderBinding();
    DecoderBinding(DecoderBinding&&) noexcept;
    DecoderBinding& operator=(DecoderBinding&&) noexcept;
    ~DecoderBinding();
};

struct StartupContext {
    QString programDirectory;   // where Nuvo.ini and the auto-saved lists lie
    QStringList arguments;      // the command line, without the program name
    QString currentDirectory;   // relative arguments are taken from here
};

// Items of the option list that carry an option (the others are headers).
enum class Option {
    Single = 1,
    All = 2,
    Random = 3,
    Slow = 5,
    HighSpeed = 7,
    SaveSize = 9,
    PlayedColor = 11,
    ProgressColor = 12,
    TabsAtBottom = 14,
    AutoStart = 16,
    ClearListToOpen = 17,
};

// Lines of the engine list that carry a check box.
enum class EngineLine { BufferOptions = 0, DecodeOptions = 6 };

// Pages of the page control.
inline constexpr int kFileListPage = 0;
inline constexpr int kTagEditPage = 1;

// Which way to look for another track after one could not be opened.
enum class Direction { Automatic = 0, Backward = 1, Forward = 2 };

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(DecoderBinding decoder, StartupContext context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // State a test or the tray reads.
    int currentIndex() const;
    int playState() const { return playState_; }
    bool trackOpen() const { return playState_ != -1; }
    const QString& applicationTitle() const { return applicationTitle_; }
    QString statusText(int panel) const;
    bool isOptionChecked(Option option) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // --- construction (app/MainWindow.cpp)
    void buildToolBar();
    void buildStatusBar();
    void buildPlaylistView();
    void connectActions();
    void setStatusText(int panel, const QString& text);

    // --- lifecycle (app/Lifecycle.cpp)
    void formCreate();
    void formShow();
    void formActivate();
    void formResize();
    void formClose();
    SettingsDefaults settingsDefaults() const;
    void applyStartSettings(const Settings& settings);
    Settings collectSettings() const;
    int volumeFromLabel() const;
    QString programFile(const char* name) const;
    // Shows a message box for a file that could not be written.
    void reportWriteFailure(const QString& error);

    // --- option and engine lists (app/Options.cpp)
    void setOptionChecked(Option option, bool checked);
    bool isEngineLineChecked(EngineLine line) const;
    void setEngineLineChecked(EngineLine line, bool checked);
    void setEngineLineEnabled(EngineLine line, bool enabled);
    void markHeaders();
    void showColorItem(Option option, const QString& colorText);
    void setPreColor(const QString& text);
    void setProColor(const QString& text);
    void setTabsAtBottom(bool bottom);
    void applyBufferOptions(const BufferOptions& options);
    void applyDecodeOptions(const DecodeOptions& options);
    void onOffExecute();
    void applyEqualizer();

    // --- command availability (app/Availability.cpp)
    void refreshAfterAdd(bool bound);
    void refreshAfterRemove();
    void refreshSelectionCommands();
    void applyNavigationRule();
    void applyInitialAvailability();
    enum class NextAtEnd { Disable, Keep };
    void enableCommandsForEntries(NextAtEnd nextAtEnd);
    void setListWideCommandsEnabled(bool enabled);
    void setSeveralEntriesCommandsEnabled(bool enabled);
    void setListFileCommandsEnabled(bool enabled);

    // --- playback control (playback/PlayControl.cpp)
    void playExecute();
    void pauseExecute();
    void stopExecute();
    void previousExecute();
    void nextExecute();
    void listBox1DblClick();
    bool startCurrentTrack();
    void startWithFallThrough(Direction direction);
    bool chooseNextTrack(Direction direction);
    bool closePlayer();
    void resetToClosed();
    void closeOpenTrack();
    void showTrackClosed();
    void playAgain();
    void followMove(Direction direction);
    void moveCurrent(int index);
    // One entry back or forward; with updateNavigation the navigation pairs follow.
    void stepBack(bool updateNavigation);
    void stepForward(bool updateNavigation);
    void moveToRandomEntry();
    void selectCurrentWhenNothingSelected();
    void focusPageControlOnTagPage();
    void setPauseCommand(bool enabled, const QString& caption);
    void setStopCommand(bool enabled, const QString& caption);
    void setTitles(const QString& title);
    void sendVolume();

    // --- play timer and progress (playback/PlayTimer.cpp)
    void timer1Timer();
    void showProgress();
    void clearProgress();
    void replay();
    void showStoppedAtEnd();

    // --- playlist steps (playlist/PlaylistSteps.cpp)
    void showCount();
    void markListChanged();
    void bindListFile(const QString& path);
    void loadSavedPlaylist();
    void takeCommandLine();
    bool hasSelection() const;
    int focusedIndex() const;
    void setFocusedIndex(int index);

    std::unique_ptr<Ui::Form1> ui_;
    DecoderBinding decoder_;
    StartupContext context_;

    PlaylistModel* playlist_ = nullptr;
    PlaylistDelegate* playlistDelegate_ = nullptr;
    QTimer* timer1_ = nullptr;
    std::array<QLabel*, 4> statusPanels_{};

    // Play state: the open track's file type, -1 when none is open.
    int playState_ = -1;
    OpenRecord openRecord_{};
    int trackSeconds_ = 0;
    int elapsedSeconds_ = 0;
    int volumeLeft_ = 100;
    int volumeRight_ = 100;
    QString applicationTitle_;
    RandomGenerator random_;

    // The list file the playlist is bound to.
    QString openedListPath_;
    bool listOpened_ = false;
    bool listChanged_ = false;

    // Option values kept beside the option list.
    QString preColor_;
    QString proColor_;
    QColor progressColor_;
    int seekDivisor_ = 50;
    int equalizerKeyStep_ = 1;
    std::array<int32_t, VBMP3_EQUALIZER_BANDS> equalizerTable_{};

    bool firstShowDone_ = false;
    bool activationChecked_ = false;
    bool closeDone_ = false;
};

} // namespace nuvo
