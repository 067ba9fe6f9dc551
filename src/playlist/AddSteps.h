// The steps every way of adding ends with, so each command says only where
// its tracks come from.
#pragma once

#include "app/AreaContext.h"

#include <QStringList>

namespace nuvo {

// The open commands: CurrentIndex moves to the first new entry, and it plays. Nothing to add
// leaves CurrentIndex and playback as they were. bound: the same command has just bound the
// playlist to a list file, which is no change of it.
void appendAndPlay(const AreaContext& context, const QStringList& tracks, bool bound);

// The add commands and drops: CurrentIndex stays.
void appendOnly(const AreaContext& context, const QStringList& tracks, bool bound);

} // namespace nuvo
