// Start-up, first show, activation and close of the main window, in their
// written order: each area restores what it owns from the settings and
// gives it back at close.
#pragma once

#include "app/AreaContext.h"

#include <QObject>
#include <QStringList>

#include <array>

namespace nuvo {

class EnginePage;
class EqualizerPage;
class Favourites;
class ListAdding;
class ListFiles;
class ListSearch;
class MprisPlayer;
class OptionPage;
class Playback;
class PlaylistView;
class SettingsOwner;
class Presets;
class TagPage;
class TrayHotKey;
struct DecoderBinding;
struct Settings;
struct SettingsDefaults;
struct StartupContext;

// The areas the start-up and the close go through.
struct LifecycleAreas {
    PlaylistView& playlistView;
    ListFiles& listFiles;
    ListAdding& listAdding;
    ListSearch& listSearch;
    Playback& playback;
    OptionPage& options;
    EnginePage& engine;
    EqualizerPage& equalizer;
    Presets& presets;
    TagPage& tagPage;
    TrayHotKey& trayHotKey;
    Favourites& favourites;
    MprisPlayer& mpris;
};

// Who asked the window to close: the user waits for a message, a signal or
// the end of the session does not.
enum class CloseRequest { User, Session };

class Lifecycle : public QObject {
    Q_OBJECT
public:
    Lifecycle(const AreaContext& context, DecoderBinding& decoder, const StartupContext& startup,
              const LifecycleAreas& areas, QObject* parent = nullptr);

    void formCreate();
    // The first show does its work once; later showings add nothing.
    void windowShown();
    void windowActivated();
    void windowClosing();
    void setCloseRequest(CloseRequest request) { closeRequest_ = request; }
    bool closed() const { return closeDone_; }

private:
    void formShow();
    void formActivate();
    void formClose();
    void applyStartSettings(const Settings& settings);
    Settings collectSettings() const;
    SettingsDefaults settingsDefaults() const;
    QString programFile(const char* name) const;
    void reportWriteFailures(const QStringList& failures);

    AreaContext context_;
    DecoderBinding& decoder_;
    const StartupContext& startup_;
    LifecycleAreas areas_;
    std::array<SettingsOwner*, 9> settingsOwners_;
    CloseRequest closeRequest_ = CloseRequest::User;
    bool firstShowDone_ = false;
    bool activationChecked_ = false;
    bool closeDone_ = false;
};

} // namespace nuvo
