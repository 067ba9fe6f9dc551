#include "tag/TagView.h"

#include "app/Dialogs.h"
#include "app/PlayerState.h"
#include "app/WindowSteps.h"
#include "playback/FileType.h"
#include "playlist/ListSelection.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistModel.h"
#include "tag/TagLineDelegate.h"
#include "tag/TagLines.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QFile>
#include <QSignalBlocker>

namespace nuvo {

TagView::TagView(const AreaContext& context, TagState& own, QObject* parent)
    : QObject(parent), context_(context), own_(own)
{
    context_.ui.ListBox2->setItemDelegate(new TagLineDelegate(context_.ui.ListBox2));
}

PlaySituation TagView::situationNow() const
{
    const QListView& list = *context_.ui.ListBox1;
    PlaySituation s;
    s.entryCount = context_.playlist.count();
    s.currentIndex = context_.playlist.currentIndex();
    s.hasSelection = hasSelection(list);
    s.focusedIndex = focusedIndex(list);
    s.trackOpen = context_.state.playback.trackOpen();
    if (s.trackOpen) {
        int32_t seconds = 0;
        s.trackRunning = context_.decoder.getState(&seconds) != 0;
    }
    return s;
}

bool TagView::showsTheChosenTrack() const
{
    if (!own_.shown)
        return false;
    const std::optional<TrackChoice> now = chooseTagTrack(situationNow());
    return now && *now == own_.shown->choice && context_.playlist.path(now->row) == own_.shown->path;
}

void TagView::showTagInfo()
{
    clear();
    const std::optional<TrackChoice> choice = chooseTagTrack(situationNow());
    if (!choice)
        return;
    const QString& path = context_.playlist.path(choice->row);
    const QByteArray nativePath = QFile::encodeName(path);
    own_.record = TagRecord{};
    own_.mpeg = MpegRecord{};
    if (choice->openedFile) {
        context_.decoder.getTagInfo(&own_.record);
        context_.decoder.getMpegInfo(&own_.mpeg);
        own_.tagFileType = context_.state.playback.playState;
    } else {
        if (!context_.decoder.getFileInfo(nativePath.constData(), &own_.record, &own_.mpeg))
            return;
        own_.tagFileType = context_.decoder.getFileType(nativePath.constData());
    }
    const bool withTag = hasTag(own_.tagFileType);
    if (!withTag)
        clearTagFields(own_.record);
    own_.shownFileName = fileNamePart(path);
    context_.ui.ListBox2->addItems(tagViewLines(own_.record, own_.mpeg, withTag, own_.shownFileName));
    own_.shown = ShownTrack{*choice, path};
}

void TagView::clear()
{
    context_.ui.ListBox2->clear();
    own_.shown.reset();
    own_.tagFileType = -1;
    resetEditControls();
}

void TagView::resetEditControls()
{
    Ui::Form1& ui = context_.ui;
    {
        const QSignalBlocker quietEdit(ui.Edit1);
        const QSignalBlocker quietGenre(ui.ComboBox1);
        ui.Edit1->clear();
        ui.ComboBox1->setCurrentIndex(-1);
    }
    ui.Edit1->setEnabled(false);
    ui.ComboBox1->setEnabled(false);
    ui.Button2->setEnabled(false);
    ui.Button5->setEnabled(false);
}

bool tellUser(const AreaContext& context, const QString& message)
{
    dialogs().showError(&context.window, message);
    return !context.steps.windowClosed();
}

} // namespace nuvo
