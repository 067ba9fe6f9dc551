#include "desktop/MprisAdaptors.h"

#include "desktop/MprisService.h"

#include <QDBusConnection>
#include <QMetaProperty>

namespace nuvo {

namespace {

void sendError(const QDBusMessage& message, const QString& name, const QString& text)
{
    message.setDelayedReply(true);
    QDBusConnection::sessionBus().send(message.createErrorReply(name, text));
}

QString interfaceNameOf(const QObject& adaptor)
{
    const QMetaObject* meta = adaptor.metaObject();
    const int index = meta->indexOfClassInfo("D-Bus Interface");
    return index < 0 ? QString() : QString::fromLatin1(meta->classInfo(index).value());
}

} // namespace

MprisRootAdaptor::MprisRootAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), service_(service)
{
}

QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    return {QStringLiteral("audio/mpeg"), QStringLiteral("audio/x-wav"), QStringLiteral("audio/x-mpegurl"),
            QStringLiteral("audio/x-scpls")};
}

void MprisRootAdaptor::Raise()
{
    service_.player().raise();
}

void MprisRootAdaptor::Quit()
{
    service_.player().quit();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), service_(service)
{
    connect(&service_, &MprisService::seeked, this, &MprisPlayerAdaptor::Seeked);
}

QVariant MprisPlayerAdaptor::property(const QString& name) const
{
    return service_.playerProperties().value(name);
}

void MprisPlayerAdaptor::setLoopStatus(const QString& loopStatus)
{
    service_.setLoopStatus(loopStatus);
}

void MprisPlayerAdaptor::setShuffle(bool shuffle)
{
    service_.player().setShuffle(shuffle);
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    service_.setVolume(volume);
}

qlonglong MprisPlayerAdaptor::position() const
{
    return service_.player().positionMicroseconds();
}

void MprisPlayerAdaptor::Next() { service_.player().next(); }
void MprisPlayerAdaptor::Previous() { service_.player().previous(); }
void MprisPlayerAdaptor::Pause() { service_.player().pause(); }
void MprisPlayerAdaptor::PlayPause() { service_.player().playPause(); }
void MprisPlayerAdaptor::Stop() { service_.player().stop(); }
void MprisPlayerAdaptor::Play() { service_.player().play(); }
void MprisPlayerAdaptor::Seek(qlonglong offset) { service_.player().seekBy(offset); }

void MprisPlayerAdaptor::OpenUri(const QString& uri, const QDBusMessage& message)
{
    QString refusal;
    if (service_.openUri(uri, &refusal))
        return;
    message.setDelayedReply(true);
    QDBusConnection::sessionBus().send(message.createErrorReply(QDBusError::InvalidArgs, refusal));
}

void MprisPlayerAdaptor::setRate(double rate)
{
    if (rate == 0.0)
        service_.player().pause();
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position)
{
    service_.setPosition(trackId.path(), position);
}

MprisPropertiesAdaptor::MprisPropertiesAdaptor(QObject* object) : QDBusAbstractAdaptor(object)
{
}

QDBusAbstractAdaptor* MprisPropertiesAdaptor::adaptorOf(const QString& interfaceName,
                                                        const QDBusMessage& message) const
{
    for (QObject* child : parent()->children()) {
        auto* adaptor = qobject_cast<QDBusAbstractAdaptor*>(child);
        if (adaptor && adaptor != this && interfaceNameOf(*adaptor) == interfaceName)
            return adaptor;
    }
    sendError(message, QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
              QStringLiteral("No interface %1").arg(interfaceName));
    return nullptr;
}

int MprisPropertiesAdaptor::propertyOf(const QDBusAbstractAdaptor& adaptor, const QString& propertyName,
                                       const QDBusMessage& message) const
{
    const QMetaObject* meta = adaptor.metaObject();
    const int index = meta->indexOfProperty(propertyName.toLatin1().constData());
    // Only the adaptor's own properties, not QObject's objectName.
    if (index >= meta->propertyOffset())
        return index;
    sendError(message, QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
              QStringLiteral("No property %1").arg(propertyName));
    return -1;
}

QDBusVariant MprisPropertiesAdaptor::Get(const QString& interfaceName, const QString& propertyName,
                                         const QDBusMessage& message)
{
    const QDBusAbstractAdaptor* adaptor = adaptorOf(interfaceName, message);
    const int index = adaptor ? propertyOf(*adaptor, propertyName, message) : -1;
    if (index < 0)
        return {};
    return QDBusVariant(adaptor->metaObject()->property(index).read(adaptor));
}

QVariantMap MprisPropertiesAdaptor::GetAll(const QString& interfaceName, const QDBusMessage& message)
{
    const QDBusAbstractAdaptor* adaptor = adaptorOf(interfaceName, message);
    QVariantMap all;
    if (!adaptor)
        return all;
    const QMetaObject* meta = adaptor->metaObject();
    for (int index = meta->propertyOffset(); index < meta->propertyCount(); ++index) {
        const QMetaProperty property = meta->property(index);
        all.insert(QString::fromLatin1(property.name()), property.read(adaptor));
    }
    return all;
}

void MprisPropertiesAdaptor::Set(const QString& interfaceName, const QString& propertyName, const QDBusVariant& value,
                                 const QDBusMessage& message)
{
    QDBusAbstractAdaptor* adaptor = adaptorOf(interfaceName, message);
    const int index = adaptor ? propertyOf(*adaptor, propertyName, message) : -1;
    if (index < 0)
        return;
    QMetaProperty property = adaptor->metaObject()->property(index);
    if (!property.isWritable()) {
        sendError(message, QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"),
                  QStringLiteral("%1 cannot be set").arg(propertyName));
        return;
    }
    // The D-Bus type must be the property's own: no text taken for a number.
    if (value.variant().metaType() != property.metaType()) {
        sendError(message, QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                  QStringLiteral("%1 takes a value of type %2").arg(propertyName, QString::fromLatin1(property.typeName())));
        return;
    }
    property.write(adaptor, value.variant());
}

} // namespace nuvo
