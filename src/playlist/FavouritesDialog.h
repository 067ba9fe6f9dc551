// The favourites editor: the favourite directories or lists in a list of
// their own, edited through the dialog's pop-up menu and by drops. Nothing
// reaches the files or menus from here: the caller takes entries() when the
// dialog was closed with "Set".
#pragma once

#include "playlist/FavouriteEntries.h"

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class OKBottomDlg2;
}

class QMenu;

namespace nuvo {

class WindowSteps;

class TOKBottomDlg2 : public QDialog {
    Q_OBJECT
public:
    TOKBottomDlg2(FavouriteKind mode, const QStringList& entries, const WindowSteps& steps, QWidget* parent);
    ~TOKBottomDlg2() override;

    QStringList entries() const;

    // The handlers of the pop-up menu and the list.
    void deleteSelected1Click();
    void clearAll1Click();
    void sweepInvalid1Click();
    void removeDuplicate1Click();
    void fullPath1Click();
    void name1Click();
    void moveUpSelected1Click();
    void moveDownSelected1Click();
    void explore1Click();
    void listBox1Click();
    // Paths dropped on the dialog, as local paths.
    void handleDropFiles(const QStringList& paths);

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void formShow();
    void connectMenu();
    void replaceEntries(const QStringList& entries);
    void appendEntries(const QStringList& entries);
    void updateEditMenu();
    void showCount();
    void setSeveralEntriesItemsEnabled(bool enabled);
    void disableSelectionItems();
    void moveFocused(int step);

    std::unique_ptr<Ui::OKBottomDlg2> ui_;
    FavouriteKind mode_;
    const WindowSteps& steps_;
};

} // namespace nuvo
