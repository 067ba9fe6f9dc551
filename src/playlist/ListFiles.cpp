#include "playlist/ListFiles.h"

#include "app/Availability.h"
#include "app/Dialogs.h"
#include "app/PlayerState.h"
#include "app/Settings.h"
#include "app/WindowSteps.h"
#include "playlist/AddSteps.h"
#include "playlist/ListFileReader.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QFileInfo>
#include <QMainWindow>

namespace nuvo {

namespace {

const QString kM3uFilter = QStringLiteral("M3U (*.m3u)");
const QString kPlsFilter = QStringLiteral("PLS (*.pls)");

} // namespace

ListFiles::ListFiles(const AreaContext& context, ListBinding& own, QObject* parent)
    : QObject(parent), context_(context), own_(own)
{
    const Ui::Form1& ui = context_.ui;
    connect(ui.OpenList, &QAction::triggered, this, &ListFiles::openListExecute);
    connect(ui.AddList, &QAction::triggered, this, &ListFiles::addListExecute);
    connect(ui.SaveList, &QAction::triggered, this, &ListFiles::saveListExecute);
    connect(ui.SaveListR, &QAction::triggered, this, &ListFiles::saveListRExecute);
    connect(ui.UpDateC, &QAction::triggered, this, &ListFiles::upDateCExecute);
    connect(ui.UpDateR, &QAction::triggered, this, &ListFiles::upDateRExecute);
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
    context_.ui.StatusPanel3->setToolTip(QString());
    context_.availability.setListFileCommandsEnabled(false);
}

void ListFiles::showListName()
{
    context_.ui.StatusPanel3->setText(QStringLiteral(" ") + fileNamePart(own_.openedListPath));
    // Shown where the panel has no room for the whole name.
    context_.ui.StatusPanel3->setToolTip(own_.openedListPath);
}

void ListFiles::openListExecute()
{
    if (const auto chosen = chooseLists(QStringLiteral("OpenList(s)")))
        appendAndPlay(context_, chosen->tracks, chosen->bound);
}

void ListFiles::addListExecute()
{
    if (const auto chosen = chooseLists(QStringLiteral("AddList(s)")))
        appendOnly(context_, chosen->tracks, chosen->bound);
}

std::optional<ListFiles::ChosenLists> ListFiles::chooseLists(const QString& caption)
{
    const FileDialogAnswer answer = dialogs().openFiles(&context_.window, {caption, {}, {listFileFilter()}, {}});
    if (context_.steps.windowClosed() || answer.files.isEmpty())
        return std::nullopt;
    QString error;
    auto chosen = readLists(answer.files, &error);
    if (!chosen)
        dialogs().showError(&context_.window, error);
    return chosen;
}

bool ListFiles::openLists(const QStringList& files, QString* error)
{
    const auto chosen = readLists(files, error);
    if (chosen)
        appendAndPlay(context_, chosen->tracks, chosen->bound);
    return chosen.has_value();
}

std::optional<ListFiles::ChosenLists> ListFiles::readLists(const QStringList& files, QString* error)
{
    // Every file is read before the playlist changes: one that cannot be read changes nothing.
    ChosenLists chosen;
    for (const QString& file : files) {
        bool ok = false;
        chosen.tracks += readListFile(file, &ok, error);
        if (!ok)
            return std::nullopt;
    }
    chosen.bound = files.size() == 1 && context_.playlist.isEmpty() && !own_.listOpened;
    if (chosen.bound)
        bindListFile(files.constFirst());
    return chosen;
}

void ListFiles::saveListExecute()
{
    saveListAs(PathsAs::Complete);
}

void ListFiles::saveListRExecute()
{
    saveListAs(PathsAs::Relative);
}

void ListFiles::saveListAs(PathsAs paths)
{
    if (context_.playlist.isEmpty())
        return;
    const bool complete = paths == PathsAs::Complete;
    const FileDialogRequest request{complete ? QStringLiteral("SaveList<CompletePath>")
                                             : QStringLiteral("SaveList<RelativePath>"),
                                    {},
                                    complete ? QStringList{kM3uFilter, kPlsFilter} : QStringList{kM3uFilter},
                                    QStringLiteral("m3u")};
    const FileDialogAnswer answer = dialogs().saveFile(&context_.window, request);
    if (context_.steps.windowClosed() || answer.files.isEmpty())
        return;
    // The chosen filter decides the format, not the extension of the name typed.
    const ListFormat format = !complete ? ListFormat::M3uRelative
                              : answer.chosenFilter == kPlsFilter ? ListFormat::Pls
                                                                  : ListFormat::M3uComplete;
    const QString path = answer.files.constFirst();
    QString error;
    if (!writeListFile(path, format, context_.playlist.paths(), &error)) {
        dialogs().showError(&context_.window, error);
        return;
    }
    context_.steps.addFavoriteList(path);
}

void ListFiles::upDateCExecute()
{
    updateList(upperExtension(own_.openedListPath) == QLatin1String(".PLS") ? ListFormat::Pls
                                                                            : ListFormat::M3uComplete);
}

void ListFiles::upDateRExecute()
{
    updateList(ListFormat::M3uRelative);
}

void ListFiles::updateList(ListFormat format)
{
    if (context_.playlist.isEmpty())
        return;
    // A bound file that is gone is not made again behind the user's back.
    if (!QFileInfo::exists(own_.openedListPath)) {
        dialogs().showError(&context_.window,
                            QStringLiteral("%1 no longer exists. SaveListAs... writes the list anew.")
                                .arg(own_.openedListPath));
        return;
    }
    QString error;
    if (!writeListFile(own_.openedListPath, format, context_.playlist.paths(), &error)) {
        dialogs().showError(&context_.window, error);
        return;
    }
    context_.availability.setListFileCommandsEnabled(false);
    own_.listChanged = false;
}

} // namespace nuvo
