// Nuvo: one instance, one window.
#include "app/MainWindow.h"
#include "app/ProgramDirectory.h"
#include "desktop/SignalBridge.h"
#include "desktop/SingleInstance.h"
#include "playback/DecoderLibrary.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <exception>

namespace {

// Shows an error that escaped an event handler instead of ending the program.
class Application : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(nullptr, QStringLiteral("Nuvo"), QString::fromLocal8Bit(error.what()));
        } catch (...) {
            QMessageBox::critical(nullptr, QStringLiteral("Nuvo"), QString());
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    const nuvo::SingleInstanceLock instance(QStringLiteral("DoubleOpenChkOfNuvo"));
    // Only a lock held by a running instance stops the start; a lock file
    // that cannot be made at all must not keep the player from running.
    if (instance.heldElsewhere())
        return 1;

    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nuvo"));
    const QString executableDir = QCoreApplication::applicationDirPath();

    nuvo::DecoderBinding decoder;
    decoder.library = nuvo::DecoderLibrary::load(QDir(executableDir).filePath(nuvo::kDecoderLibraryFileName));
    nuvo::StartupContext context;
    if (decoder.library) {
        decoder.api = decoder.library->api();
        decoder.loaded = true;
        // Without the decoder nothing may be read or written, not even a folder made.
        context.programDirectory = nuvo::resolveProgramDirectory(executableDir);
    }
    context.arguments = QCoreApplication::arguments().mid(1);
    context.currentDirectory = QDir::currentPath();

    nuvo::MainWindow window(std::move(decoder), std::move(context));
    nuvo::SignalBridge terminationSignals;
    QObject::connect(&terminationSignals, &nuvo::SignalBridge::terminationRequested, &window,
                     &nuvo::MainWindow::closeForSession);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, &nuvo::MainWindow::closeForSession);
    window.show();
    app.exec();
    return 0;
}
