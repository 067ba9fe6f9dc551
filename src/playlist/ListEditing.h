// Editing the playlist from its menu: removing the selection, clearing the
// list or the selection, sweeping out missing files, removing duplicates,
// sorting, shuffling and moving the focused entry. Each command keeps the
// current entry where it went, closes the open track when its entry goes
// (sweeping excepted: that track plays on) and marks a bound list changed.
#pragma once

#include "app/AreaContext.h"
#include "playlist/Duplicates.h"
#include "playlist/ListOrder.h"

#include <QObject>
#include <QStringList>

namespace nuvo {

class ListEditing : public QObject {
    Q_OBJECT
public:
    explicit ListEditing(const AreaContext& context, QObject* parent = nullptr);

    void deleteExecute();
    void clearExecute();
    void clearSExecute();
    void sweepIvldExecute();
    void duplicatePExecute();
    void duplicateNExecute();
    void sortExecute();
    void sortDExecute();
    void shuffleExecute();
    void upExecute();
    void downExecute();

private:
    void removeDuplicates(DuplicateKey key);
    void sortList(SortOrder order);
    void moveFocusedEntry(int step);
    void followCurrentWithNavigation(int oldCurrent, int newCurrent);

    // The list becomes entries, current names its entry and has the focus.
    void refill(const QStringList& entries, int current);
    // The same when the current entry went: the open track is closed with
    // it and the first entry becomes current. True when a track was open.
    bool refillWithoutCurrent(const QStringList& entries);
    QStringList entriesAt(const std::vector<int>& rows) const;
    void finishRemoval(int oldCount);
    // Label2 after a reorder: the current entry's number while a track is open.
    void showPosition();
    void refreshSelectionOffFileList();
    bool trackOpen() const;

    AreaContext context_;
};

} // namespace nuvo
