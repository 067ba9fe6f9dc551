#include "app/Lifecycle.h"

#include "app/Dialogs.h"
#include "app/IniFile.h"
#include "app/MprisPlayer.h"
#include "app/MainWindow.h"
#include "app/OptionPage.h"
#include "app/PlayerState.h"
#include "app/ProgramFiles.h"
#include "app/Settings.h"
#include "app/TextFile.h"
#include "app/TrayHotKey.h"
#include "app/Availability.h"
#include "equalizer/EqualizerPage.h"
#include "equalizer/Presets.h"
#include "playback/DecoderLibrary.h"
#include "playback/EnginePage.h"
#include "playback/Playback.h"
#include "playback/RandomIndex.h"
#include "playlist/Favourites.h"
#include "playlist/ListAdding.h"
#include "playlist/ListFiles.h"
#include "playlist/ListSearch.h"
#include "playlist/PlaylistModel.h"
#include "playlist/PlaylistView.h"
#include "tag/TagPage.h"
#include "ui_MainWindow.h"

#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace nuvo {

Lifecycle::Lifecycle(const AreaContext& context, DecoderBinding& decoder, const StartupContext& startup,
                     const LifecycleAreas& areas, QObject* parent)
    : QObject(parent),
      context_(context),
      decoder_(decoder),
      startup_(startup),
      areas_(areas),
      // In the order the first show reads the file: restoring the equalizer
      // switch already talks to the decoder.
      settingsOwners_{&areas.playlistView, &areas.trayHotKey, &areas.listSearch, &areas.listFiles, &areas.equalizer,
                      &areas.presets,      &areas.options,    &areas.playback.volume(), &areas.engine}
{
}

QString Lifecycle::programFile(const char* name) const
{
    return QDir(startup_.programDirectory).filePath(QString::fromLatin1(name));
}

SettingsDefaults Lifecycle::settingsDefaults() const
{
    const QMainWindow& window = context_.window;
    SettingsDefaults defaults;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(kDesignClientWidth, kDesignClientHeight);
    const QSize outer = window.frameGeometry().size();
    defaults.left = screenSize.width() / 2 - outer.width() / 2;
    defaults.top = screenSize.height() / 2 - outer.height() / 2;
    defaults.preColor = areas_.options.defaultColorText(Option::PlayedColor);
    defaults.proColor = areas_.options.defaultColorText(Option::ProgressColor);
    return defaults;
}

void Lifecycle::formCreate()
{
    if (!decoder_.loaded)
        return;
    context_.decoder.init();
    // The volume lives in the decoder's signal chain: no system mixer is read or restored.
    areas_.trayHotKey.installMinimizeHandler();

    const Settings settings = Settings::read(IniFile::load(programFile(kSettingsFile)), settingsDefaults());
    context_.window.move(settings.left, settings.top);
    context_.window.resize(settings.width, settings.height);
    areas_.trayHotKey.registerHotKey(settings.hotKey);
}

void Lifecycle::windowShown()
{
    if (!firstShowDone_) {
        firstShowDone_ = true;
        formShow();
    }
    // Some platforms never activate a window (offscreen, no window manager):
    // the missing-library check must not depend on it.
    if (!decoder_.loaded)
        QTimer::singleShot(0, this, &Lifecycle::formActivate);
}

void Lifecycle::windowActivated()
{
    formActivate();
}

void Lifecycle::formActivate()
{
    // Once closed the decoder is gone on purpose: that is no missing library.
    if (decoder_.loaded || activationChecked_ || closeDone_)
        return;
    activationChecked_ = true;
    dialogs().showError(&context_.window, QStringLiteral("VBMP3.DLL Not Found"));
    context_.window.close();
}

void Lifecycle::formShow()
{
    if (!decoder_.loaded)
        return;
    areas_.playback.showInitialState();
    areas_.tagPage.prepare();
    areas_.playlistView.restoreSavedList(programFile(kPlaylistFile));
    areas_.presets.restoreNames(programFile(kPresetNamesFile));

    const Settings settings = Settings::read(IniFile::load(programFile(kSettingsFile)), settingsDefaults());
    applyStartSettings(settings);

    areas_.engine.applyRestored(settings);
    areas_.playback.volume().applyRestored();
    areas_.options.applyTabPosition();
    areas_.options.markHeaders();
    areas_.engine.markHeaders();
    areas_.equalizer.excludeDecoderSetting();
    areas_.presets.showRestoredPreset();
    areas_.options.applySpeedOptions();
    context_.random.seed(static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch()));
    if (isOptionChecked(context_.ui, Option::PlayedColor))
        areas_.options.showColorItem(Option::PlayedColor);
    areas_.playback.timer().resetProgress();
    if (isOptionChecked(context_.ui, Option::ProgressColor))
        areas_.options.showColorItem(Option::ProgressColor);
    areas_.favourites.buildMenus();

    areas_.listFiles.showRestoredBinding();
    areas_.listAdding.takeCommandLine(startup_.arguments, startup_.currentDirectory);
    areas_.playlistView.showCount();
    context_.availability.showVolumeLimits(context_.state.playback.volumeLeft);
    context_.availability.applyInitialAvailability();
    // The desktop's media controls see the player once it is as it was left.
    areas_.mpris.start();
}

void Lifecycle::applyStartSettings(const Settings& s)
{
    for (SettingsOwner* owner : settingsOwners_)
        owner->restore(s);
}

Settings Lifecycle::collectSettings() const
{
    const QMainWindow& window = context_.window;
    Settings s;
    s.left = window.frameGeometry().x();
    s.top = window.frameGeometry().y();
    const bool saveSize = isOptionChecked(context_.ui, Option::SaveSize);
    s.width = saveSize ? window.width() : kDesignClientWidth;
    s.height = saveSize ? window.height() : kDesignClientHeight;
    for (const SettingsOwner* owner : settingsOwners_)
        owner->collect(s);
    return s;
}

void Lifecycle::windowClosing()
{
    if (closeDone_)
        return;
    closeDone_ = true;
    // A dialog still open (a signal came while it was shown) must not keep the close waiting.
    dialogs().cancelOpenDialog();
    formClose();
}

void Lifecycle::formClose()
{
    if (!decoder_.loaded)
        return;
    areas_.playback.timer().stop();
    // Every file is attempted before anything is said about one that failed.
    QStringList failures;
    QString error;
    const QString settingsPath = programFile(kSettingsFile);
    IniFile ini = IniFile::load(settingsPath);
    collectSettings().write(ini);
    if (!ini.save(settingsPath, &error))
        failures << error;
    if (!writeTextLines(programFile(kPlaylistFile), context_.playlist.paths(), &error))
        failures << error;
    if (!writeTextLines(programFile(kPresetNamesFile), areas_.presets.names(), &error))
        failures << error;

    areas_.playback.closeAtExit();
    // The library's play thread and sound device are shut down before its
    // code is unloaded; unloading a library with a running thread would crash.
    context_.decoder.free();
    decoder_.library.reset();
    decoder_.api = DecoderApi{};
    decoder_.loaded = false;
    areas_.trayHotKey.removeTrayIcon();
    areas_.trayHotKey.unregisterHotKey();
    reportWriteFailures(failures);
}

void Lifecycle::reportWriteFailures(const QStringList& failures)
{
    if (failures.isEmpty())
        return;
    // Nobody may be there to answer a message at the end of a session.
    if (closeRequest_ == CloseRequest::Session) {
        for (const QString& failure : failures)
            std::fprintf(stderr, "nuvo: %s\n", qPrintable(failure));
        return;
    }
    dialogs().showError(&context_.window, failures.join(QLatin1Char('\n')));
}

} // namespace nuvo
