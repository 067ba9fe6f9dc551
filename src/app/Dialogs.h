// Every modal dialog of the program goes through this one seam: the message
// boxes, the file, folder and colour dialogs and the program's own dialogs.
// The window tests install a scripted answerer in its place; the program
// uses Qt's dialogs. A dialog that is open when the window closes for the
// session is cancelled, so a close never waits for the user.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QDialog;
class QWidget;

namespace nuvo {

struct FileDialogRequest {
    QString caption;
    QString directory;
    QStringList nameFilters;   // "MPEG Audio (*.mp3 *.mp2)", ...
    QString defaultSuffix;     // save dialogs only
};

struct FileDialogAnswer {
    QStringList files;         // empty: cancelled
    QString chosenFilter;      // the name filter in force when the user accepted
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An error message with the program's caption "Nuvo" and the error icon.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    virtual FileDialogAnswer openFiles(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual FileDialogAnswer saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // Empty when cancelled.
    virtual QString existingDirectory(QWidget* parent, const QString& caption, const QString& start) = 0;
    // Empty when cancelled.
    virtual std::optional<QColor> color(QWidget* parent, const QColor& initial) = 0;
    // One of the program's own dialogs, shown modally; QDialog::Accepted or Rejected.
    virtual int exec(QDialog& dialog) = 0;
    // Closes a dialog that is open now as if the user had cancelled it.
    virtual void cancelOpenDialog() = 0;
};

// The dialogs in use: Qt's own unless another was installed.
Dialogs& dialogs();
// Installs another answerer (tests); null puts Qt's dialogs back. The caller keeps ownership.
void installDialogs(Dialogs* answerer);

} // namespace nuvo
