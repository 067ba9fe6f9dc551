// The hot key of a Wayland session, through a desktop portal of the test's
// own on the private session bus the test runs in.
#include "EndToEnd.h"

namespace nuvo::e2e {
namespace {

class PortalHotKey : public EndToEnd {
protected:
    void SetUp() override
    {
        EndToEnd::SetUp();
        environment_.insert("XDG_SESSION_TYPE", "wayland");
        // The window itself is still shown on the virtual X display.
        environment_.insert("QT_QPA_PLATFORM", "xcb");
        writeHomeFile("Nuvo.ini", "[HotKey]\r\nKey=k\r\n");
    }

    void TearDown() override
    {
        if (portal_.state() != QProcess::NotRunning) {
            portal_.kill();
            portal_.waitForFinished(5000);
        }
        EndToEnd::TearDown();
    }

    void startPortal(const QStringList& arguments)
    {
        portal_.start(QStringLiteral(PORTAL_STANDIN), arguments);
        ASSERT_TRUE(portal_.waitForStarted(5000));
        ASSERT_TRUE(waitUntil([&] { return portalSaid().contains("ready\n"); }, 5000)) << portalSaid().toStdString();
    }

    // Every call the portal got so far, one line each.
    QString portalSaid()
    {
        portal_.waitForReadyRead(50);
        said_ += QString::fromUtf8(portal_.readAllStandardOutput());
        return said_;
    }

    static void activate(const QString& shortcutId)
    {
        QProcess send;
        send.start(QStringLiteral(DBUS_SEND), {"--session", "--print-reply", "--dest=org.freedesktop.portal.Desktop",
                                              "/test", "org.nuvoplayer.PortalStandIn.Activate", "string:" + shortcutId});
        send.waitForFinished(5000);
    }

    bool shown() const { return !windowsTitled("Nuvo").isEmpty(); }

    QProcess portal_;
    QString said_;
};

TEST_F(PortalHotKey, TheBoundShortcutHidesTheWindowToTheTrayAndBringsItBack)
{
    startTrayHost();
    startPortal({});
    startPlayer(player_, {});
    ASSERT_TRUE(waitUntil([&] { return shown(); }, 10000));
    ASSERT_TRUE(waitUntil([&] { return portalSaid().contains("BindShortcuts"); }, 5000)) << portalSaid().toStdString();
    EXPECT_TRUE(portalSaid().contains("CreateSession\nBindShortcuts session toggle-window|Show or hide Nuvo|CTRL+ALT+k\n"))
        << portalSaid().toStdString();

    activate("some-other-shortcut");
    activate("toggle-window");
    ASSERT_TRUE(waitUntil([&] { return !shown() && playerWindows() == 1; }, 5000)) << "only the tray icon";
    activate("toggle-window");
    ASSERT_TRUE(waitUntil([&] { return shown() && playerWindows() == 1; }, 5000)) << "only the window";

    terminate(player_);
    EXPECT_TRUE(waitUntil([&] { return portalSaid().endsWith("Close\n"); }, 3000)) << "the session is closed at exit";
}

TEST_F(PortalHotKey, WithoutAPortalOrAfterARefusalThereIsNoHotKeyAndNothingElseChanges)
{
    writeHomeFile("Nuvo.ini", "[HotKey]\r\nKey=k\r\n[Option]\r\nSingle=1\r\n");   // the track goes on and on
    for (const bool portalRuns : {false, true}) {
        SCOPED_TRACE(portalRuns ? "the user declines" : "no portal");
        if (portalRuns) {
            startTrayHost();
            startPortal({"decline"});
        }
        startPlayer(player_, {copyFixture("tone_1k.mp3")});
        // The caption names the playing track.
        const auto playerShown = [] { return !windowsTitled("tone_1k.mp3").isEmpty(); };
        ASSERT_TRUE(waitUntil(playerShown, 10000));
        EXPECT_TRUE(outputGrows(5000)) << "the track plays";
        if (portalRuns) {
            ASSERT_TRUE(waitUntil([&] { return portalSaid().contains("BindShortcuts"); }, 5000));
            activate("toggle-window");
            QThread::msleep(500);
            EXPECT_TRUE(playerShown()) << "a declined shortcut does nothing";
        }
        terminate(player_);
        EXPECT_EQ(QString::fromLocal8Bit(player_.readAllStandardError()), "") << "nothing said";
        EXPECT_TRUE(readFile(homePath("Nuvo.ini")).contains("[HotKey]\r\nKey=k\r\n"));
    }
}

} // namespace
} // namespace nuvo::e2e
