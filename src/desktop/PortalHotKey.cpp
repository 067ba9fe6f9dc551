#include "desktop/PortalHotKey.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace nuvo {

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kShortcutId = QStringLiteral("toggle-window");
// Long enough for a portal that answers, short enough that a hung one cannot hold up the exit.
constexpr int kCloseTimeoutMs = 500;

// One shortcut as BindShortcuts takes it: (sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

// Handle tokens must be unique for this connection.
QString nextToken()
{
    static int counter = 0;
    return QStringLiteral("nuvo%1").arg(++counter);
}

QString pathOf(const QVariant& value)
{
    // Portals have sent the session handle both as an object path and as a string.
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

} // namespace

} // namespace nuvo

Q_DECLARE_METATYPE(nuvo::PortalShortcut)

namespace nuvo {

PortalHotKey::PortalHotKey(std::function<void()> pressed, QObject* parent)
    : QObject(parent), pressed_(std::move(pressed))
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

PortalHotKey::~PortalHotKey()
{
    forgetRequest();
    if (sessionPath_.isEmpty())
        return;
    // Waited for (briefly): a message merely queued at exit may never leave the process.
    const QDBusMessage close = QDBusMessage::createMethodCall(
        kPortalService, sessionPath_, QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Close"));
    QDBusConnection::sessionBus().call(close, QDBus::Block, kCloseTimeoutMs);
}

QString PortalHotKey::preferredTrigger(char16_t character)
{
    // Key names are keysyms: the lower-case letter is the key itself.
    return QStringLiteral("CTRL+ALT+") + QChar(character).toLower();
}

bool PortalHotKey::grab(char16_t character)
{
    if (!sessionPath_.isEmpty() || !requestPath_.isEmpty())
        return false;
    trigger_ = preferredTrigger(character);
    const QVariantMap options{{QStringLiteral("session_handle_token"), nextToken()}};
    return request(QStringLiteral("CreateSession"), {options}, SLOT(sessionCreated(uint, QVariantMap)));
}

bool PortalHotKey::request(const QString& method, const QVariantList& arguments, const char* answerSlot)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // The answer comes as a signal of a request object whose path follows from
    // the token; it is listened for before asking, so that it cannot be missed.
    const QString token = nextToken();
    QVariantList withToken = arguments;
    QVariantMap options = withToken.takeLast().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    withToken.append(options);
    const QString sender = bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    requestPath_ = QStringLiteral("%1/request/%2/%3").arg(kPortalPath, sender, token);
    bus.connect(kPortalService, requestPath_, kRequestInterface, QStringLiteral("Response"), this, answerSlot);

    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kShortcutsInterface, method);
    call.setArguments(withToken);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, answerSlot](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        if (finished->isError()) {
            // No portal, or one without global shortcuts: no hot key.
            forgetRequest();
            return;
        }
        // An older portal names a request path of its own.
        const QString path = QDBusPendingReply<QDBusObjectPath>(*finished).value().path();
        if (!path.isEmpty() && path != requestPath_ && !requestPath_.isEmpty()) {
            forgetRequest();
            requestPath_ = path;
            QDBusConnection::sessionBus().connect(kPortalService, requestPath_, kRequestInterface,
                                                  QStringLiteral("Response"), this, answerSlot);
        }
    });
    return true;
}

void PortalHotKey::forgetRequest()
{
    if (requestPath_.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.disconnect(kPortalService, requestPath_, kRequestInterface, QStringLiteral("Response"), this,
                   SLOT(sessionCreated(uint, QVariantMap)));
    bus.disconnect(kPortalService, requestPath_, kRequestInterface, QStringLiteral("Response"), this,
                   SLOT(shortcutsBound(uint, QVariantMap)));
    requestPath_.clear();
}

void PortalHotKey::sessionCreated(uint response, const QVariantMap& results)
{
    forgetRequest();
    if (response != 0)
        return;
    sessionPath_ = pathOf(results.value(QStringLiteral("session_handle")));
    if (sessionPath_.isEmpty())
        return;
    QDBusConnection::sessionBus().connect(
        kPortalService, kPortalPath, kShortcutsInterface, QStringLiteral("Activated"), this,
        SLOT(activated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    bindShortcut();
}

void PortalHotKey::bindShortcut()
{
    const QList<PortalShortcut> shortcuts{
        {kShortcutId,
         {{QStringLiteral("description"), QStringLiteral("Show or hide Nuvo")},
          {QStringLiteral("preferred_trigger"), trigger_}}}};
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(sessionPath_)), QVariant::fromValue(shortcuts), QString(),
             QVariantMap()},
            SLOT(shortcutsBound(uint, QVariantMap)));
}

void PortalHotKey::shortcutsBound(uint response, const QVariantMap&)
{
    forgetRequest();
    // Declined or cancelled: no hot key, and nothing said.
    bound_ = response == 0;
}

void PortalHotKey::activated(const QDBusObjectPath& session, const QString& shortcutId, qulonglong,
                             const QVariantMap&)
{
    if (bound_ && session.path() == sessionPath_ && shortcutId == kShortcutId)
        pressed_();
}

} // namespace nuvo
