// What the playback area owns: the open track and the volume.
#pragma once

#include "vbmp3.h"

#include <QString>

namespace nuvo {

struct PlaybackState {
    // The open track's file type as the decoder reported it; -1 when none is open.
    int playState = -1;
    OpenRecord openRecord{};
    int trackSeconds = 0;
    int elapsedSeconds = 0;
    // From a left press on the progress bar that started a seek until its release.
    bool seekDragging = false;
    int volumeLeft = 100;
    int volumeRight = 100;
    // The application's title: the playing track's title or file name, else "Nuvo".
    QString applicationTitle = QStringLiteral("Nuvo");

    bool trackOpen() const { return playState != -1; }
};

} // namespace nuvo
