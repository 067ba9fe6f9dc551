// The volume: Label1 shows it, VolumeLeft and VolumeRight hold it for the
// decoder; the tray's "Up" and "Down", the wheel and the keys change it.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"
#include "playback/VolumeSteps.h"

#include <QObject>
#include <QPalette>

namespace nuvo {

struct PlaybackState;

class VolumeControl : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    VolumeControl(const AreaContext& context, PlaybackState& own, QObject* parent = nullptr);

    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;
    // The restored label becomes the volume in force (first show).
    void applyRestored();
    void send();

    // Shared by the wheel, the keys and the tray menu.
    void changeVolume(VolumeDirection direction, int step);
    // A volume asked for from outside the window, taken as one step there.
    void setVolume(int volume);
    void volumeUpExecute();
    void volumeDownExecute();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void label1MouseEnter();
    void label1MouseLeave();
    void setLabelColor(QPalette::ColorRole systemColor);

    AreaContext context_;
    PlaybackState& own_;
};

} // namespace nuvo
