// The real nuvo killed with SIGKILL at random moments of its close, 200
// times, on a large playlist and presets: every file it keeps is whole
// afterwards, the old one or the new one, never cut short, empty or mixed.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <random>

namespace {

const char* const kFiles[] = {"Nuvo.ini", "List.m3u", "Eqlz.lst", "Eqlz.ini", "FDir.lst", "FLst.lst"};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class CloseSafety : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid() && runtime_.isValid());
        QDir().mkpath(path("music"));
        ASSERT_TRUE(QFile::copy(NUVO_FIXTURES_DIR "/tone_1k.mp3", path("music/tone.mp3")));
        QByteArray list, presets, names = "Default\r\n";
        for (int i = 0; i < 100000; ++i)
            list += QStringLiteral("/home/user/Music/Artist %1/Album %2/%3 - A song title.mp3\r\n")
                        .arg(i / 200).arg(i / 20).arg(i % 20).toUtf8();
        for (int i = 0; i < 300; ++i) {
            names += "Preset " + QByteArray::number(i) + "\r\n";
            presets += "[Preset " + QByteArray::number(i) + "]\r\n60Hz=" + QByteArray::number(i % 240 - 120)
                       + "\r\n1kHz=30\r\n\r\n";
        }
        old_ = {{"Nuvo.ini", "[Equalizer]\r\nItem=3\r\n[Option]\r\nWinSize=1\r\n"},
                {"List.m3u", list},
                {"Eqlz.lst", names},
                {"Eqlz.ini", presets},
                {"FDir.lst", (path("music") + "\r\n").toUtf8()},
                {"FLst.lst", "/home/user/a.m3u\r\n"}};
    }

    QString path(const QString& name) const { return QDir(home_.path()).filePath(name); }

    void writeOldFiles()
    {
        for (const auto& [name, bytes] : old_) {
            QFile file(path(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bytes);
        }
        QFile::remove(path("out.wav"));
    }

    // Starts the player on the old files with one more track on its command
    // line, and waits until it plays it: the window and its first show are done.
    void startPlayer(QProcess& player)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("NUVO_HOME", home_.path());
        environment.insert("XDG_RUNTIME_DIR", runtime_.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("NUVO_AUDIO_DRIVER", "wav");
        environment.insert("NUVO_AUDIO_DEVICE", path("out.wav"));
        environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/nuvo-tests");
        player.setProcessEnvironment(environment);
        player.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        player.start(NUVO_EXECUTABLE, {path("music/tone.mp3")});
        ASSERT_TRUE(player.waitForStarted(5000));
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(path("out.wav")) && clock.elapsed() < 10000)
            QThread::msleep(5);
        ASSERT_TRUE(QFile::exists(path("out.wav"))) << "the player did not start playing";
    }

    QTemporaryDir home_;
    QTemporaryDir runtime_;
    std::map<QString, QByteArray> old_;
};

TEST_F(CloseSafety, AKillAtAnyMomentOfTheCloseLeavesEveryFileOldOrNew)
{
    // One close to its end gives the new files and how long the close takes.
    writeOldFiles();
    QProcess reference;
    startPlayer(reference);
    QElapsedTimer clock;
    clock.start();
    ::kill(static_cast<pid_t>(reference.processId()), SIGTERM);
    ASSERT_TRUE(reference.waitForFinished(10000));
    const qint64 closeMicroseconds = clock.nsecsElapsed() / 1000;
    std::map<QString, QByteArray> fresh;
    for (const char* name : kFiles)
        fresh[name] = readFile(path(name));
    ASSERT_NE(fresh["List.m3u"], old_["List.m3u"]) << "the close must have something new to write";

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<qint64> moment(0, closeMicroseconds * 3 / 2);
    int cut = 0;
    for (int round = 0; round < 200; ++round) {
        writeOldFiles();
        QProcess player;
        startPlayer(player);
        const qint64 after = moment(random);
        ::kill(static_cast<pid_t>(player.processId()), SIGTERM);
        QThread::usleep(static_cast<unsigned long>(after));
        ::kill(static_cast<pid_t>(player.processId()), SIGKILL);
        ASSERT_TRUE(player.waitForFinished(10000));
        cut += player.exitStatus() == QProcess::CrashExit;
        for (const char* name : kFiles) {
            const QByteArray now = readFile(path(name));
            ASSERT_TRUE(now == old_[name] || now == fresh[name])
                << name << " is neither old nor new after a kill " << after << " us into the close (round "
                << round << ", seed " << seed << "): " << now.size() << " bytes";
        }
    }
    EXPECT_GT(cut, 20) << "most kills must land inside the close (close takes " << closeMicroseconds << " us)";
}

} // namespace
