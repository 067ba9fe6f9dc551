#include "playback/VolumeControl.h"

#include "app/PlayerState.h"
#include "app/Settings.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <algorithm>

namespace nuvo {

VolumeControl::VolumeControl(const AreaContext& context, PlaybackState& own) : context_(context), own_(own)
{
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
    own_.volumeLeft = own_.volumeRight = ok ? std::clamp(volume, 0, 100) : 100;
}

void VolumeControl::send()
{
    context_.decoder.setVolume(own_.volumeLeft, own_.volumeRight);
}

} // namespace nuvo
