#include "playlist/AddSteps.h"

#include "app/Options.h"
#include "app/WindowSteps.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

namespace nuvo {

namespace {

void refreshAfterGrowth(const AreaContext& context, bool bound)
{
    context.steps.showCount();
    context.steps.refreshAfterAdd(bound);
    // On the list page the repaint of the list refreshes the selection commands.
    if (context.ui.PageControl1->currentIndex() != kFileListPage)
        context.steps.refreshSelectionCommands();
}

} // namespace

void appendAndPlay(const AreaContext& context, const QStringList& tracks, bool bound)
{
    if (tracks.isEmpty())
        return;
    PlaylistModel& playlist = context.playlist;
    playlist.setCurrentIndex(playlist.count());
    playlist.append(tracks);
    refreshAfterGrowth(context, bound);
    context.steps.playFirstAdded();
}

void appendOnly(const AreaContext& context, const QStringList& tracks, bool bound)
{
    if (tracks.isEmpty())
        return;
    PlaylistModel& playlist = context.playlist;
    const bool wasEmpty = playlist.isEmpty();
    playlist.append(tracks);
    if (wasEmpty && context.ui.PageControl1->currentIndex() == kTagEditPage) {
        context.steps.showTagInfo();
        if (!context.ui.PageControl1->hasFocus())
            context.ui.PageControl1->setFocus();
    }
    refreshAfterGrowth(context, bound);
}

} // namespace nuvo
