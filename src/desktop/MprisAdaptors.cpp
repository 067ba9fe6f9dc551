#include "desktop/MprisAdaptors.h"

#include "desktop/MprisService.h"

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

void MprisPlayerAdaptor::OpenUri(const QString& uri)
{
    QString refusal;
    service_.openUri(uri, &refusal);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position)
{
    service_.setPosition(trackId.path(), position);
}

} // namespace nuvo
