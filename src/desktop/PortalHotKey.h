// A global hot key Ctrl+Alt+key through the desktop portal's global
// shortcuts, for Wayland sessions, where no program may grab keys itself.
// Everything is asynchronous: the portal may ask the user first, and the
// window goes on meanwhile. A missing portal or a refusal leaves no hot key
// and says nothing.
#pragma once

#include "desktop/GlobalHotKey.h"

#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusPendingCallWatcher;

namespace nuvo {

class PortalHotKey : public QObject, public GlobalHotKey {
    Q_OBJECT
public:
    explicit PortalHotKey(std::function<void()> pressed, QObject* parent = nullptr);
    // Closes the portal's session, which gives the shortcut back.
    ~PortalHotKey() override;

    bool grab(char16_t character) override;

    // The trigger the portal is asked for, as its shortcut syntax writes it.
    static QString preferredTrigger(char16_t character);

private slots:
    void sessionCreated(uint response, const QVariantMap& results);
    void shortcutsBound(uint response, const QVariantMap& results);
    void activated(const QDBusObjectPath& session, const QString& shortcutId, qulonglong timestamp,
                   const QVariantMap& options);

private:
    // Sends a portal request, its answer to go to the slot; false when it could not be sent.
    bool request(const QString& method, const QVariantList& arguments, const char* answerSlot);
    void requestFailed(QDBusPendingCallWatcher* watcher);
    void bindShortcut();
    void forgetRequest();

    std::function<void()> pressed_;
    QString trigger_;
    QString requestPath_;     // the pending request whose Response is awaited
    QString sessionPath_;
    bool bound_ = false;
};

} // namespace nuvo
