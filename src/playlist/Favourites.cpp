#include "playlist/Favourites.h"

#include "app/Dialogs.h"
#include "app/Options.h"
#include "app/PlayerState.h"
#include "app/TextFile.h"
#include "app/WindowSteps.h"
#include "playlist/FavouritesDialog.h"
#include "playlist/LongScan.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QDir>
#include <QFileInfo>

namespace nuvo {

namespace {

// "Edit" and the separator stand before the first favourite.
constexpr int kFirstFavouritePosition = 2;

// A menu reads "&" as the mark of an access key; a name shows it as it is.
QString menuText(const QString& caption)
{
    QString text = caption;
    return text.replace(u'&', QStringLiteral("&&"));
}

} // namespace

Favourites::Favourites(const AreaContext& context, const QString& programDirectory, QObject* parent)
    : QObject(parent), context_(context), programDirectory_(programDirectory)
{
    connect(context_.ui.FavDir, &QAction::triggered, this, &Favourites::favDirExecute);
    connect(context_.ui.FavList, &QAction::triggered, this, &Favourites::favListExecute);
}

QMenu* Favourites::menuOf(FavouriteKind kind) const
{
    return kind == FavouriteKind::Directory ? context_.ui.Favorite1 : context_.ui.Favorite2;
}

QString Favourites::fileOf(FavouriteKind kind) const
{
    return QDir(programDirectory_).filePath(QString::fromLatin1(favouritesFileName(kind)));
}

void Favourites::buildMenus()
{
    for (const FavouriteKind kind : {FavouriteKind::Directory, FavouriteKind::List}) {
        QStringList entries;
        // An unreadable file has been reported; its menu offers only "Edit".
        readFavourites(kind, &entries);
        rebuildMenu(kind, entries);
    }
}

void Favourites::rebuildMenu(FavouriteKind kind, const QStringList& entries)
{
    QMenu* menu = menuOf(kind);
    // The "Edit" item that opened the editor is still delivering its click: its deletion waits.
    for (QAction* item : menu->actions()) {
        menu->removeAction(item);
        item->deleteLater();
    }
    QAction* edit = menu->addAction(QStringLiteral("Edit"));
    connect(edit, &QAction::triggered, this,
            kind == FavouriteKind::Directory ? &Favourites::favDirExecute : &Favourites::favListExecute);
    for (const QString& entry : entries)
        addFavouriteItem(kind, entry);
}

void Favourites::addFavouriteItem(FavouriteKind kind, const QString& entry)
{
    QMenu* menu = menuOf(kind);
    if (menu->actions().size() < kFirstFavouritePosition)
        menu->addSeparator();
    QAction* item = menu->addAction(menuText(favouriteCaption(kind, entry)));
    connect(item, &QAction::triggered, this, [this, kind, menu, item] {
        const int position = static_cast<int>(menu->actions().indexOf(item));
        if (kind == FavouriteKind::Directory)
            favDirOpenExecute(position);
        else
            favListOpenExecute(position);
    });
}

void Favourites::favDirExecute()
{
    editFavourites(FavouriteKind::Directory);
}

void Favourites::favListExecute()
{
    editFavourites(FavouriteKind::List);
}

void Favourites::favDirOpenExecute(int position)
{
    openFavourite(FavouriteKind::Directory, position);
}

void Favourites::favListOpenExecute(int position)
{
    openFavourite(FavouriteKind::List, position);
}

void Favourites::editFavourites(FavouriteKind kind)
{
    QStringList entries;
    if (!readFavourites(kind, &entries))
        return;
    TOKBottomDlg2 editor(kind, entries, context_.steps, &context_.window);
    const int result = dialogs().exec(editor);
    if (context_.steps.windowClosed() || result != QDialog::Accepted)
        return;
    // The menu shows what the file holds: it changes only once the file has.
    const QStringList edited = editor.entries();
    if (writeFavourites(kind, edited))
        rebuildMenu(kind, edited);
}

void Favourites::addFavoriteList(const QString& path)
{
    QStringList entries;
    if (!readFavourites(FavouriteKind::List, &entries))
        return;
    entries << path;
    if (writeFavourites(FavouriteKind::List, entries))
        addFavouriteItem(FavouriteKind::List, path);
}

void Favourites::openFavourite(FavouriteKind kind, int position)
{
    QStringList entries;
    if (!readFavourites(kind, &entries))
        return;
    // The file may have been changed by hand since the menu was built.
    const int line = position - kFirstFavouritePosition;
    if (line < 0 || line >= entries.size())
        return;
    const QString entry = entries.at(line);
    if (!favouriteExists(kind, entry))
        return;
    // The tracks are gathered before the list is cleared, so a list file
    // that cannot be read leaves the playlist as it was.
    QStringList tracks;
    if (!tracksOf(kind, entry, &tracks))
        return;
    if (isOptionChecked(context_.ui, Option::ClearListToOpen))
        context_.steps.clearAll();
    appendFavourite(kind, entry, tracks);
}

bool Favourites::tracksOf(FavouriteKind kind, const QString& entry, QStringList* tracks)
{
    // A folder may be a long scan: it shows its progress and can be cancelled.
    const SourceKind source = kind == FavouriteKind::Directory ? SourceKind::Directory : SourceKind::List;
    std::optional<QStringList> collected = collectOrReport(context_, {{source, entry}});
    if (!collected)
        return false;
    *tracks = std::move(*collected);
    return true;
}

void Favourites::appendFavourite(FavouriteKind kind, const QString& entry, const QStringList& tracks)
{
    PlaylistModel& playlist = context_.playlist;
    WindowSteps& steps = context_.steps;
    const bool autoStart = isOptionChecked(context_.ui, Option::AutoStart);
    const int oldCount = playlist.count();
    const int saved = playlist.currentIndex();
    if (autoStart)
        playlist.setCurrentIndex(oldCount);

    bool bound = false;
    if (kind == FavouriteKind::List && playlist.isEmpty() && !context_.state.list.listOpened) {
        steps.bindListFile(entry);
        bound = true;
    }
    playlist.append(tracks);

    const int page = context_.ui.PageControl1->currentIndex();
    if (!autoStart && oldCount == 0 && !playlist.isEmpty() && page == kTagEditPage) {
        steps.showTagInfo();
        if (!context_.ui.PageControl1->hasFocus())
            context_.ui.PageControl1->setFocus();
    }
    if (playlist.count() == oldCount) {
        if (autoStart)
            playlist.setCurrentIndex(saved);
        return;
    }
    steps.showCount();
    steps.refreshAfterAdd(bound);
    if (page != kFileListPage)
        steps.refreshSelectionCommands();
    if (autoStart)
        steps.playFirstAdded();
}

bool Favourites::readFavourites(FavouriteKind kind, QStringList* entries)
{
    const QString path = fileOf(kind);
    entries->clear();
    // No file yet: no favourites yet.
    if (!QFileInfo::exists(path))
        return true;
    bool read = false;
    *entries = readTextLines(path, &read);
    if (!read)
        dialogs().showError(&context_.window, QStringLiteral("Cannot read %1").arg(path));
    return read;
}

bool Favourites::writeFavourites(FavouriteKind kind, const QStringList& entries)
{
    QString error;
    if (writeTextLines(fileOf(kind), entries, &error))
        return true;
    dialogs().showError(&context_.window, error);
    return false;
}

} // namespace nuvo
