// A desktop portal of the tests' own with global shortcuts only, for a
// private session bus. It prints every call it gets, one line each, and
// emits Activated for the bound shortcut when its test interface's
// Activate is called. With "decline" the user refuses the shortcut.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <vector>

struct Shortcut {
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(Shortcut)

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class Session : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")
public slots:
    void Close() { say(QStringLiteral("Close")); }
};

class Portal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
public:
    explicit Portal(bool decline) : decline_(decline) {}

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options)
    {
        say(QStringLiteral("CreateSession"));
        session_ = QStringLiteral("%1/session/%2/%3").arg(kPath, senderPart(), options.value("session_handle_token").toString());
        sessions_.push_back(std::make_unique<Session>());
        QDBusConnection::sessionBus().registerObject(session_, sessions_.back().get(), QDBusConnection::ExportAllSlots);
        return respond(options, 0, {{QStringLiteral("session_handle"), session_}});
    }

    QDBusObjectPath BindShortcuts(const QDBusObjectPath& session, const QList<Shortcut>& shortcuts, const QString&,
                                  const QVariantMap& options)
    {
        for (const Shortcut& shortcut : shortcuts)
            say(QStringLiteral("BindShortcuts %1 %2|%3|%4")
                    .arg(session.path() == session_ ? "session" : "other-session", shortcut.id,
                         shortcut.properties.value("description").toString(),
                         shortcut.properties.value("preferred_trigger").toString()));
        return respond(options, decline_ ? 1 : 0, {});
    }

    void activate(const QString& id)
    {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
                                                         QStringLiteral("Activated"));
        signal << QVariant::fromValue(QDBusObjectPath(session_)) << id << qulonglong(1) << QVariantMap();
        QDBusConnection::sessionBus().send(signal);
    }

private:
    QString senderPart() const { return message().service().mid(1).replace('.', '_'); }

    // The answer arrives as the request object's Response signal, after the call's reply.
    QDBusObjectPath respond(const QVariantMap& options, uint response, const QVariantMap& results)
    {
        const QString request =
            QStringLiteral("%1/request/%2/%3").arg(kPath, senderPart(), options.value("handle_token").toString());
        QTimer::singleShot(50, [request, response, results] {
            QDBusMessage signal = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"),
                                                             QStringLiteral("Response"));
            signal << response << results;
            QDBusConnection::sessionBus().send(signal);
        });
        return QDBusObjectPath(request);
    }

    bool decline_;
    QString session_;
    std::vector<std::unique_ptr<Session>> sessions_;
};

class TestControl : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.nuvoplayer.PortalStandIn")
public:
    explicit TestControl(Portal& portal) : portal_(portal) {}

public slots:
    void Activate(const QString& id) { portal_.activate(id); }

private:
    Portal& portal_;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    Portal portal(app.arguments().contains(QStringLiteral("decline")));
    TestControl control(portal);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(kPath, &portal, QDBusConnection::ExportAllSlots)
        || !bus.registerObject(QStringLiteral("/test"), &control, QDBusConnection::ExportAllSlots)
        || !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        say(QStringLiteral("cannot register"));
        return 1;
    }
    say(QStringLiteral("ready"));
    return app.exec();
}

#include "portal_standin.moc"
