#include "playlist/ListSearch.h"

#include "app/Settings.h"
#include "ui_MainWindow.h"

#include <QSignalBlocker>

namespace nuvo {

ListSearch::ListSearch(const AreaContext& context, QObject* parent) : QObject(parent), context_(context)
{
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

} // namespace nuvo
