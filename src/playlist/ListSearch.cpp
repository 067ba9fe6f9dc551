#include "playlist/ListSearch.h"

#include "app/Availability.h"
#include "app/Options.h"
#include "app/PlayerState.h"
#include "app/Settings.h"
#include "app/WindowSteps.h"
#include "playlist/ListSelection.h"
#include "playlist/PlaylistModel.h"
#include "playlist/SearchWalk.h"
#include "ui_MainWindow.h"

#include <QSignalBlocker>

namespace nuvo {

ListSearch::ListSearch(const AreaContext& context, QObject* parent) : QObject(parent), context_(context)
{
    Ui::Form1& ui = context_.ui;
    // Edited by the user only: the text put back at start leaves the button alone.
    connect(ui.Edit2, &QLineEdit::textEdited, this, &ListSearch::edit2Change);
    connect(ui.Button1, &QPushButton::clicked, this, &ListSearch::searchExecute);
    connect(ui.OpenSearch, &QAction::triggered, this, &ListSearch::openSearchExecute);
}

void ListSearch::restore(const Settings& s)
{
    const QSignalBlocker quiet(context_.ui.Edit2);
    context_.ui.Edit2->setText(s.search);
}

void ListSearch::collect(Settings& s) const
{
    s.search = context_.ui.Edit2->text();
}

void ListSearch::edit2Change()
{
    context_.availability.enableSearchButton(!context_.ui.Edit2->text().isEmpty());
}

void ListSearch::searchExecute()
{
    QListView& view = *context_.ui.ListBox1;
    const SearchText text(context_.ui.Edit2->text(), QLocale());
    std::optional<int> focused;
    if (hasSelection(view))
        focused = focusedIndex(view);
    const SearchStep step = nextSearchStep(context_.playlist.paths(), text, focused);
    switch (step.action) {
    case SearchStep::Action::None:
        break;
    case SearchStep::Action::Select:
        selectOnly(view, step.index);
        break;
    case SearchStep::Action::ReturnToCurrent:
        view.clearSelection();
        context_.steps.focusEntry(context_.playlist.currentIndex());
        break;
    }
}

void ListSearch::openSearchExecute()
{
    if (!context_.state.playback.trackOpen())
        return;
    selectOnly(*context_.ui.ListBox1, context_.playlist.currentIndex());
    if (context_.ui.PageControl1->currentIndex() != kFileListPage)
        context_.steps.refreshSelectionCommands();
}

} // namespace nuvo
