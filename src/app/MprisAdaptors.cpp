#include "app/MprisAdaptors.h"

#include "app/MprisService.h"

namespace nuvo {

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
    service_.raise();
}

void MprisRootAdaptor::Quit()
{
    service_.quit();
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
    service_.setShuffle(shuffle);
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    service_.setVolume(volume);
}

qlonglong MprisPlayerAdaptor::position() const
{
    return service_.positionMicroseconds();
}

void MprisPlayerAdaptor::Next() { service_.next(); }
void MprisPlayerAdaptor::Previous() { service_.previous(); }
void MprisPlayerAdaptor::Pause() { service_.pause(); }
void MprisPlayerAdaptor::PlayPause() { service_.playPause(); }
void MprisPlayerAdaptor::Stop() { service_.stop(); }
void MprisPlayerAdaptor::Play() { service_.play(); }
void MprisPlayerAdaptor::Seek(qlonglong offset) { service_.seekBy(offset); }
void MprisPlayerAdaptor::OpenUri(const QString& uri) { service_.openUri(uri); }

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position)
{
    service_.setPosition(trackId.path(), position);
}

} // namespace nuvo
