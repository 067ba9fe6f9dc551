// The global hot key and the notification-area icon: minimising hides the
// window to the icon, the icon's double click (or its activation) and the
// hot key bring it back; the icon's menu is the tray menu. Where no tray
// exists the window is minimised as usual and stays on the taskbar.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

namespace nuvo {

class GlobalHotKey;
struct TrayState;

class TrayHotKey : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    TrayHotKey(const AreaContext& context, TrayState& own, QObject* parent = nullptr);
    ~TrayHotKey() override;

    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;

    // Start-up: from now on minimising goes to the tray.
    void installMinimizeHandler();
    // Ctrl+Alt+the first character of the saved key; a refusal is silent.
    void registerHotKey(const QString& key);
    // Close: the icon goes and the key is given back.
    void removeTrayIcon();
    void unregisterHotKey();

    // The window's state changed; a minimised window goes to the tray.
    void windowStateChanged();
    void minimizeToTray();
    void restoreFromTray();
    // Brings the window to the front, from the tray or from the taskbar.
    void raiseWindow();
    void updateTrayTip();

private:
    void hotkey1Click(bool checked);
    void hotKeyPressed();
    void trayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void showWindowAgain();
    QSystemTrayIcon& trayIcon();

    AreaContext context_;
    TrayState& own_;
    QSystemTrayIcon* trayIcon_ = nullptr;
    std::unique_ptr<GlobalHotKey> hotKey_;
    bool minimizeHandlerInstalled_ = false;
};

} // namespace nuvo
