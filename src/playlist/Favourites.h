// Favourite directories and list files: the two sub-menus of the file menu,
// the files they are kept in, opening a favourite into the playlist and the
// editor that changes either list.
#pragma once

#include "app/AreaContext.h"
#include "playlist/FavouriteEntries.h"

#include <QObject>
#include <QStringList>

class QMenu;

namespace nuvo {

class Favourites : public QObject {
    Q_OBJECT
public:
    Favourites(const AreaContext& context, const QString& programDirectory, QObject* parent = nullptr);

    // Both sub-menus from their files (first show).
    void buildMenus();

    // The "Edit" items: the editor for either list.
    void favDirExecute();
    void favListExecute();
    // A favourite's item, by its position in the sub-menu ("Edit" and the separator come first).
    void favDirOpenExecute(int position);
    void favListOpenExecute(int position);

    // A list file just saved joins the favourite lists, in the file and then in the menu.
    void addFavoriteList(const QString& path);

private:
    QMenu* menuOf(FavouriteKind kind) const;
    QString fileOf(FavouriteKind kind) const;
    void rebuildMenu(FavouriteKind kind, const QStringList& entries);
    void addFavouriteItem(FavouriteKind kind, const QString& entry);
    void editFavourites(FavouriteKind kind);
    void openFavourite(FavouriteKind kind, int position);
    bool tracksOf(FavouriteKind kind, const QString& entry, QStringList* tracks);
    void appendFavourite(FavouriteKind kind, const QString& entry, const QStringList& tracks);
    bool readFavourites(FavouriteKind kind, QStringList* entries);
    bool writeFavourites(FavouriteKind kind, const QStringList& entries);

    AreaContext context_;
    QString programDirectory_;
};

} // namespace nuvo
