// The whole player: a session played, saved and ended; one instance; a missing library; gapless joins.
#include "EndToEnd.h"

namespace nuvo::e2e {
namespace {

TEST_F(EndToEnd, TwoTracksPlayInOrderAndATerminationSavesTheSession)
{
    const QString first = copyFixture("cbr_v1.mp3");   // 3 s, ID3 title "Fixture Title"
    const QString second = copyFixture("tone_1k.mp3"); // 2 s, no tag, same format
    QElapsedTimer clock;
    clock.start();
    startPlayer(player_, {first, second});

    ASSERT_TRUE(waitUntil([] { return !windowsTitled("Fixture Title").isEmpty(); }, 10000))
        << "the caption shows the tag title of the first track";
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("tone_1k.mp3").isEmpty(); }, 10000))
        << "then the file name of the untagged second one";
    // Five seconds of sound at twice real time, and a little more for the end.
    const qint64 expectedEnd = 2500 + 1000;
    QThread::msleep(static_cast<unsigned long>(std::max<qint64>(0, expectedEnd - clock.elapsed())));
    EXPECT_FALSE(windowsTitled("tone_1k.mp3").isEmpty()) << "the last track stays open at the end";

    terminate(player_);
    const QString settings = QString::fromUtf8(readFile(homePath("Nuvo.ini")));
    EXPECT_TRUE(settings.contains("[List]\r\nReady=1\r\n")) << settings.toStdString();
    EXPECT_EQ(readFile(homePath("List.m3u")), (first + "\r\n" + second + "\r\n").toUtf8());
    EXPECT_NEAR(readWav(homePath("out.wav")).seconds(), 5.0, 0.1) << "both tracks were heard, whole";
}

// The player's own end-of-track step (a 100 ms timer, then close, open and
// play) on a device paced in real time: two halves of one tone join with at
// most 5 ms of silence put in, which the paced wav output would record.
TEST_F(EndToEnd, TwoHalvesOfOneToneJoinWithoutAGap)
{
    environment_.insert("NUVO_AUDIO_SPEED", "1");
    const QString first = copyFixture("gapless_a.mp3");   // 1 s each, 44.1 kHz stereo
    const QString second = copyFixture("gapless_b.mp3");
    startPlayer(player_, {first, second});
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("gapless_b.mp3").isEmpty(); }, 10000));
    QThread::msleep(1500);  // the second half to its end
    terminate(player_);

    const std::vector<float> played = readWav(homePath("out.wav")).firstChannel();
    std::size_t longestSilence = 0;
    for (std::size_t i = 0, run = 0; i < played.size(); ++i) {
        run = played[i] == 0.0f ? run + 1 : 0;
        longestSilence = std::max(longestSilence, run);
    }
    const std::size_t fiveMs = 44100 / 200;
    EXPECT_GE(played.size(), 2u * 44100u) << "both halves were heard, whole";
    EXPECT_LE(played.size(), 2u * 44100u + fiveMs);
    EXPECT_LE(longestSilence, fiveMs) << "frames of silence in a row";
}

TEST_F(EndToEnd, ASecondStartExitsAtOnceAndAddsNothing)
{
    startPlayer(player_, {});
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("Nuvo").isEmpty(); }, 10000));

    startPlayer(second_, {copyFixture("cbr_v1.mp3")});
    ASSERT_TRUE(hasEnded(second_, 10000));
    EXPECT_EQ(second_.exitCode(), 1);

    terminate(player_);
    EXPECT_EQ(readFile(homePath("List.m3u")), QByteArray()) << "the second start's track went nowhere";
}

TEST_F(EndToEnd, WithoutTheLibraryTheMessageShowsAndNoFileIsWritten)
{
    // The player alone in a folder of its own: there is no libvbmp3.so beside it.
    QTemporaryDir bin;
    const QString lonely = QDir(bin.path()).filePath("nuvo");
    ASSERT_TRUE(QFile::copy(NUVO_EXECUTABLE, lonely));
    QFile file(homePath("Nuvo.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[List]\r\nReady=2\r\n");
    file.close();

    startPlayer(player_, {copyFixture("cbr_v1.mp3")}, lonely);
    // The main window and the message box both carry the caption "Nuvo".
    ASSERT_TRUE(waitUntil([] { return windowsTitled("Nuvo").size() >= 2; }, 10000));
    for (const QString& window : windowsTitled("Nuvo")) {
        QProcess::execute(XDOTOOL, {"windowfocus", "--sync", window});
        QProcess::execute(XDOTOOL, {"key", "Return"});
        if (hasEnded(player_, 1000))
            break;
    }
    ASSERT_TRUE(hasEnded(player_, 10000));
    EXPECT_EQ(player_.exitCode(), 0);
    EXPECT_EQ(readFile(homePath("Nuvo.ini")), QByteArray("[List]\r\nReady=2\r\n"));
    const QStringList left = QDir(home_.path()).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList{"Nuvo.ini"}) << "nothing was written";
}

TEST_F(EndToEnd, ATerminationWithAFileThatCannotBeWrittenEndsAndSaysWhy)
{
    // A folder where the settings file belongs: the close cannot replace it.
    ASSERT_TRUE(QDir(home_.path()).mkdir("Nuvo.ini"));
    player_.setProcessEnvironment(environment_);
    player_.start(NUVO_EXECUTABLE, {copyFixture("cbr_v1.mp3")});
    ASSERT_TRUE(player_.waitForStarted(5000));
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("Fixture Title").isEmpty(); }, 10000));

    ::kill(static_cast<pid_t>(player_.processId()), SIGTERM);
    ASSERT_TRUE(player_.waitForFinished(10000)) << "no message box keeps the process waiting";
    EXPECT_EQ(player_.exitCode(), 0);
    EXPECT_TRUE(QString::fromLocal8Bit(player_.readAllStandardError()).contains("Nuvo.ini"));
    EXPECT_FALSE(readFile(homePath("List.m3u")).isEmpty()) << "the other files were still written";
}

} // namespace
} // namespace nuvo::e2e
