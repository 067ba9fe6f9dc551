// The desktop's media controls: the player driven and read over MPRIS with
// playerctl, on the private session bus the test runs in.
#include "EndToEnd.h"

#include <QUrl>

namespace nuvo::e2e {
namespace {

// What `playerctl -p nuvo ARGS` prints, trimmed.
QString playerctl(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(PLAYERCTL), QStringList{"-p", "nuvo"} + arguments);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

bool playerctlSays(const QStringList& arguments, const QString& expected)
{
    return waitUntil([&] { return playerctl(arguments) == expected; }, 5000);
}

// A call to the player with dbus-send: its printed reply, or "Error NAME: text".
QString callPlayer(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(DBUS_SEND), QStringList{"--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.nuvo",
                                                         "/org/mpris/MediaPlayer2"} + arguments);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError()).trimmed();
}

QString setPlayerProperty(const QString& name, const QString& typedValue)
{
    return callPlayer({"org.freedesktop.DBus.Properties.Set", "string:org.mpris.MediaPlayer2.Player",
                       "string:" + name, "variant:" + typedValue});
}

// Puts an ID3v2.4 tag in front of the file whose artist frame holds several
// values ("Alice\0Bob"), as taggers store several artists.
void tagWithArtists(const QString& path, const QByteArray& values)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray audio = file.readAll();
    const QByteArray payload = '\x03' + values;  // UTF-8
    // Both sizes stay below 128, so their synchsafe forms are plain bytes.
    const QByteArray frame = "TPE1" + QByteArray(3, '\0') + char(payload.size()) + QByteArray(2, '\0') + payload;
    const QByteArray header = "ID3\x04" + QByteArray(5, '\0') + char(frame.size());
    file.seek(0);
    file.write(header + frame + audio);
}

const QString kInvalidArgs = QStringLiteral("Error org.freedesktop.DBus.Error.InvalidArgs");

class Mpris : public EndToEnd {
protected:
    void TearDown() override
    {
        if (monitor_.state() != QProcess::NotRunning) {
            monitor_.kill();
            monitor_.waitForFinished(5000);
        }
        EndToEnd::TearDown();
    }

    // Every PropertiesChanged on the bus, from now on.
    void watchPropertiesChanged()
    {
        // Line-buffered, so each signal can be read as it comes.
        monitor_.start(QStringLiteral("stdbuf"),
                       {"-oL", QStringLiteral(DBUS_MONITOR), "--session",
                        "type='signal',interface='org.freedesktop.DBus.Properties',member='PropertiesChanged'"});
        ASSERT_TRUE(monitor_.waitForStarted(5000));
        QThread::msleep(300);
    }

    QString seenSignals()
    {
        // Without an event loop the pipe is read only when asked.
        monitor_.waitForReadyRead(50);
        signals_ += QString::fromUtf8(monitor_.readAllStandardOutput());
        return signals_;
    }

    QProcess monitor_;
    QString signals_;
};

TEST_F(Mpris, TheDesktopPlaysPausesAndStepsAsTheWindowDoes)
{
    environment_.insert("NUVO_AUDIO_SPEED", "1");
    writeHomeFile("Nuvo.ini", "[Option]\r\nAll=1\r\n");
    const QString tagged = copyFixture("cbr_v1.mp3");   // 3 s: "Fixture Title" by "Nuvo Tests" on "Fixture Album"
    const QString plain = copyFixture("tone_1k.mp3");
    tagWithArtists(plain, QByteArray("Alice\0Bob", 9));
    startPlayer(player_, {tagged, plain});
    ASSERT_TRUE(playerctlSays({"status"}, "Playing"));

    EXPECT_EQ(playerctl({"metadata", "--format", "{{title}}|{{artist}}|{{album}}|{{mpris:length}}|{{xesam:url}}"}),
              "Fixture Title|Nuvo Tests|Fixture Album|3000000|" + QUrl::fromLocalFile(tagged).toString());
    EXPECT_EQ(playerctl({"loop"}), "Playlist") << "All, as the settings left it";

    playerctl({"play-pause"});
    EXPECT_TRUE(playerctlSays({"status"}, "Paused"));
    playerctl({"play-pause"});
    EXPECT_TRUE(playerctlSays({"status"}, "Playing"));

    playerctl({"position", "2"});
    EXPECT_TRUE(waitUntil([] { return playerctl({"position"}).toDouble() >= 2.0; }, 3000));

    playerctl({"volume", "0.5"});
    EXPECT_TRUE(playerctlSays({"volume"}, "0.500000"));

    playerctl({"loop", "Track"});
    EXPECT_TRUE(playerctlSays({"loop"}, "Track"));
    playerctl({"shuffle", "On"});
    EXPECT_TRUE(playerctlSays({"shuffle"}, "On"));
    EXPECT_EQ(playerctl({"loop"}), "None") << "Random and Single exclude each other, as in the window";
    playerctl({"shuffle", "Off"});
    EXPECT_TRUE(playerctlSays({"shuffle"}, "Off"));

    playerctl({"next"});
    EXPECT_TRUE(playerctlSays({"metadata", "title"}, "tone_1k.mp3"));
    EXPECT_EQ(playerctl({"metadata", "xesam:artist"}), "Alice, Bob") << "each artist an entry of its own";
    playerctl({"next"});
    EXPECT_TRUE(playerctlSays({"metadata", "title"}, "tone_1k.mp3")) << "no Next at the end without All";

    terminate(player_);
    const QString settings = QString::fromUtf8(readFile(homePath("Nuvo.ini")));
    EXPECT_TRUE(settings.contains("[Label]\r\nVolume=50\r\n")) << "the window's label showed 50";
    for (const char* option : {"Single=0\r\n", "All=0\r\n", "Random=0\r\n"})
        EXPECT_TRUE(settings.contains(option)) << option;
}

TEST_F(Mpris, ATrackChangeInTheWindowIsAnnounced)
{
    watchPropertiesChanged();
    const QString first = copyFixture("tone_1k.mp3");  // 2 s, one second at twice real time
    const QString second = copyFixture("cbr_v1.mp3");
    startPlayer(player_, {first, second});
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("Fixture Title").isEmpty(); }, 10000))
        << "the window moved on to the second track by itself";
    EXPECT_TRUE(waitUntil([&] { return seenSignals().contains("Fixture Title"); }, 3000)) << seenSignals().toStdString();
    EXPECT_TRUE(waitUntil([&] { return seenSignals().contains("\"Stopped\""); }, 5000))
        << "the end of the list is told too";
    terminate(player_);
}

TEST_F(Mpris, OpenUriOpensListsAndTracksAndRefusesWhatCannotBeRead)
{
    environment_.insert("NUVO_AUDIO_SPEED", "1");
    writeHomeFile("Nuvo.ini", "[Option]\r\nSingle=1\r\n");   // the playing track goes on and on
    const QString playing = copyFixture("cbr_v1.mp3");
    copyFixture("tone_1k.mp3");
    copyFixture("pcm16_stereo.wav");
    copyFixture("notaudio.mp3");
    writeHomeFile("music/two.m3u", "#EXTM3U\r\ntone_1k.mp3\r\npcm16_stereo.wav\r\n");
    writeHomeFile("music/one.pls", "[playlist]\r\nFile1=tone_1k.mp3\r\nNumberOfEntries=1\r\n");
    writeHomeFile("music/notes.txt", "not a track\n");
    // As VLC writes a list: UTF-8, file URIs.
    writeHomeFile("music/three.m3u8",
                  "#EXTM3U\n#EXTINF:1,Tone\n" + QUrl::fromLocalFile(homePath("music/tone_1k.mp3")).toEncoded() + "\n");
    startPlayer(player_, {playing});
    ASSERT_TRUE(playerctlSays({"status"}, "Playing"));

    const auto uri = [&](const QString& name) { return QUrl::fromLocalFile(homePath(name)).toString(); };
    const auto track = [](int index) { return QStringLiteral("'/org/nuvoplayer/Nuvo/track/%1'").arg(index); };
    struct Case {
        QString uri;
        bool refused;
        QString trackId;   // of the track playing afterwards
        QString title;
    };
    const Case cases[] = {
        {uri("music/missing.mp3"), true, track(0), "Fixture Title"},
        {uri("music/notaudio.mp3"), true, track(0), "Fixture Title"},
        {uri("music/notes.txt"), true, track(0), "Fixture Title"},
        {uri("music/missing.m3u"), true, track(0), "Fixture Title"},
        {"http://example.org/stream.mp3", true, track(0), "Fixture Title"},
        // Appended after the one entry, the first of them played.
        {uri("music/two.m3u"), false, track(1), "tone_1k.mp3"},
        {uri("music/one.pls"), false, track(3), "tone_1k.mp3"},
        {uri("music/pcm16_stereo.wav"), false, track(4), "pcm16_stereo.wav"},
        {uri("music/three.m3u8"), false, track(5), "tone_1k.mp3"},
    };
    for (const Case& c : cases) {
        const QString reply = callPlayer({"org.mpris.MediaPlayer2.Player.OpenUri", "string:" + c.uri});
        EXPECT_EQ(reply.startsWith(kInvalidArgs), c.refused) << c.uri.toStdString() << ": " << reply.toStdString();
        EXPECT_TRUE(playerctlSays({"metadata", "mpris:trackid"}, c.trackId)) << c.uri.toStdString();
        EXPECT_TRUE(playerctlSays({"metadata", "title"}, c.title)) << c.uri.toStdString();
        if (c.refused) {
            EXPECT_EQ(playerctl({"status"}), "Playing") << "the playing track goes on: " << c.uri.toStdString();
        }
    }
    terminate(player_);
}

TEST_F(Mpris, ARateOfZeroPausesAndAValueOfTheWrongTypeIsRefused)
{
    environment_.insert("NUVO_AUDIO_SPEED", "1");
    startPlayer(player_, {copyFixture("cbr_v1.mp3")});
    ASSERT_TRUE(playerctlSays({"status"}, "Playing"));
    const QString volume = playerctl({"volume"});

    EXPECT_TRUE(setPlayerProperty("Volume", "string:0.3").startsWith(kInvalidArgs));
    EXPECT_TRUE(setPlayerProperty("Shuffle", "string:true").startsWith(kInvalidArgs));
    EXPECT_TRUE(setPlayerProperty("LoopStatus", "int32:1").startsWith(kInvalidArgs));
    EXPECT_EQ(playerctl({"volume"}), volume);
    EXPECT_EQ(playerctl({"shuffle"}), "Off");

    EXPECT_FALSE(setPlayerProperty("Rate", "double:2").startsWith("Error"));
    EXPECT_EQ(playerctl({"status"}), "Playing") << "another rate is not taken";
    EXPECT_FALSE(setPlayerProperty("Rate", "double:0").startsWith("Error"));
    EXPECT_TRUE(playerctlSays({"status"}, "Paused"));
    EXPECT_EQ(playerctl({"metadata", "title"}), "Fixture Title");
    terminate(player_);
}

} // namespace
} // namespace nuvo::e2e
