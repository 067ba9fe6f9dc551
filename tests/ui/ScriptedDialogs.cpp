#include "ScriptedDialogs.h"

#include <QDialog>

namespace nuvo::test {

namespace {

template <typename Answer>
Answer takeOr(std::deque<Answer>& queue, Answer cancel)
{
    if (queue.empty())
        return cancel;
    Answer answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

} // namespace

void ScriptedDialogs::ask(const QString& kind, const QString& text)
{
    asked.push_back({kind, text});
}

void ScriptedDialogs::showError(QWidget*, const QString& text)
{
    ask(QStringLiteral("error"), text);
}

FileDialogAnswer ScriptedDialogs::openFiles(QWidget*, const FileDialogRequest& request)
{
    ask(QStringLiteral("openFiles"), request.caption);
    fileRequests.push_back(request);
    return takeOr(fileAnswers, FileDialogAnswer{});
}

FileDialogAnswer ScriptedDialogs::saveFile(QWidget*, const FileDialogRequest& request)
{
    ask(QStringLiteral("saveFile"), request.caption);
    fileRequests.push_back(request);
    return takeOr(fileAnswers, FileDialogAnswer{});
}

QString ScriptedDialogs::existingDirectory(QWidget*, const QString& caption, const QString&)
{
    ask(QStringLiteral("directory"), caption);
    return takeOr(directoryAnswers, QString());
}

std::optional<QColor> ScriptedDialogs::color(QWidget*, const QColor& initial)
{
    ask(QStringLiteral("color"), initial.name());
    return takeOr(colorAnswers, std::optional<QColor>());
}

int ScriptedDialogs::exec(QDialog& dialog)
{
    ask(QStringLiteral("dialog"), dialog.windowTitle());
    const auto answer = takeOr(dialogAnswers, std::function<int(QDialog&)>());
    return answer ? answer(dialog) : int(QDialog::Rejected);
}

QStringList ScriptedDialogs::errors() const
{
    QStringList texts;
    for (const Question& question : asked) {
        if (question.kind == QLatin1String("error"))
            texts << question.text;
    }
    return texts;
}

} // namespace nuvo::test
