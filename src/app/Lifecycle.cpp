// Start-up, first show, activation, resizing and close of the main window.
#include "app/MainWindow.h"

#include "app/ColorText.h"
#include "app/IniFile.h"
#include "app/ProgramFiles.h"
#include "app/Settings.h"
#include "app/TextFile.h"
#include "playback/DecoderLibrary.h"
#include "playback/TimeText.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistDelegate.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace nuvo {

namespace {

int colorRefOf(const QColor& color)
{
    return colorRefFromRgb(color.red(), color.green(), color.blue());
}

} // namespace

QString MainWindow::programFile(const char* name) const
{
    return QDir(context_.programDirectory).filePath(QString::fromLatin1(name));
}

SettingsDefaults MainWindow::settingsDefaults() const
{
    SettingsDefaults defaults;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(kDesignClientWidth, kDesignClientHeight);
    const QSize outer = frameGeometry().size();
    defaults.left = screenSize.width() / 2 - outer.width() / 2;
    defaults.top = screenSize.height() / 2 - outer.height() / 2;
    defaults.preColor = QString::number(colorRefOf(palette().color(QPalette::Link)));
    defaults.proColor = QString::number(colorRefOf(palette().color(QPalette::Highlight)));
    return defaults;
}

void MainWindow::formCreate()
{
    if (!decoder_.loaded)
        return;
    decoder_.api.init();
    // The volume lives in the decoder's signal chain: no system mixer is read or restored.

    const Settings settings = Settings::read(IniFile::load(programFile(kSettingsFile)), settingsDefaults());
    move(settings.left, settings.top);
    resize(settings.width, settings.height);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!firstShowDone_) {
        firstShowDone_ = true;
        formShow();
    }
    // Some platforms never activate a window (offscreen, no window manager):
    // the missing-library check must not depend on it.
    if (!decoder_.loaded)
        QTimer::singleShot(0, this, &MainWindow::formActivate);
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        formActivate();
}

void MainWindow::formActivate()
{
    if (decoder_.loaded || activationChecked_)
        return;
    activationChecked_ = true;
    QMessageBox::critical(this, QStringLiteral("Nuvo"), QStringLiteral("VBMP3.DLL Not Found"));
    close();
}

void MainWindow::formShow()
{
    if (!decoder_.loaded)
        return;
    setStatusText(0, QStringLiteral(" Close"));
    ui_->ComboBox1->view()->setMinimumWidth(168);

    loadSavedPlaylist();
    const QString presetNames = programFile(kPresetNamesFile);
    if (QFileInfo::exists(presetNames)) {
        ui_->ComboBox2->clear();
        ui_->ComboBox2->addItems(readTextLines(presetNames));
    }

    const Settings settings = Settings::read(IniFile::load(programFile(kSettingsFile)), settingsDefaults());
    applyStartSettings(settings);

    if (isEngineLineChecked(EngineLine::BufferOptions))
        applyBufferOptions({settings.inFrame, settings.outFrame, settings.inSleep, settings.outSleep});
    if (isEngineLineChecked(EngineLine::DecodeOptions)) {
        applyDecodeOptions({settings.downSample, settings.channel, settings.outSample});
        ui_->CheckBox1->setEnabled(false);
    }
    volumeLeft_ = volumeRight_ = volumeFromLabel();
    setTabsAtBottom(isOptionChecked(Option::TabsAtBottom));
    markHeaders();
    if (ui_->CheckBox1->isChecked())
        setEngineLineEnabled(EngineLine::DecodeOptions, false);
    // The curve is drawn by the equalizer page; what the decoder needs is the table.
    applyEqualizer();
    if (isOptionChecked(Option::Slow))
        seekDivisor_ = 100;
    if (isOptionChecked(Option::HighSpeed))
        equalizerKeyStep_ = 5;
    random_.seed(static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch()));
    if (isOptionChecked(Option::PlayedColor))
        showColorItem(Option::PlayedColor, preColor_);
    elapsedSeconds_ = 0;
    clearProgress();
    if (isOptionChecked(Option::ProgressColor))
        showColorItem(Option::ProgressColor, proColor_);

    if (!openedListPath_.isEmpty()) {
        listOpened_ = true;
        setStatusText(3, QStringLiteral(" ") + fileNamePart(openedListPath_));
        if (listChanged_)
            setListFileCommandsEnabled(true);
    }
    takeCommandLine();
    showCount();
    ui_->VolumeUp->setEnabled(volumeLeft_ != 100);
    ui_->VolumeDown->setEnabled(volumeLeft_ != 0);
    applyInitialAvailability();
}

void MainWindow::applyStartSettings(const Settings& s)
{
    // A stored position outside the restored list would name no entry.
    playlist_->setCurrentIndex(s.ready >= 0 && s.ready < playlist_->count() ? s.ready : 0);
    ui_->Hotkey1->setChecked(s.hotKeyLocked);
    ui_->Edit3->setText(s.hotKey);
    ui_->Edit3->setEnabled(!s.hotKeyLocked);
    ui_->Edit2->setText(s.search);
    openedListPath_ = s.openedList;
    // Only a bound list can have changed.
    listChanged_ = s.listChanged && !s.openedList.isEmpty();
    if (s.equalizerEnabled) {
        ui_->CheckBox1->setChecked(true);
        onOffExecute();
    }
    ui_->ComboBox2->setCurrentIndex(s.presetItem >= -1 && s.presetItem < ui_->ComboBox2->count() ? s.presetItem : -1);

    setOptionChecked(Option::Single, s.single);
    setOptionChecked(Option::All, s.all);
    setOptionChecked(Option::Random, s.random);
    setOptionChecked(Option::Slow, s.slowSeek);
    setOptionChecked(Option::HighSpeed, s.highSpeedEqualizer);
    setOptionChecked(Option::SaveSize, s.saveSize);
    setOptionChecked(Option::PlayedColor, s.playedColor);
    setOptionChecked(Option::ProgressColor, s.progressColor);
    setOptionChecked(Option::TabsAtBottom, s.tabsAtBottom);
    setOptionChecked(Option::AutoStart, s.autoStart);
    setOptionChecked(Option::ClearListToOpen, s.clearListToOpen);
    setPreColor(s.preColor);
    setProColor(s.proColor);
    ui_->Label1->setText(s.volume);

    setEngineLineChecked(EngineLine::BufferOptions, s.bufferOptionsSet);
    setEngineLineChecked(EngineLine::DecodeOptions, s.decodeOptionsSet);
}

int MainWindow::volumeFromLabel() const
{
    bool ok = false;
    const int volume = ui_->Label1->text().trimmed().toInt(&ok);
    // A hand-edited value that is no number counts as full volume.
    return ok ? std::clamp(volume, 0, 100) : 100;
}

void MainWindow::formResize()
{
    if (!trackOpen()) {
        elapsedSeconds_ = 0;
        clearProgress();
        return;
    }
    int32_t position = 0;
    if (decoder_.api.getState(&position) != 0) {
        showProgress();
    } else {
        elapsedSeconds_ = 0;
        clearProgress();
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!closeDone_) {
        closeDone_ = true;
        formClose();
    }
    QMainWindow::closeEvent(event);
}

Settings MainWindow::collectSettings() const
{
    Settings s;
    s.left = frameGeometry().x();
    s.top = frameGeometry().y();
    const bool saveSize = isOptionChecked(Option::SaveSize);
    s.width = saveSize ? width() : kDesignClientWidth;
    s.height = saveSize ? height() : kDesignClientHeight;
    s.ready = playlist_->currentIndex();
    s.search = ui_->Edit2->text();
    s.openedList = openedListPath_;
    s.listChanged = listChanged_;
    s.equalizerEnabled = ui_->CheckBox1->isChecked();
    s.presetItem = ui_->ComboBox2->currentIndex();
    s.single = isOptionChecked(Option::Single);
    s.all = isOptionChecked(Option::All);
    s.random = isOptionChecked(Option::Random);
    s.slowSeek = isOptionChecked(Option::Slow);
    s.highSpeedEqualizer = isOptionChecked(Option::HighSpeed);
    s.saveSize = saveSize;
    s.playedColor = isOptionChecked(Option::PlayedColor);
    s.progressColor = isOptionChecked(Option::ProgressColor);
    s.tabsAtBottom = isOptionChecked(Option::TabsAtBottom);
    s.preColor = preColor_;
    s.proColor = proColor_;
    s.volume = ui_->Label1->text();
    s.bufferOptionsSet = isEngineLineChecked(EngineLine::BufferOptions);
    s.decodeOptionsSet = isEngineLineChecked(EngineLine::DecodeOptions);
    BufferOptions buffer{};
    decoder_.api.getVbmp3Option(&buffer);
    s.inFrame = buffer.inputFrames;
    s.outFrame = buffer.outputFrames;
    s.inSleep = buffer.inputSleepMs;
    s.outSleep = buffer.outputSleepMs;
    DecodeOptions decode{};
    decoder_.api.getDecodeOption(&decode);
    s.downSample = decode.downSampling;
    s.channel = decode.channels;
    s.outSample = decode.frequencyLimit;
    s.autoStart = isOptionChecked(Option::AutoStart);
    s.clearListToOpen = isOptionChecked(Option::ClearListToOpen);
    s.hotKeyLocked = ui_->Hotkey1->isChecked();
    s.hotKey = ui_->Edit3->text();
    return s;
}

void MainWindow::formClose()
{
    if (!decoder_.loaded)
        return;
    timer1_->stop();
    const QString settingsPath = programFile(kSettingsFile);
    IniFile ini = IniFile::load(settingsPath);
    collectSettings().write(ini);
    QString error;
    if (!ini.save(settingsPath, &error))
        reportWriteFailure(error);
    if (!writeTextLines(programFile(kPlaylistFile), playlist_->paths(), &error))
        reportWriteFailure(error);
    QStringList presetNames;
    for (int i = 0; i < ui_->ComboBox2->count(); ++i)
        presetNames << ui_->ComboBox2->itemText(i);
    if (!writeTextLines(programFile(kPresetNamesFile), presetNames, &error))
        reportWriteFailure(error);

    if (trackOpen())
        decoder_.api.close();
    // The library's play thread and sound device are shut down before its
    // code is unloaded; unloading a library with a running thread would crash.
    decoder_.api.free();
    decoder_.library.reset();
    decoder_.api = DecoderApi{};
    decoder_.loaded = false;
    playState_ = -1;
}

void MainWindow::reportWriteFailure(const QString& error)
{
    QMessageBox::critical(this, QStringLiteral("Nuvo"), error);
}

} // namespace nuvo
