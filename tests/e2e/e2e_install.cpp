// An installed copy started from its prefix.
#include "EndToEnd.h"

namespace nuvo::e2e {
namespace {

TEST_F(EndToEnd, AnInstalledCopyPlaysAndKeepsItsFilesInTheUsersConfiguration)
{
    QTemporaryDir prefix;
    QProcess install;
    install.setProcessChannelMode(QProcess::ForwardedChannels);
    install.start(QStringLiteral(CMAKE_COMMAND), {"--install", NUVO_BUILD_DIR, "--prefix", prefix.path()});
    ASSERT_TRUE(install.waitForFinished(60000) && install.exitCode() == 0);
    const QString config = homePath("config");
    environment_.remove("NUVO_HOME");
    environment_.insert("XDG_CONFIG_HOME", config);

    startPlayer(player_, {copyFixture("tone_1k.mp3")}, QDir(prefix.path()).filePath("bin/nuvo"));
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("tone_1k.mp3").isEmpty(); }, 10000));
    // Two seconds of sound at twice real time, and a little more for the end.
    QThread::msleep(1500);
    terminate(player_);
    EXPECT_NEAR(readWav(homePath("out.wav")).seconds(), 2.0, 0.1) << "the library was found beside the real executable";
    EXPECT_TRUE(QFile::exists(config + "/nuvo/Nuvo.ini"));
    EXPECT_FALSE(QFile::exists(prefix.path() + "/lib/nuvo/Nuvo.ini")) << "nothing is written beside the program";
}

} // namespace
} // namespace nuvo::e2e
