#include "tag/FileRenamer.h"

#include "app/PlayerState.h"
#include "app/WindowSteps.h"
#include "playlist/PathRules.h"
#include "playlist/PlaylistModel.h"
#include "tag/RenameRules.h"
#include "tag/TagEditor.h"
#include "tag/TagView.h"
#include "ui_MainWindow.h"

#include <QSignalBlocker>

#include <utility>

namespace nuvo {

FileRenamer::FileRenamer(const AreaContext& context, const TagState& tag, TagView& view, QObject* parent)
    : QObject(parent), context_(context), tag_(tag), view_(view)
{
}

std::optional<int> FileRenamer::renamableRow() const
{
    return chooseRenameTrack(view_.situationNow());
}

// The open track's file is never renamed, and only the file the view shows
// is: the name and extension in Edit1 are that file's.
bool FileRenamer::stillRenamable(const Target& target) const
{
    return renamableRow() == target.row && context_.playlist.path(target.row) == target.path;
}

void FileRenamer::indFileNameExecute()
{
    Ui::Form1& ui = context_.ui;
    ui.Button5->setEnabled(false);
    ui.Button2->setEnabled(false);
    {
        const QSignalBlocker quietGenre(ui.ComboBox1);
        ui.ComboBox1->setCurrentIndex(-1);
    }
    ui.ComboBox1->setEnabled(false);
    target_.reset();

    const std::optional<int> row = renamableRow();
    if (row && tag_.shown && tag_.shown->path == context_.playlist.path(*row)) {
        const QString& path = tag_.shown->path;
        target_ = Target{*row, path, splitExtension(tag_.shownFileName).stem};
        // A name too long in bytes for the file system is said in words on renaming.
        showInEdit1(context_, target_->stem, {renameTypingLimit(path), kAnyBytes});
        ui.Edit1->setEnabled(true);
        ui.Edit1->setFocus();
        return;
    }
    showInEdit1(context_, QString(), {ui.Edit1->maxLength(), kAnyBytes});
    ui.Edit1->setEnabled(false);
    // Another file than the one shown would be renamed: show that one first.
    if (row)
        view_.showTagInfo();
}

void FileRenamer::edit1Change()
{
    const QString text = context_.ui.Edit1->text();
    context_.ui.Button2->setEnabled(target_ && !text.isEmpty() && text != target_->stem);
}

void FileRenamer::chgFileNameExecute()
{
    const std::optional<Target> target = std::exchange(target_, std::nullopt);
    // The play state or the selection changed since the line was indicated: rename nothing.
    if (target && stillRenamable(*target))
        rename(*target);
    if (context_.steps.windowClosed())
        return;
    view_.showTagInfo();
    context_.ui.PageControl1->setFocus();
}

void FileRenamer::rename(const Target& target)
{
    const NewName name = newNameFor(target.path, context_.ui.Edit1->text());
    switch (name.check) {
    case NewNameCheck::Unchanged:
        return;
    case NewNameCheck::NotAName:
        tellUser(context_, QStringLiteral("\"%1\" cannot be the name of a file.").arg(name.name));
        return;
    case NewNameCheck::NameTooLong:
        tellUser(context_, QStringLiteral("The name \"%1\" is longer than %2 bytes.")
                               .arg(name.name, QString::number(kNameBytesMax)));
        return;
    case NewNameCheck::PathTooLong:
        tellUser(context_, QStringLiteral("With the name \"%1\" the path would be longer than %2 bytes.")
                               .arg(name.name, QString::number(kPathBytesMax)));
        return;
    case NewNameCheck::Ready:
        break;
    }
    if (const int error = renameWithoutReplacing(target.path, name.path)) {
        tellUser(context_, QStringLiteral("\"%1\" could not be renamed to \"%2\": %3")
                               .arg(fileNamePart(target.path), name.name, qt_error_string(error)));
        return;
    }
    // In place: the entry keeps its position, its selection and the current index.
    context_.playlist.replacePath(target.row, name.path);
}

} // namespace nuvo
