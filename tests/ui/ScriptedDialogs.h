// The window tests' answerer of the program's dialogs: it records every
// question and gives the answers the test queued, or a cancel.
#pragma once

#include "app/Dialogs.h"

#include <deque>
#include <functional>
#include <vector>

namespace nuvo::test {

class ScriptedDialogs : public Dialogs {
public:
    struct Question {
        QString kind;   // "error", "openFiles", "saveFile", "directory", "color", "dialog"
        QString text;   // the message, the dialog's caption, or the colour a colour dialog opens with (#rrggbb)
    };

    std::vector<Question> asked;
    // Every file dialog's request, in order.
    std::vector<FileDialogRequest> fileRequests;
    std::deque<FileDialogAnswer> fileAnswers;
    std::deque<QString> directoryAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    // Runs for a program's own dialog: may fill in its fields; its result is the dialog's.
    std::deque<std::function<int(QDialog&)>> dialogAnswers;

    void showError(QWidget* parent, const QString& text) override;
    FileDialogAnswer openFiles(QWidget* parent, const FileDialogRequest& request) override;
    FileDialogAnswer saveFile(QWidget* parent, const FileDialogRequest& request) override;
    QString existingDirectory(QWidget* parent, const QString& caption, const QString& start) override;
    std::optional<QColor> color(QWidget* parent, const QColor& initial) override;
    int exec(QDialog& dialog) override;
    void cancelOpenDialog() override {}

    // The messages of the error boxes, in order.
    QStringList errors() const;

private:
    void ask(const QString& kind, const QString& text);
};

} // namespace nuvo::test
