#include "app/Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace nuvo {

namespace {

// Qt's dialogs, each made as an object so that an open one can be cancelled.
class QtDialogs final : public Dialogs {
public:
    void showError(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Nuvo"), text, QMessageBox::Ok, parent);
        run(box);
    }

    FileDialogAnswer openFiles(QWidget* parent, const FileDialogRequest& request) override
    {
        QFileDialog dialog(parent, request.caption, request.directory);
        prepare(dialog, request);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        return answerOf(dialog);
    }

    FileDialogAnswer saveFile(QWidget* parent, const FileDialogRequest& request) override
    {
        QFileDialog dialog(parent, request.caption, request.directory);
        prepare(dialog, request);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(request.defaultSuffix);
        return answerOf(dialog);
    }

    QString existingDirectory(QWidget* parent, const QString& caption, const QString& start) override
    {
        QFileDialog dialog(parent, caption, start);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        if (run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    std::optional<QColor> color(QWidget* parent, const QColor& initial) override
    {
        QColorDialog dialog(initial, parent);
        if (run(dialog) != QDialog::Accepted)
            return std::nullopt;
        return dialog.selectedColor();
    }

    int exec(QDialog& dialog) override { return run(dialog); }

    void cancelOpenDialog() override
    {
        if (open_)
            open_->reject();
    }

private:
    static void prepare(QFileDialog& dialog, const FileDialogRequest& request)
    {
        // Qt's own dialog: its name filters match extensions in any letter case.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilters(request.nameFilters);
    }

    FileDialogAnswer answerOf(QFileDialog& dialog)
    {
        if (run(dialog) != QDialog::Accepted)
            return {};
        return {dialog.selectedFiles(), dialog.selectedNameFilter()};
    }

    int run(QDialog& dialog)
    {
        const QPointer<QDialog> outer = open_;
        open_ = &dialog;
        const int result = dialog.exec();
        open_ = outer;
        return result;
    }

    QPointer<QDialog> open_;
};

QtDialogs& qtDialogs()
{
    static QtDialogs instance;
    return instance;
}

Dialogs* gInstalled = nullptr;

} // namespace

Dialogs& dialogs()
{
    return gInstalled ? *gInstalled : qtDialogs();
}

void installDialogs(Dialogs* answerer)
{
    gInstalled = answerer;
}

} // namespace nuvo
