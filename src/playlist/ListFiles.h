// List files: opening, adding, saving and updating M3U and PLS files, and
// the binding of the playlist to one of them: which file, whether the
// playlist has changed since, and what panel 3 and "UpDateList" show of it.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"
#include "playlist/ListFileWriter.h"

#include <QObject>

#include <optional>

namespace nuvo {

struct ListBinding;

class ListFiles : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    ListFiles(const AreaContext& context, ListBinding& own, QObject* parent = nullptr);

    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;
    // A list bound in the last run is bound again (first show).
    void showRestoredBinding();

    void bindListFile(const QString& path);
    void markListChanged();
    void unbindListFile();

    void openListExecute();
    // What "OpenList(s)" does with files chosen elsewhere (the desktop's media
    // controls): false, with the reason, and nothing changed when one cannot be read.
    bool openLists(const QStringList& files, QString* error);
    void addListExecute();
    void saveListExecute();
    void saveListRExecute();
    void upDateCExecute();
    void upDateRExecute();

private:
    // The tracks of the list files chosen in the dialog, the binding made when one file was
    // chosen for an empty, unbound playlist; nothing when cancelled or unreadable (said then).
    struct ChosenLists {
        QStringList tracks;
        bool bound = false;
    };
    std::optional<ChosenLists> chooseLists(const QString& caption);
    std::optional<ChosenLists> readLists(const QStringList& files, QString* error);
    enum class PathsAs { Complete, Relative };
    void saveListAs(PathsAs paths);
    void updateList(ListFormat format);
    void showListName();

    AreaContext context_;
    ListBinding& own_;
};

} // namespace nuvo
