#include "app/TrayHotKey.h"

#include "app/PlayerState.h"
#include "app/Settings.h"
#include "app/TrayHotKeyTexts.h"
#include "desktop/GlobalHotKey.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>

namespace nuvo {

namespace {

// Edit3KeyPress: the hot-key box takes ASCII letters and digits, however
// they arrive (typed, pasted or dropped); everything else is dropped.
class HotKeyValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& text, int& position) const override
    {
        const QString kept = hotKeyCharacters(text);
        if (kept.size() != text.size()) {
            position = static_cast<int>(hotKeyCharacters(text.left(position)).size());
            text = kept;
        }
        return Acceptable;
    }
};

} // namespace

TrayHotKey::TrayHotKey(const AreaContext& context, TrayState& own, QObject* parent)
    : QObject(parent), context_(context), own_(own)
{
    Ui::Form1& ui = context_.ui;
    ui.Edit3->setValidator(new HotKeyValidator(ui.Edit3));
    connect(ui.Hotkey1, &QAction::triggered, this, &TrayHotKey::hotkey1Click);
}

TrayHotKey::~TrayHotKey() = default;

void TrayHotKey::restore(const Settings& s)
{
    {
        const QSignalBlocker quiet(context_.ui.Hotkey1);
        context_.ui.Hotkey1->setChecked(s.hotKeyLocked);
    }
    {
        const QSignalBlocker quiet(context_.ui.Edit3);
        context_.ui.Edit3->setText(s.hotKey);
    }
    context_.ui.Edit3->setEnabled(!s.hotKeyLocked);
}

void TrayHotKey::collect(Settings& s) const
{
    s.hotKeyLocked = context_.ui.Hotkey1->isChecked();
    s.hotKey = context_.ui.Edit3->text();
}

void TrayHotKey::hotkey1Click(bool checked)
{
    // The action toggles its own check mark; the box follows it.
    context_.ui.Edit3->setEnabled(!checked);
}

void TrayHotKey::installMinimizeHandler()
{
    minimizeHandlerInstalled_ = true;
}

void TrayHotKey::registerHotKey(const QString& key)
{
    const char16_t character = hotKeyCharacter(key);
    if (character == 0)
        return;
    own_.hotKeyCode = character;
    // Queued: the press arrives inside the window system's event handling.
    hotKey_ = makeGlobalHotKey([this] { QTimer::singleShot(0, this, &TrayHotKey::hotKeyPressed); });
    own_.hotKeyRegistered = hotKey_->grab(character);
    if (!own_.hotKeyRegistered)
        hotKey_.reset();
}

void TrayHotKey::unregisterHotKey()
{
    if (!own_.hotKeyRegistered)
        return;
    hotKey_.reset();
    own_.hotKeyRegistered = false;
}

void TrayHotKey::hotKeyPressed()
{
    if (own_.trayIconShown)
        restoreFromTray();
    else if (context_.window.isMinimized())
        showWindowAgain();   // minimised without a tray
    else
        context_.window.showMinimized();
}

void TrayHotKey::windowStateChanged()
{
    if (!minimizeHandlerInstalled_ || !context_.window.isMinimized() || own_.trayIconShown)
        return;
    // Hiding inside the state change itself would confuse the window system.
    QTimer::singleShot(0, this, [this] {
        if (context_.window.isMinimized() && !own_.trayIconShown)
            minimizeToTray();
    });
}

void TrayHotKey::minimizeToTray()
{
    // Without a tray the window stays minimised with its taskbar entry:
    // it must never become unreachable.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    QSystemTrayIcon& icon = trayIcon();
    icon.setToolTip(trayTip(context_.state.playback.applicationTitle));
    icon.show();
    own_.trayIconShown = true;
    context_.window.hide();
}

void TrayHotKey::restoreFromTray()
{
    if (trayIcon_)
        trayIcon_->hide();
    own_.trayIconShown = false;
    showWindowAgain();
}

void TrayHotKey::raiseWindow()
{
    if (own_.trayIconShown)
        restoreFromTray();
    else
        showWindowAgain();
}

void TrayHotKey::showWindowAgain()
{
    QMainWindow& window = context_.window;
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

void TrayHotKey::updateTrayTip()
{
    if (trayIcon_)
        trayIcon_->setToolTip(trayTip(context_.state.playback.applicationTitle));
}

void TrayHotKey::removeTrayIcon()
{
    if (!own_.trayIconShown)
        return;
    trayIcon_->hide();
    own_.trayIconShown = false;
    // A window that closes while hidden in the tray does not end the event loop by itself.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void TrayHotKey::trayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    // A double click, or a tray that activates with a single click; the
    // context menu is the tray's own business.
    if ((reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger) && own_.trayIconShown)
        restoreFromTray();
}

QSystemTrayIcon& TrayHotKey::trayIcon()
{
    if (!trayIcon_) {
        trayIcon_ = new QSystemTrayIcon(context_.window.windowIcon(), this);
        trayIcon_->setContextMenu(context_.ui.PopupMenu3);
        connect(trayIcon_, &QSystemTrayIcon::activated, this, &TrayHotKey::trayIconActivated);
    }
    return *trayIcon_;
}

} // namespace nuvo
