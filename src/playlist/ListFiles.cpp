#include "playlist/ListFiles.h"

#include "app/Availability.h"
#include "app/PlayerState.h"
#include "app/Settings.h"
#include "playlist/PathRules.h"
#include "ui_MainWindow.h"

namespace nuvo {

ListFiles::ListFiles(const AreaContext& context, ListBinding& own, QObject* parent)
    : QObject(parent), context_(context), own_(own)
{
}

void ListFiles::restore(const Settings& s)
{
    own_.openedListPath = s.openedList;
    // Only a bound list can have changed.
    own_.listChanged = s.listChanged && !s.openedList.isEmpty();
}

void ListFiles::collect(Settings& s) const
{
    s.openedList = own_.openedListPath;
    s.listChanged = own_.listChanged;
}

void ListFiles::showRestoredBinding()
{
    if (own_.openedListPath.isEmpty())
        return;
    own_.listOpened = true;
    showListName();
    if (own_.listChanged)
        context_.availability.setListFileCommandsEnabled(true);
}

void ListFiles::bindListFile(const QString& path)
{
    own_.openedListPath = path;
    showListName();
    own_.listOpened = true;
}

void ListFiles::markListChanged()
{
    if (!own_.listOpened || own_.listChanged)
        return;
    context_.availability.setListFileCommandsEnabled(true);
    own_.listChanged = true;
}

void ListFiles::unbindListFile()
{
    own_.listOpened = false;
    own_.listChanged = false;
    own_.openedListPath.clear();
    context_.ui.StatusPanel3->clear();
    context_.availability.setListFileCommandsEnabled(false);
}

void ListFiles::showListName()
{
    context_.ui.StatusPanel3->setText(QStringLiteral(" ") + fileNamePart(own_.openedListPath));
}

} // namespace nuvo
