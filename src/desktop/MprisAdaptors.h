// The two MPRIS interfaces as Qt's D-Bus adaptors; each only hands over to
// the service.
#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QStringList>
#include <QVariantMap>

namespace nuvo {

class MprisService;

class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)
public:
    MprisRootAdaptor(QObject* object, MprisService& service);

    bool canQuit() const { return true; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return false; }
    QString identity() const { return QStringLiteral("Nuvo"); }
    QString desktopEntry() const { return QStringLiteral("nuvo"); }
    QStringList supportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList supportedMimeTypes() const;

public slots:
    void Raise();
    void Quit();

private:
    MprisService& service_;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)
public:
    MprisPlayerAdaptor(QObject* object, MprisService& service);

    QString playbackStatus() const { return property(QStringLiteral("PlaybackStatus")).toString(); }
    QString loopStatus() const { return property(QStringLiteral("LoopStatus")).toString(); }
    void setLoopStatus(const QString& loopStatus);
    double rate() const { return 1.0; }
    // The player plays at its one speed: a rate of 0 is a pause, another rate is not taken.
    void setRate(double rate);
    bool shuffle() const { return property(QStringLiteral("Shuffle")).toBool(); }
    void setShuffle(bool shuffle);
    QVariantMap metadata() const { return property(QStringLiteral("Metadata")).toMap(); }
    double volume() const { return property(QStringLiteral("Volume")).toDouble(); }
    void setVolume(double volume);
    qlonglong position() const;
    bool canGoNext() const { return property(QStringLiteral("CanGoNext")).toBool(); }
    bool canGoPrevious() const { return property(QStringLiteral("CanGoPrevious")).toBool(); }
    bool canPlay() const { return property(QStringLiteral("CanPlay")).toBool(); }
    bool canPause() const { return property(QStringLiteral("CanPause")).toBool(); }
    bool canSeek() const { return property(QStringLiteral("CanSeek")).toBool(); }
    bool canControl() const { return true; }

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    // A URI that names nothing the player can open is answered with an error.
    void OpenUri(const QString& uri, const QDBusMessage& message);

signals:
    void Seeked(qlonglong position);

private:
    QVariant property(const QString& name) const;

    MprisService& service_;
};

// The standard property interface of the object, so that a value of the
// wrong D-Bus type is refused instead of being converted (a string for
// Volume), and each refusal carries the standard error name.
class MprisPropertiesAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.DBus.Properties")
    // The bus library describes this standard interface already.
    Q_CLASSINFO("D-Bus Introspection", "")
public:
    explicit MprisPropertiesAdaptor(QObject* object);

public slots:
    QDBusVariant Get(const QString& interfaceName, const QString& propertyName, const QDBusMessage& message);
    QVariantMap GetAll(const QString& interfaceName, const QDBusMessage& message);
    void Set(const QString& interfaceName, const QString& propertyName, const QDBusVariant& value,
             const QDBusMessage& message);

private:
    // The adaptor of the interface, or nothing (an error sent).
    QDBusAbstractAdaptor* adaptorOf(const QString& interfaceName, const QDBusMessage& message) const;
    // The property's index in the adaptor, or -1 (an error sent).
    int propertyOf(const QDBusAbstractAdaptor& adaptor, const QString& propertyName,
                   const QDBusMessage& message) const;
};

} // namespace nuvo
