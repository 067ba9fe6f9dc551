#include "playback/VolumeControl.h"

#include "app/Availability.h"
#include "app/PlayerState.h"
#include "app/WindowSteps.h"
#include "app/Settings.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <algorithm>

namespace nuvo {

VolumeControl::VolumeControl(const AreaContext& context, PlaybackState& own, QObject* parent)
    : QObject(parent), context_(context), own_(own)
{
    Ui::Form1& ui = context_.ui;
    connect(ui.VolumeUp, &QAction::triggered, this, &VolumeControl::volumeUpExecute);
    connect(ui.VolumeDown, &QAction::triggered, this, &VolumeControl::volumeDownExecute);
    ui.Label1->installEventFilter(this);
}

void VolumeControl::restore(const Settings& s)
{
    context_.ui.Label1->setText(s.volume);
}

void VolumeControl::collect(Settings& s) const
{
    s.volume = context_.ui.Label1->text();
}

void VolumeControl::applyRestored()
{
    bool ok = false;
    const int volume = context_.ui.Label1->text().trimmed().toInt(&ok);
    // A hand-edited value that is no number counts as full volume.
    own_.volumeLeft = own_.volumeRight = ok ? std::clamp(volume, 0, kVolumeMaximum) : kVolumeMaximum;
    // The label shows the volume in force, and that is what the close writes back.
    context_.ui.Label1->setText(QString::number(own_.volumeLeft));
}

void VolumeControl::send()
{
    context_.decoder.setVolume(own_.volumeLeft, own_.volumeRight);
}

void VolumeControl::changeVolume(VolumeDirection direction, int step)
{
    const int limit = direction == VolumeDirection::Up ? kVolumeMaximum : 0;
    if (own_.volumeLeft == limit)
        return;
    own_.volumeLeft = own_.volumeRight = steppedVolume(own_.volumeLeft, direction, step);
    // Without an open track the next Play sends it before opening.
    if (own_.trackOpen())
        send();
    context_.ui.Label1->setText(QString::number(own_.volumeLeft));
    context_.availability.showVolumeLimits(own_.volumeLeft);
    context_.steps.announcePlayerChange();
}

void VolumeControl::setVolume(int volume)
{
    const int wanted = std::clamp(volume, 0, kVolumeMaximum);
    if (wanted != own_.volumeLeft)
        changeVolume(wanted > own_.volumeLeft ? VolumeDirection::Up : VolumeDirection::Down,
                     std::abs(wanted - own_.volumeLeft));
}

void VolumeControl::volumeUpExecute()
{
    changeVolume(VolumeDirection::Up, menuVolumeStep(own_.volumeLeft, VolumeDirection::Up));
}

void VolumeControl::volumeDownExecute()
{
    changeVolume(VolumeDirection::Down, menuVolumeStep(own_.volumeLeft, VolumeDirection::Down));
}

bool VolumeControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == context_.ui.Label1) {
        if (event->type() == QEvent::Enter)
            label1MouseEnter();
        else if (event->type() == QEvent::Leave)
            label1MouseLeave();
    }
    return QObject::eventFilter(watched, event);
}

void VolumeControl::label1MouseEnter()
{
    setLabelColor(QPalette::Link);
    // With the focus on the page control the wheel changes the volume.
    context_.ui.PageControl1->setFocus();
}

void VolumeControl::label1MouseLeave()
{
    setLabelColor(QPalette::Text);
}

void VolumeControl::setLabelColor(QPalette::ColorRole systemColor)
{
    QLabel* label = context_.ui.Label1;
    QPalette palette = label->palette();
    // The role the label draws its text in: in the tool bar that is the button text's.
    palette.setColor(label->foregroundRole(), context_.window.palette().color(systemColor));
    label->setPalette(palette);
}

} // namespace nuvo
