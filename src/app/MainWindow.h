// The player's one window. It composes: it owns the window description,
// the decoder binding, the playlist, the state of the run and the area
// objects, routes the window's own events to them and, through its step
// router, hands each shared step to the area that owns it. The handlers
// live in the areas.
#pragma once

#include "app/Options.h"
#include "vbmp3_api.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

namespace Ui {
class Form1;
}

namespace nuvo {

class DecoderLibrary;
class EqualizerPage;
class PlaylistModel;
struct PlayerState;

// The decoder as the window receives it: a table of entry points and,
// when it came from libvbmp3.so, the library that has to stay loaded.
struct DecoderBinding {
    DecoderApi api;
    std::unique_ptr<DecoderLibrary> library;
    bool loaded = false;

    DecoderBinding();
    DecoderBinding(DecoderBinding&&) noexcept;
    DecoderBinding& operator=(DecoderBinding&&) noexcept;
    ~DecoderBinding();
};

struct StartupContext {
    QString programDirectory;   // where Nuvo.ini and the auto-saved lists lie
    QStringList arguments;      // the command line, without the program name
    QString currentDirectory;   // relative arguments are taken from here
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(DecoderBinding decoder, StartupContext context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // State a test or the tray reads.
    int currentIndex() const;
    int playState() const;
    bool trackOpen() const { return playState() != -1; }
    const QString& applicationTitle() const;
    QString statusText(int panel) const;
    bool isOptionChecked(Option option) const;
    // The band steps of the digit keys, for the window tests.
    EqualizerPage& equalizerPage() const;

    // Closes with the usual saving for a signal or the end of the session:
    // nothing waits for the user, a failed write is told on standard error.
    void closeForSession();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolBar();
    void buildStatusBar();

    struct Areas;
    class StepRouter;

    std::unique_ptr<Ui::Form1> ui_;
    DecoderBinding decoder_;
    StartupContext context_;
    PlaylistModel* playlist_ = nullptr;
    std::unique_ptr<PlayerState> state_;
    // Built before the areas, which hold it, and gone after them.
    std::unique_ptr<StepRouter> steps_;
    std::unique_ptr<Areas> areas_;
};

} // namespace nuvo
