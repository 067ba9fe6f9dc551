#include "desktop/MprisService.h"

#include "desktop/MprisAdaptors.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace nuvo {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.nuvo");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

} // namespace

MprisService::MprisService(MediaPlayer& player, QObject* parent) : QObject(parent), player_(player)
{
    root_ = new QObject(this);
    new MprisRootAdaptor(root_, *this);
    new MprisPlayerAdaptor(root_, *this);
    new MprisPropertiesAdaptor(root_);
}

MprisService::~MprisService()
{
    if (registered_) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(kObjectPath);
        bus.unregisterService(kServiceName);
    }
}

void MprisService::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (!bus.registerObject(kObjectPath, root_, QDBusConnection::ExportAdaptors))
        return;
    if (!bus.registerService(kServiceName)) {
        bus.unregisterObject(kObjectPath);
        return;
    }
    registered_ = true;
    announced_ = playerProperties();
}

void MprisService::announceChange()
{
    if (!registered_ || announcing_)
        return;
    // One announcement for all the changes of one event.
    announcing_ = true;
    QTimer::singleShot(0, this, [this] {
        announcing_ = false;
        sendChanges();
    });
}

void MprisService::sendChanges()
{
    const QVariantMap now = playerProperties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (announced_.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    announced_ = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

void MprisService::announceSeeked()
{
    if (registered_)
        emit seeked(player_.positionMicroseconds());
}

void MprisService::setLoopStatus(const QString& loopStatus)
{
    LoopOptions wanted;
    if (loopOptionsOf(loopStatus, &wanted))
        player_.setLoopOptions(wanted);
}

void MprisService::setPosition(const QString& trackId, qint64 positionMicroseconds)
{
    const int index = mprisTrackIndex(trackId);
    if (index >= 0)
        player_.setPosition(index, positionMicroseconds);
}

void MprisService::setVolume(double volume)
{
    if (std::isfinite(volume))
        player_.setVolume(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
}

bool MprisService::openUri(const QString& uri, QString* refusal)
{
    const QUrl url(uri);
    if (!url.isLocalFile()) {
        *refusal = QStringLiteral("Only local files can be opened: %1").arg(uri);
        return false;
    }
    return player_.openFile(url.toLocalFile(), refusal);
}

} // namespace nuvo
